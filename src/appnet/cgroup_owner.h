#pragma once

// Who a cgroup belongs to, read from its path the way systemd names units:
// a desktop application runs in app-<launcher>-<application id>-<random>.scope
// or app-<launcher>-<application id>@<random>.service (the launcher part may
// be missing; a '-' inside the id is escaped as \x2d); its helpers in units
// below such a unit, or below an app-<application id>.slice, belong to it.
// A user's other units live under user-<uid>.slice (their own services under
// user@<uid>.service, log-in sessions in session-<n>.scope); the system's
// services under system.slice.

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace vx {

enum class TOwnerKind {
    Application,    // Id: the application id (e.g. "org.gnome.Terminal")
    UserService,    // Id: the unit of the user's service manager ("pipewire.service")
    Session,        // Id: the log-in session's scope ("session-2.scope")
    SystemService,  // Id: the system unit ("ssh.service"); Uid unset
    Other           // the root, init.scope, or what the rules do not name; Id: the path
};

struct TCgroupOwner {
    TOwnerKind Kind = TOwnerKind::Other;
    std::string Id;
    std::optional<uid_t> Uid;  // the user whose slice holds it
    bool operator==(const TCgroupOwner&) const = default;
};

// `path` as below the cgroup root, starting with '/'.
TCgroupOwner OwnerOfCgroup(std::string_view path);
// A unit name's \xNN escapes undone ("org.example\x2dapp" -> "org.example-app").
std::string UnescapeUnitName(std::string_view name);
// Where the cgroup v2 hierarchy is mounted, from /proc/self/mountinfo's
// text (the unified hierarchy of a hybrid layout too); nothing without one.
std::optional<std::string> CgroupV2Root(std::string_view mountinfo);

}  // namespace vx
