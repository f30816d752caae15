#pragma once

// A client's side of the per-application counter: one question over the
// service's socket, and where the answer is missing, why, in words a user
// can act on. Also what names an application on the desktop (its desktop
// entry's Name= and Icon=) and the command names of a row's processes.

#include <optional>
#include <string>
#include <vector>

#include "appnet/appnet_protocol.h"

namespace vx {

enum class TAppNetProblem { None, NotInstalled, NotRunning, NoAnswer };

struct TAppNetReply {
    std::optional<TAppNetAnswer> Answer;
    TAppNetProblem Problem = TAppNetProblem::None;
    std::string Detail;  // the system's own words (errno text), for the curious
};

TAppNetReply AskAppNet(const std::string& socketPath = kAppNetSocket, int timeoutMs = 1000);

struct TDesktopEntry {
    std::string Name;  // "" when the application has no desktop entry
    std::string Icon;
};
// <id>.desktop in the applications folders below `dataDirs` (in order: the
// user's first); Name= and Icon= of its [Desktop Entry] group.
TDesktopEntry DesktopEntryOf(const std::string& appId, const std::vector<std::string>& dataDirs);
// XDG_DATA_HOME, XDG_DATA_DIRS and the flatpak export folders.
std::vector<std::string> DesktopDataDirs();

// The distinct command names (/proc/<pid>/comm) of the processes in the
// cgroups (paths below the cgroup v2 root at `root`) that this user may read.
std::vector<std::string> ProcessNamesOf(const std::string& root, const std::vector<std::string>& cgroups);

}  // namespace vx
