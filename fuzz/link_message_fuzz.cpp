// Any bytes as an rtnetlink answer: walking and parsing it stays inside
// the buffer (AddressSanitizer watches), and the texts found are ended.
#include <linux/netlink.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "netconfig/link_facts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    // The kernel's buffers are aligned; the first four bytes pick the
    // sequence number the answer is matched against.
    std::uint32_t seq = 0;
    std::memcpy(&seq, data, 4);
    std::vector<std::uint32_t> aligned((size - 4 + 3) / 4 + 1);
    std::memcpy(aligned.data(), data + 4, size - 4);
    vx::TLinkFacts facts;
    if (vx::ParseLinkAnswer(reinterpret_cast<const std::uint8_t*>(aligned.data()), size - 4, seq, facts) ==
        vx::TLinkAnswer::Found) {
        if (std::memchr(facts.name.data(), 0, facts.name.size()) == nullptr) std::abort();
        if (std::memchr(facts.alias.data(), 0, facts.alias.size()) == nullptr) std::abort();
        if (facts.addressLength > facts.address.size()) std::abort();
    }
    return 0;
}
