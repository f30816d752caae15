// The main window on the native Wayland platform (weston): what the
// compositor does with a hidden window, which no other platform shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <memory>

#include "persistence/ini_storage.h"
#include "shell/desktop_session.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "support/fake_link_source.h"
#include "support/temp_dir.h"
#include "own_display.h"
#include "wayland_session.h"

namespace vx {
namespace {

#define VX_REQUIRE_WAYLAND()                                                                  \
    do {                                                                                      \
        if (!test::Wayland().running) GTEST_SKIP() << "no Wayland compositor: " << test::Wayland().why; \
    } while (0)

// How many pixels of the screen have the window's background colour: the
// window is on the screen when they are many.
int windowPixels(const QColor& background) {
    const QImage shot = test::WaylandScreenshot().convertToFormat(QImage::Format_RGB32);
    const QRgb wanted = background.rgb() & 0xFFFFFF;
    int count = 0;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) count += (line[x] & 0xFFFFFF) == wanted;
    }
    return count;
}

class WaylandWindowTest : public ::testing::Test {
protected:
    test::TTempDir dir;
    std::unique_ptr<Twnd_vx_Main> w;

    void SetUp() override {
        VX_REQUIRE_WAYLAND();
        LayoutStorage = std::make_shared<TLayoutManagerINIStorage>();
        LayoutStorage->SetFileName(dir.file("vantrix.ini"));
        w = std::make_unique<Twnd_vx_Main>(std::make_shared<test::TFakeLinkSource>());
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        QTest::qWait(300);
    }
    void TearDown() override {
        w.reset();
        LayoutStorage.reset();
    }
    bool onScreen() {
        const QColor background = w->palette().color(QPalette::Window);
        return QTest::qWaitFor([&] { return windowPixels(background) > 20000; }, 3000);
    }
    bool offScreen() {
        const QColor background = w->palette().color(QPalette::Window);
        return QTest::qWaitFor([&] { return windowPixels(background) < 2000; }, 3000);
    }
};

// Without a tray Hide minimises; the compositor cannot be asked to undo
// that, so the window is shown anew when the tray (or a second start,
// which calls the same) brings it back.
TEST_F(WaylandWindowTest, HideAndTheWayBackBringTheWindowBack) {
    ASSERT_TRUE(onScreen());
    for (int round = 0; round < 3; ++round) {
        w->acHide->trigger();
        ASSERT_TRUE(offScreen()) << "round " << round;
        w->TrayIconClick();
        EXPECT_TRUE(onScreen()) << "round " << round;
        EXPECT_FALSE(w->isMinimized());
    }
}

// Always Visible cannot work here: greyed, with the reason in its tooltip,
// which the menus show.
TEST_F(WaylandWindowTest, AlwaysVisibleIsGreyedWithItsReason) {
    emit w->PopupMenu1->aboutToShow();
    EXPECT_FALSE(w->acOnTop->isEnabled());
    EXPECT_EQ(w->acOnTop->toolTip(), PlacementUnavailableReason());
    EXPECT_TRUE(w->PopupMenu1->toolTipsVisible());
}

// The real program: no warning on stderr at a start without a tray host,
// and SIGTERM ends it cleanly.
TEST(WaylandProgramTest, StartsWithoutWarnings) {
    VX_REQUIRE_WAYLAND();
    test::TTempDir config;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "wayland");
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path().string()));
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VX_PROGRAM_PATH), {});
    ASSERT_TRUE(p.waitForStarted(10000));
    QTest::qWait(3000);
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardError().toStdString(), "");
}

}  // namespace
}  // namespace vx

int main(int argc, char** argv) {
    return vx::test::RunOnOwnDisplay(
        argc, argv, "vx-wayland",
        [] { return vx::test::StartWayland().running ? std::string("wayland") : std::string("offscreen"); },
        [] { vx::test::StopWayland(); });
}
