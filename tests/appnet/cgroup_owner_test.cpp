// Cgroups named as their owners the way systemd's desktop integration
// names units, and the cgroup v2 mount found in mountinfo.
#include <gtest/gtest.h>

#include "appnet/cgroup_owner.h"

namespace vx {
namespace {

TEST(CgroupOwnerTest, UnitsNameTheirOwners) {
    using K = TOwnerKind;
    const std::string user = "/user.slice/user-1000.slice/user@1000.service";
    struct Case {
        std::string path;
        TCgroupOwner owner;
    } cases[] = {
        // Applications: scope and service forms, with and without a launcher.
        {user + "/app.slice/app-gnome-org.gnome.Terminal-4312.scope", {K::Application, "org.gnome.Terminal", 1000}},
        {user + "/app.slice/app-org.mozilla.firefox-18733.scope", {K::Application, "org.mozilla.firefox", 1000}},
        {user + "/app.slice/app-gnome-firefox@2b1a.service", {K::Application, "firefox", 1000}},
        {user + "/app.slice/app-flatpak-org.example.App@12.service", {K::Application, "org.example.App", 1000}},
        {user + "/app.slice/app-org.example.Tool.service", {K::Application, "org.example.Tool", 1000}},
        // An escaped '-' in the id.
        {user + "/app.slice/app-kde-org.kde.dolphin\\x2dplugin-77.scope", {K::Application, "org.kde.dolphin-plugin", 1000}},
        // A terminal's children: below the application's slice or unit.
        {user + "/app.slice/app-org.gnome.Terminal.slice/vte-spawn-6f1e.scope", {K::Application, "org.gnome.Terminal", 1000}},
        {user + "/app.slice/app-gnome-org.gnome.Terminal-4312.scope/child", {K::Application, "org.gnome.Terminal", 1000}},
        // No desktop entry behind it: the user's own services and sessions.
        {user + "/session.slice/pipewire.service", {K::UserService, "pipewire.service", 1000}},
        {user + "/init.scope", {K::UserService, "init.scope", 1000}},
        {"/user.slice/user-1001.slice/session-4.scope", {K::Session, "session-4.scope", 1001}},
        // The system's services, summed per unit.
        {"/system.slice/ssh.service", {K::SystemService, "ssh.service", std::nullopt}},
        {"/system.slice/system-getty.slice/getty@tty1.service", {K::SystemService, "getty@tty1.service", std::nullopt}},
        {"/system.slice/systemd-journald.service", {K::SystemService, "systemd-journald.service", std::nullopt}},
        // What the rules do not name.
        {"/", {K::Other, "/", std::nullopt}},
        {"/init.scope", {K::Other, "/init.scope", std::nullopt}},
        {"/machine.slice/libpod-1234.scope", {K::Other, "/machine.slice/libpod-1234.scope", std::nullopt}},
        {"/user.slice/user-x.slice/session-1.scope", {K::Other, "/user.slice/user-x.slice/session-1.scope", std::nullopt}},
        {"/app-.scope", {K::Other, "/app-.scope", std::nullopt}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(OwnerOfCgroup(c.path), c.owner);
    }
}

TEST(CgroupOwnerTest, EscapesAreUndoneOnlyWhereWhole) {
    EXPECT_EQ(UnescapeUnitName("a\\x2db\\x2fc"), "a-b/c");
    EXPECT_EQ(UnescapeUnitName("end\\x2"), "end\\x2");
    EXPECT_EQ(UnescapeUnitName("bad\\xzz"), "bad\\xzz");
    EXPECT_EQ(UnescapeUnitName(""), "");
}

TEST(CgroupOwnerTest, TheCgroupV2MountIsFoundInMountinfo) {
    const std::string unified =
        "25 30 0:23 / /sys rw,nosuid - sysfs sysfs rw\n"
        "26 25 0:24 / /sys/fs/cgroup ro - tmpfs tmpfs ro,mode=755\n"
        "27 26 0:25 / /sys/fs/cgroup/unified rw,nosuid - cgroup2 cgroup2 rw,nsdelegate\n"
        "28 26 0:26 / /sys/fs/cgroup/systemd rw - cgroup cgroup rw,name=systemd\n";
    EXPECT_EQ(CgroupV2Root(unified), "/sys/fs/cgroup/unified");  // hybrid
    EXPECT_EQ(CgroupV2Root("30 1 0:27 / /sys/fs/cgroup rw shared:4 - cgroup2 cgroup2 rw\n"), "/sys/fs/cgroup");
    EXPECT_EQ(CgroupV2Root("31 1 0:28 / /mnt/with\\040blank rw - cgroup2 none rw\n"), "/mnt/with blank");
    EXPECT_EQ(CgroupV2Root("28 26 0:26 / /sys/fs/cgroup/cpu rw - cgroup cgroup rw,cpu\n"), std::nullopt);
    EXPECT_EQ(CgroupV2Root(""), std::nullopt);
    EXPECT_EQ(CgroupV2Root("garbage - cgroup2\n"), std::nullopt);
}

}  // namespace
}  // namespace vx
