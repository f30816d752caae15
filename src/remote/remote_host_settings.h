#pragma once

// The remote hosts as the settings file keeps them:
//
//     [RemoteHosts]
//     Count=2
//     [RemoteHosts\1]
//     Name=NAS
//     URL=http://nas.lan:9100/metrics
//     UserName=
//     Password=            (scrambled, as the program's other stored secrets)
//     CAFile=
//     Watched=eth0 wlan0   (devices whose watchers are open)
//
// A password is scrambled over its UTF-8 bytes, so that every character
// comes back (the scrambler itself keeps 8-bit text only). Reading skips a
// host without an address and keeps at most kMaxRemoteHosts. A device
// whose name holds a blank is not kept among the watched (names are
// separated by blanks; Linux allows none in an interface name).

#include <cstddef>
#include <vector>

#include "persistence/cipherer.h"
#include "persistence/layout_storage.h"
#include "remote/exporter_scrape.h"

namespace vx {

inline constexpr std::size_t kMaxRemoteHosts = 64;

std::vector<TRemoteHost> ReadRemoteHosts(ILayoutManagerStorage& storage, ILayoutManagerCipherer& cipherer);
// Replaces the stored list (sections of hosts no longer listed go); the
// writes land together.
void WriteRemoteHosts(ILayoutManagerStorage& storage, ILayoutManagerCipherer& cipherer,
                      const std::vector<TRemoteHost>& hosts);

}  // namespace vx
