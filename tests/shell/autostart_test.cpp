// "Start with the desktop": the XDG autostart entry, in a private config
// folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "persistence/desktop_metrics.h"
#include "shell/autostart.h"
#include "shell/desktop_session.h"
#include "shell/main_window.h"
#include "support/fake_link_source.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// Points XDG_CONFIG_HOME at a fresh folder for one test.
class AutostartTest : public ::testing::Test {
protected:
    test::TTempDir config;
    std::string saved;
    bool had = false;
    void SetUp() override {
        if (const char* v = std::getenv("XDG_CONFIG_HOME")) had = true, saved = v;
        ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    }
    void TearDown() override {
        if (had)
            ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }
    std::string entry() const { return test::ReadWholeFile(TAutostart::EntryPath()); }
};

TEST_F(AutostartTest, EntryIsWrittenAndRemoved) {
    EXPECT_EQ(TAutostart::EntryPath(), config.file("autostart/" VX_APP_ID ".desktop"));
    EXPECT_FALSE(TAutostart::Enabled());
    ASSERT_EQ(TAutostart::Enable("/media/stick/vantrix", true), "");  // portable: its own path
    EXPECT_TRUE(TAutostart::Enabled());
    EXPECT_NE(entry().find("\nExec=/media/stick/vantrix\n"), std::string::npos) << entry();
    EXPECT_NE(entry().find("\nIcon=" VX_APP_ID "\n"), std::string::npos);
    EXPECT_TRUE(entry().starts_with("[Desktop Entry]\nType=Application\n"));
    if (std::system("command -v desktop-file-validate >/dev/null") == 0) {
        ASSERT_EQ(TAutostart::Enable("/media/My Stick/vantrix", true), "");
        EXPECT_EQ(std::system(("desktop-file-validate '" + TAutostart::EntryPath() + "'").c_str()), 0);
    }
    ASSERT_TRUE(TAutostart::Disable());
    EXPECT_FALSE(fs::exists(TAutostart::EntryPath()));
    EXPECT_TRUE(TAutostart::Disable());  // nothing to remove is fine
}

TEST_F(AutostartTest, ExecValuesAreQuotedAsDesktopEntriesRequire) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/vantrix", "/usr/bin/vantrix"},
        {"/media/My Stick/vantrix", "\"/media/My Stick/vantrix\""},
        {"/media/100%/vantrix", "env /media/100%%/vantrix"},
        {"/media/a b%/vantrix", "env \"/media/a b%%/vantrix\""},
        {"/media/a$b/vantrix", "\"/media/a\\\\$b/vantrix\""},
        {"/media/\"q\"/vantrix", "\"/media/\\\\\"q\\\\\"/vantrix\""},
    };
    for (const auto& [path, exec] : cases) EXPECT_EQ(TAutostart::ExecValue(path), exec) << path;
}

// Paths no desktop entry can hold are refused with a reason, and nothing is
// written; a path with % is written so that GLib (GNOME's and most other
// desktops' launcher) starts it.
TEST_F(AutostartTest, OnlyEntriesTheDesktopCanStartAreWritten) {
    const std::pair<std::string, const char*> refused[] = {
        {"/media/st\xFFick/vantrix", "not valid UTF-8"},
        {"/media/a\tb/vantrix", "control character"},
        {"/media/a\nb/vantrix", "control character"},
    };
    for (const auto& [path, why] : refused) {
        const std::string said = TAutostart::Enable(path, true);
        EXPECT_NE(said.find(why), std::string::npos) << said;
        EXPECT_FALSE(TAutostart::Enabled());
    }
    if (std::system("command -v gio >/dev/null") != 0) GTEST_SKIP() << "gio is not installed";
    const std::string folder = config.file("100% sure");
    fs::create_directories(folder);
    const std::string marker = config.file("started");
    test::WriteWholeFile(folder + "/vantrix", "#!/bin/sh\ntouch '" + marker + "'\n");
    fs::permissions(folder + "/vantrix", fs::perms::owner_all);
    ASSERT_EQ(TAutostart::Enable(folder + "/vantrix", true), "");
    EXPECT_EQ(std::system(("gio launch '" + TAutostart::EntryPath() + "' 2>&1").c_str()), 0) << entry();
    for (int i = 0; i < 50 && !fs::exists(marker); ++i) ::usleep(20000);
    EXPECT_TRUE(fs::exists(marker)) << entry();
}

// A folder where the entry cannot be written: said, and not ticked.
TEST_F(AutostartTest, AnUnwritableFolderLeavesTheItemUnticked) {
    const std::string folder = config.file("autostart");
    fs::create_directories(folder);
    // Root writes into read-only folders: the folder is made immutable.
    const bool root = ::geteuid() == 0;
    if (root && std::system(("chattr +i '" + folder + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "chattr does not work here";
    if (!root) fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    Twnd_vx_Main w(std::make_shared<test::TFakeLinkSource>());
    QTimer::singleShot(200, [] {
        if (QWidget* box = QApplication::activeModalWidget()) box->close();  // the reason, said
    });
    w.acAutostart->trigger();
    if (root) (void)!std::system(("chattr -i '" + folder + "'").c_str());
    EXPECT_FALSE(TAutostart::Enabled());
    EXPECT_FALSE(w.acAutostart->isChecked());
}

// The menu item writes and removes the entry, and its check mark follows
// the file (removed by hand, say) whenever a menu opens.
TEST_F(AutostartTest, MenuItemFollowsTheEntry) {
    Twnd_vx_Main w(std::make_shared<test::TFakeLinkSource>());
    EXPECT_FALSE(w.acAutostart->isChecked());
    w.acAutostart->trigger();
    EXPECT_TRUE(w.acAutostart->isChecked());
    EXPECT_TRUE(TAutostart::Enabled());
    fs::remove(TAutostart::EntryPath());
    emit w.PopupMenu1->aboutToShow();
    EXPECT_FALSE(w.acAutostart->isChecked());
}

// In a Wayland session with XWayland the program runs through XWayland
// (placement and stay-on-top work there); a platform chosen by the user or
// a session without an X display is left alone.
TEST(DesktopSessionTest, PrefersXWaylandOnlyWhereItIsThere) {
    struct Case {
        const char *platform, *wayland, *session, *display;
        bool switched;
    };
    const Case cases[] = {
        {nullptr, "wayland-0", "wayland", ":0", true},
        {nullptr, nullptr, "wayland", ":1", true},
        {"wayland", "wayland-0", "wayland", ":0", false},
        {nullptr, "wayland-0", "wayland", nullptr, false},
        {nullptr, nullptr, "x11", ":0", false},
    };
    const char* names[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "DISPLAY"};
    std::vector<std::optional<std::string>> saved;
    for (const char* n : names) saved.push_back(std::getenv(n) ? std::optional<std::string>(std::getenv(n)) : std::nullopt);
    for (const Case& c : cases) {
        const char* values[] = {c.platform, c.wayland, c.session, c.display};
        for (int i = 0; i < 4; ++i)
            values[i] ? ::setenv(names[i], values[i], 1) : ::unsetenv(names[i]);
        EXPECT_EQ(PreferXWayland(), c.switched) << (c.platform ? c.platform : "-") << " " << (c.display ? c.display : "-");
        if (c.switched) {
            EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "xcb");
        }
    }
    for (int i = 0; i < 4; ++i) saved[i] ? ::setenv(names[i], saved[i]->c_str(), 1) : ::unsetenv(names[i]);
    EXPECT_TRUE(WindowsArePlaced());  // offscreen is no Wayland
}

}  // namespace
}  // namespace vx
