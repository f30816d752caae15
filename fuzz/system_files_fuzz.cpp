// Any text as resolv.conf, a systemd link state or lease file, or a
// dhclient lease file: reading never fails, and what it finds comes from
// the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "netconfig/system_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vx::TResolverConfig config = vx::ParseResolvConf(text);
    for (const auto& server : config.nameservers)
        if (text.find(server) == std::string_view::npos) std::abort();
    for (const std::string_view key : {"DNS", "DOMAINS", "SERVER_ADDRESS", ""}) (void)vx::KeyValueOf(text, key);
    for (const std::string_view name : {"eth0", "", "wlan0\""})
        if (const auto server = vx::DhclientServerOf(text, name); server && text.find(*server) == std::string_view::npos)
            std::abort();
    return 0;
}
