// Any bytes as an rtnetlink answer: walking it and parsing its link and
// counter messages stays inside the buffer (AddressSanitizer watches), and
// what is read keeps to its limits.
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <netlink/msg.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "netconfig/link_dump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) return 0;
    // The kernel's buffers are aligned.
    std::vector<std::uint32_t> aligned(size / 4 + 1);
    std::memcpy(aligned.data(), data, size);
    auto* h = reinterpret_cast<nlmsghdr*>(aligned.data());
    int left = static_cast<int>(size);
    for (; nlmsg_ok(h, left); h = nlmsg_next(h, &left)) {
        if (h->nlmsg_type == RTM_NEWLINK) {
            vx::TLink link;
            std::string kind;
            if (vx::ParseLinkMessage(h, link, kind)) {
                if (link.Name.size() > 16 || link.Alias.size() > 256) std::abort();
                if (link.Address.size() > 32 || link.PermAddress.size() > 32) std::abort();
            }
        } else if (h->nlmsg_type == RTM_NEWSTATS) {
            vx::TLinkCounters counters;
            vx::ParseStatsMessage(h, counters);
        }
    }
    return 0;
}
