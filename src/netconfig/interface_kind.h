#pragma once

// What an interface is: a physical device (a device behind it in sysfs), or
// a virtual interface of some kind, from what the kernel reports (the link
// kind of rtnetlink's IFLA_LINKINFO, the hardware type, sysfs).

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace vx {

enum class TLinkKind : std::uint8_t { Physical, Loopback, Bridge, Bond, Vlan, Veth, Tun, WireGuard, Other };

// `linkKind`: IFLA_INFO_KIND ("bridge", "veth", ...; empty when the kernel
// names none, as for a network card). `arpType`: ARPHRD_*. `sysRoot`: where
// sysfs is mounted (tests give a tree of their own).
TLinkKind ClassifyLink(std::string_view name, std::string_view linkKind, std::uint16_t arpType,
                       const std::filesystem::path& sysRoot = "/sys");

inline bool IsPhysical(TLinkKind kind) { return kind == TLinkKind::Physical; }

// The English name of the kind ("Physical", "Bridge", ...), a source text
// of the translations (context "vx::LinkKind").
const char* LinkKindName(TLinkKind kind);

}  // namespace vx
