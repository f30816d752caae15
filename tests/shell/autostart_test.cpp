// "Start with the desktop": the XDG autostart entry, in a private config
// folder.
#include <gtest/gtest.h>

#include <QMenu>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "persistence/desktop_metrics.h"
#include "shell/autostart.h"
#include "shell/desktop_session.h"
#include "shell/main_window.h"
#include "support/fake_ip_helper.h"
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
    ASSERT_TRUE(TAutostart::Enable("/media/stick/vantrix", true));  // portable: its own path
    EXPECT_TRUE(TAutostart::Enabled());
    EXPECT_NE(entry().find("\nExec=/media/stick/vantrix\n"), std::string::npos) << entry();
    EXPECT_NE(entry().find("\nIcon=" VX_APP_ID "\n"), std::string::npos);
    EXPECT_TRUE(entry().starts_with("[Desktop Entry]\nType=Application\n"));
    if (std::system("command -v desktop-file-validate >/dev/null") == 0) {
        ASSERT_TRUE(TAutostart::Enable("/media/My Stick/vantrix", true));
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
        {"/media/100%/vantrix", "/media/100%%/vantrix"},
        {"/media/a$b/vantrix", "\"/media/a\\\\$b/vantrix\""},
        {"/media/\"q\"/vantrix", "\"/media/\\\\\"q\\\\\"/vantrix\""},
    };
    for (const auto& [path, exec] : cases) EXPECT_EQ(TAutostart::ExecValue(path), exec) << path;
}

// The menu item writes and removes the entry, and its check mark follows
// the file (removed by hand, say) whenever a menu opens.
TEST_F(AutostartTest, MenuItemFollowsTheEntry) {
    Twnd_vx_Main w(std::make_shared<test::TFakeIpHelper>());
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
