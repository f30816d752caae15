#pragma once

// What the system's text files say about DNS servers, domains and DHCP
// leases. The parsers take text so tests can feed them; the readers look
// under a root folder ("/" normally) so tests can point them at a tree.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

struct TResolverConfig {
    std::vector<std::string> nameservers;  // IPv4 ones only, in file order
    std::string domain;                    // "domain", else the first "search" entry
};
TResolverConfig ParseResolvConf(std::string_view text);

// systemd's per-link state and lease files: KEY=VALUE lines.
std::optional<std::string> KeyValueOf(std::string_view text, std::string_view key);

// The DHCP server of the last lease for an interface in a dhclient lease
// file ("option dhcp-server-identifier a.b.c.d;" in a lease block naming
// `interface "<name>"`).
std::optional<std::string> DhclientServerOf(std::string_view text, std::string_view interfaceName);

class TSystemFiles {
public:
    explicit TSystemFiles(std::filesystem::path root = "/") : FRoot(std::move(root)) {}

    // /etc/resolv.conf; where it only names the local systemd-resolved stub,
    // the servers that resolved itself uses.
    TResolverConfig ResolverConfig() const;
    // DNS servers and the first search domain of a link, from the state
    // systemd-networkd or systemd-resolved keeps for it.
    TResolverConfig LinkDns(std::uint32_t ifindex) const;
    // The DHCP server of an interface's lease, from systemd-networkd,
    // NetworkManager's internal client or dhclient; "" when unknown.
    std::string DhcpServer(std::uint32_t ifindex, const std::string& name) const;
    // Whether a /proc/sys switch reads 1.
    bool SwitchOn(const std::string& relative) const;
    std::optional<std::string> ReadFile(const std::string& relative) const;
    // Where the system's files are read from ("/" but in tests).
    const std::filesystem::path& Root() const { return FRoot; }

private:
    std::filesystem::path FRoot;
};

}  // namespace vx
