#include "remote/remote_host_settings.h"

#include <algorithm>
#include <sstream>
#include <string>

namespace vx {
namespace {

constexpr const char* kSection = "RemoteHosts";
constexpr const char* kKey = "Vantrix remote host";

std::string hostSection(std::size_t number) { return std::string(kSection) + "\\" + std::to_string(number); }

// Each byte as the character of the same number (U+0000..U+00FF, in UTF-8):
// the scrambler's 8-bit form of that text is the bytes themselves.
std::string bytesAsLatin1(const std::string& bytes) {
    std::string text;
    for (const unsigned char b : bytes) {
        if (b < 0x80) {
            text.push_back(static_cast<char>(b));
        } else {
            text.push_back(static_cast<char>(0xC0 | (b >> 6)));
            text.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return text;
}

std::string latin1AsBytes(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size()) {
            bytes.push_back(static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(c));
        }
    }
    return bytes;
}

}  // namespace

std::vector<TRemoteHost> ReadRemoteHosts(ILayoutManagerStorage& storage, ILayoutManagerCipherer& cipherer) {
    std::vector<TRemoteHost> hosts;
    const auto count =
        static_cast<std::size_t>(std::clamp<std::int64_t>(storage.ReadInteger(kSection, "Count", 0), 0, kMaxRemoteHosts));
    for (std::size_t n = 1; n <= count; ++n) {
        const std::string section = hostSection(n);
        TRemoteHost host;
        host.Url = storage.ReadString(section, "URL", "");
        if (host.Url.empty()) continue;
        host.Name = storage.ReadString(section, "Name", "");
        if (host.Name.empty()) host.Name = host.Url;
        host.UserName = storage.ReadString(section, "UserName", "");
        host.Password = latin1AsBytes(cipherer.DecryptText(storage.ReadString(section, "Password", ""), kKey));
        host.CaFile = storage.ReadString(section, "CAFile", "");
        std::istringstream watched(storage.ReadString(section, "Watched", ""));
        for (std::string device; watched >> device;) host.Watched.push_back(device);
        hosts.push_back(std::move(host));
    }
    return hosts;
}

void WriteRemoteHosts(ILayoutManagerStorage& storage, ILayoutManagerCipherer& cipherer,
                      const std::vector<TRemoteHost>& hosts) {
    const auto before = static_cast<std::size_t>(
        std::clamp<std::int64_t>(storage.ReadInteger(kSection, "Count", 0), 0, kMaxRemoteHosts));
    const std::size_t count = std::min(hosts.size(), kMaxRemoteHosts);
    storage.Open(false);
    storage.WriteInteger(kSection, "Count", static_cast<std::int64_t>(count));
    for (std::size_t n = 1; n <= count; ++n) {
        const TRemoteHost& host = hosts[n - 1];
        const std::string section = hostSection(n);
        storage.WriteString(section, "Name", host.Name);
        storage.WriteString(section, "URL", host.Url);
        storage.WriteString(section, "UserName", host.UserName);
        storage.WriteString(section, "Password", cipherer.EncryptText(bytesAsLatin1(host.Password), kKey));
        storage.WriteString(section, "CAFile", host.CaFile);
        std::string watched;
        for (const std::string& device : host.Watched)
            if (!device.empty() && device.find_first_of(" \t") == std::string::npos)
                watched += (watched.empty() ? "" : " ") + device;
        storage.WriteString(section, "Watched", watched);
    }
    for (std::size_t n = count + 1; n <= before; ++n) storage.DeleteSection(hostSection(n));
    storage.Close();
}

}  // namespace vx
