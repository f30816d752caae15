#include "netconfig/system_files.h"

#include <arpa/inet.h>

#include <fstream>
#include <sstream>

namespace vx {
namespace {

namespace fs = std::filesystem;

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        out.push_back(text.substr(0, nl));
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    }
    return out;
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
        if (j > i) out.push_back(line.substr(i, j - i));
        i = j;
    }
    return out;
}

bool isIPv4(std::string_view s) {
    in_addr a{};
    return ::inet_pton(AF_INET, std::string(s).c_str(), &a) == 1;
}

// A server entry in systemd's link state may carry a port, an interface
// and a TLS name: "a.b.c.d", "a.b.c.d:53", "a.b.c.d%3#dns.example".
std::optional<std::string> ipv4ServerOf(std::string_view entry) {
    const std::string_view address = entry.substr(0, entry.find_first_of(":%#"));
    if (!isIPv4(address)) return std::nullopt;
    return std::string(address);
}

// The per-link state: systemd-networkd's for links it manages, else the one
// systemd-resolved keeps for links configured over its bus (NetworkManager,
// resolvectl). Both are KEY=VALUE lines.
struct LinkState {
    std::string text;
    const char* serversKey;
};

std::optional<LinkState> linkState(const TSystemFiles& files, std::uint32_t ifindex) {
    const std::string index = std::to_string(ifindex);
    if (auto text = files.ReadFile("run/systemd/netif/links/" + index)) return LinkState{std::move(*text), "DNS"};
    if (auto text = files.ReadFile("run/systemd/resolve/netif/" + index)) return LinkState{std::move(*text), "SERVERS"};
    return std::nullopt;
}

}  // namespace

TResolverConfig ParseResolvConf(std::string_view text) {
    TResolverConfig config;
    std::string search;
    for (std::string_view line : lines(text)) {
        const auto w = words(line.substr(0, line.find_first_of("#;")));
        if (w.size() < 2) continue;
        if (w[0] == "nameserver" && isIPv4(w[1])) config.nameservers.emplace_back(w[1]);
        else if (w[0] == "domain") config.domain = std::string(w[1]);
        else if (w[0] == "search" && search.empty()) search = std::string(w[1]);
    }
    if (config.domain.empty()) config.domain = search;
    return config;
}

std::optional<std::string> KeyValueOf(std::string_view text, std::string_view key) {
    for (std::string_view line : lines(text)) {
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=')
            return std::string(line.substr(key.size() + 1));
    }
    return std::nullopt;
}

std::optional<std::string> DhclientServerOf(std::string_view text, std::string_view interfaceName) {
    std::optional<std::string> found;
    bool inLease = false;
    bool forInterface = false;
    std::string server;
    const std::string quoted = "\"" + std::string(interfaceName) + "\";";
    for (std::string_view line : lines(text)) {
        const auto w = words(line);
        if (w.empty()) continue;
        if (w[0] == "lease" ) {
            inLease = true;
            forInterface = false;
            server.clear();
        } else if (w[0] == "}" && inLease) {
            if (forInterface && !server.empty()) found = server;  // the last lease wins
            inLease = false;
        } else if (inLease && w[0] == "interface" && w.size() >= 2) {
            forInterface = w[1] == quoted;
        } else if (inLease && w.size() >= 3 && w[0] == "option" && w[1] == "dhcp-server-identifier") {
            std::string_view value = w[2];
            if (!value.empty() && value.back() == ';') value.remove_suffix(1);
            if (isIPv4(value)) server = std::string(value);
        }
    }
    return found;
}

std::optional<std::string> TSystemFiles::ReadFile(const std::string& relative) const {
    std::ifstream in(FRoot / relative);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TSystemFiles::SwitchOn(const std::string& relative) const {
    const auto text = ReadFile(relative);
    return text && !text->empty() && (*text)[0] == '1';
}

TResolverConfig TSystemFiles::ResolverConfig() const {
    TResolverConfig config = ParseResolvConf(ReadFile("etc/resolv.conf").value_or(""));
    const bool onlyStub = config.nameservers.size() == 1 && config.nameservers[0] == "127.0.0.53";
    if (onlyStub) {
        if (const auto upstream = ReadFile("run/systemd/resolve/resolv.conf")) {
            TResolverConfig real = ParseResolvConf(*upstream);
            if (!real.nameservers.empty()) config.nameservers = real.nameservers;
            if (config.domain.empty()) config.domain = real.domain;
        }
    }
    return config;
}

TResolverConfig TSystemFiles::LinkDns(std::uint32_t ifindex) const {
    TResolverConfig config;
    const auto state = linkState(*this, ifindex);
    if (!state) return config;
    const std::string servers = KeyValueOf(state->text, state->serversKey).value_or("");
    for (const auto w : words(servers))
        if (auto server = ipv4ServerOf(w)) config.nameservers.push_back(std::move(*server));
    // "~name" entries only route queries; they are not a search suffix.
    const std::string domains = KeyValueOf(state->text, "DOMAINS").value_or("");
    for (const auto w : words(domains))
        if (w[0] != '~') {
            config.domain = std::string(w);
            break;
        }
    return config;
}

std::string TSystemFiles::DhcpServer(std::uint32_t ifindex, const std::string& name) const {
    if (const auto lease = ReadFile("run/systemd/netif/leases/" + std::to_string(ifindex)))
        if (const auto server = KeyValueOf(*lease, "SERVER_ADDRESS")) return *server;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(FRoot / "var/lib/NetworkManager", ec)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with("internal-") && file.ends_with("-" + name + ".lease"))
            if (const auto lease = ReadFile(fs::relative(entry.path(), FRoot).string()))
                if (const auto server = KeyValueOf(*lease, "SERVER_ADDRESS")) return *server;
    }
    for (const auto& entry : fs::directory_iterator(FRoot / "var/lib/dhcp", ec)) {
        const std::string file = entry.path().filename().string();
        if (!file.starts_with("dhclient") || entry.path().extension() != ".leases") continue;
        if (const auto text = ReadFile(fs::relative(entry.path(), FRoot).string()))
            if (const auto server = DhclientServerOf(*text, name)) return *server;
    }
    return {};
}

}  // namespace vx
