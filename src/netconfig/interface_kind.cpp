#include "netconfig/interface_kind.h"

#include <linux/if_arp.h>

#include <QtGlobal>
#include <system_error>

namespace vx {

TLinkKind ClassifyLink(std::string_view name, std::string_view linkKind, std::uint16_t arpType,
                       const std::filesystem::path& sysRoot) {
    if (arpType == ARPHRD_LOOPBACK) return TLinkKind::Loopback;
    if (!linkKind.empty()) {
        if (linkKind == "bridge") return TLinkKind::Bridge;
        if (linkKind == "bond") return TLinkKind::Bond;
        if (linkKind == "vlan" || linkKind == "macvlan" || linkKind == "ipvlan") return TLinkKind::Vlan;
        if (linkKind == "veth") return TLinkKind::Veth;
        if (linkKind == "tun") return TLinkKind::Tun;
        if (linkKind == "wireguard") return TLinkKind::WireGuard;
        return TLinkKind::Other;  // dummy, vxlan, gre, ...
    }
    // A card, a wireless device, a USB or virtio adapter: a device stands
    // behind the interface. A name with a path in it is never one of ours.
    if (name.empty() || name.find('/') != std::string_view::npos || name == "." || name == "..") return TLinkKind::Other;
    std::error_code ec;
    if (std::filesystem::exists(sysRoot / "class" / "net" / std::string(name) / "device", ec)) return TLinkKind::Physical;
    // Without a link kind, a tunnel of the older drivers (sit, ipip, gre).
    if (arpType == ARPHRD_NONE || arpType == ARPHRD_TUNNEL || arpType == ARPHRD_TUNNEL6 || arpType == ARPHRD_SIT ||
        arpType == ARPHRD_IPGRE)
        return TLinkKind::Tun;
    return TLinkKind::Other;
}

const char* LinkKindName(TLinkKind kind) {
    switch (kind) {
    case TLinkKind::Physical: return QT_TRANSLATE_NOOP("vx::LinkKind", "Physical");
    case TLinkKind::Loopback: return QT_TRANSLATE_NOOP("vx::LinkKind", "Virtual: loopback");
    case TLinkKind::Bridge: return QT_TRANSLATE_NOOP("vx::LinkKind", "Virtual: bridge");
    case TLinkKind::Bond: return QT_TRANSLATE_NOOP("vx::LinkKind", "Virtual: bond");
    case TLinkKind::Vlan: return QT_TRANSLATE_NOOP("vx::LinkKind", "Virtual: VLAN");
    case TLinkKind::Veth: return QT_TRANSLATE_NOOP("vx::LinkKind", "Virtual: veth pair");
    case TLinkKind::Tun: return QT_TRANSLATE_NOOP("vx::LinkKind", "Virtual: tunnel (tun/tap)");
    case TLinkKind::WireGuard: return QT_TRANSLATE_NOOP("vx::LinkKind", "Virtual: WireGuard");
    case TLinkKind::Other: break;
    }
    return QT_TRANSLATE_NOOP("vx::LinkKind", "Virtual: other");
}

}  // namespace vx
