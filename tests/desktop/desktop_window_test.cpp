// The main window under a real window manager: what a window manager does
// to frames, states and placement, which the offscreen platform cannot show.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWindow>
#include <memory>

#include "desktop_session.h"
#include "persistence/ini_storage.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "support/fake_link_source.h"
#include "watcher/watcher_panel.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

// The X window behind a top-level widget now (a flag change gives it a new
// one, which QWidget::winId() does not follow).
std::string xid(const QWidget& w) { return std::to_string(w.windowHandle()->winId()); }

std::string netWmState(const QWidget& w) {
    return test::RunOnDisplay("xprop -id " + xid(w) + " _NET_WM_STATE 2>/dev/null");
}

class DesktopWindowTest : public ::testing::Test {
protected:
    test::TTempDir dir;
    std::string file = dir.file("vantrix.ini");
    std::unique_ptr<Twnd_vx_Main> w;
    std::shared_ptr<test::TFakeLinkSource> fake = std::make_shared<test::TFakeLinkSource>();

    // One working interface, eth0, to watch.
    void withAnInterface() {
        fake->AddLink(2, "eth0");
    }

    void SetUp() override {
        VX_REQUIRE_DESKTOP();
        LayoutStorage = std::make_shared<TLayoutManagerINIStorage>();
        LayoutStorage->SetFileName(file);
    }
    void TearDown() override {
        w.reset();
        LayoutStorage.reset();
    }
    // A fresh window, shown and framed by the window manager.
    void open() {
        w = std::make_unique<Twnd_vx_Main>(fake);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        settle();
    }
    // Lets the window manager and the window finish what they do.
    void settle() {
        QTest::qWait(150);
        (void)QTest::qWaitFor(
            [&] { return w->frameGeometry() != w->geometry() || (w->windowFlags() & Qt::FramelessWindowHint); }, 1500);
        QTest::qWait(150);
    }
    void restart() {
        w.reset();
        open();
    }
    QPoint frameAt() const { return w->frameGeometry().topLeft(); }
};

// Window Caption and Always Visible work in every mode, also once a
// persistent settings file exists, and survive a restart.
TEST_F(DesktopWindowTest, CaptionAndAlwaysVisibleWorkWithASettingsFile) {
    open();
    w->acPersistent->trigger();
    w->move(w->pos() + QPoint(40, 30));
    QTest::qWait(700);  // the settled move is saved
    ASSERT_TRUE(std::filesystem::exists(file));

    w->acCaption->trigger();
    settle();
    EXPECT_FALSE(w->acCaption->isChecked());
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(w->menuBar()->isVisible());
    EXPECT_EQ(w->frameGeometry(), w->geometry());  // no title bar

    w->acOnTop->trigger();
    settle();
    EXPECT_TRUE(w->acOnTop->isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&] { return netWmState(*w).find("_NET_WM_STATE_ABOVE") != std::string::npos; }, 3000))
        << netWmState(*w);

    restart();
    EXPECT_FALSE(w->acCaption->isChecked());
    EXPECT_TRUE(w->acOnTop->isChecked());
    EXPECT_NE(netWmState(*w).find("_NET_WM_STATE_ABOVE"), std::string::npos) << netWmState(*w);
    EXPECT_FALSE(w->menuBar()->isVisible());
}

// Hiding and showing the caption, and restarts with it hidden, never leave
// the window unmapped, also while both cores are busy: a window that the
// window manager failed to map again has no way back for the user.
TEST_F(DesktopWindowTest, CaptionTogglesAndRestartsNeverLoseTheWindow) {
    open();
    w->acPersistent->trigger();
    const test::TCpuHog hog;
    int lost = 0;
    std::string where;
    const auto check = [&](const std::string& what) {
        if (QTest::qWaitFor([&] { return test::IsViewable(w->windowHandle()->winId()); }, 3000)) return;
        ++lost;
        where += " " + what;
    };
    for (int i = 0; i < 100; ++i) {
        w->acCaption->trigger();
        QTest::qWait(i % 7 == 0 ? 0 : 10 * (i % 5));  // toggles at all paces, some at once after another
        check("toggle " + std::to_string(i));
    }
    if (w->acCaption->isChecked()) w->acCaption->trigger();  // restarts with the caption hidden
    for (int i = 0; i < 20; ++i) {
        restart();
        check("restart " + std::to_string(i));
        w->acCaption->trigger();
        check("restart " + std::to_string(i) + ", caption shown");
        w->acCaption->trigger();
        check("restart " + std::to_string(i) + ", caption hidden");
    }
    EXPECT_EQ(lost, 0) << "unmapped after:" << where;
}

// Without the caption the watcher area moves the window, but only once the
// mouse is dragged: a double click on "Session totals" still reaches it
// under a window manager, which takes the pointer for a move.
TEST_F(DesktopWindowTest, ClicksReachTheWatcherAndADragMovesTheWindow) {
    withAnInterface();
    open();
    w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    ASSERT_EQ(w->Watchers().size(), 1u);
    w->acCaption->trigger();
    settle();
    QTest::qWait(300);
    const auto at = [](QWidget* widget) {
        const QPoint p = widget->mapToGlobal(widget->rect().center());
        return std::to_string(p.x()) + " " + std::to_string(p.y());
    };

    QString asked;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked = box->text();
            box->reject();
        }
    });
    answer.start(50);
    test::RunOnDisplay("xdotool mousemove " + at(w->Watchers()[0]->Panel1) + " click --repeat 2 --delay 60 1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !asked.isEmpty(); }, 5000)) << "no question after a double click";
    EXPECT_EQ(asked, "Clear session totals?");
    answer.stop();

    const QPoint before = frameAt();
    test::RunOnDisplay("xdotool mousemove " + at(w->Watchers()[0]->lDLMax) + " mousedown 1");
    QTest::qWait(100);
    for (int step = 1; step <= 8; ++step) {
        test::RunOnDisplay("xdotool mousemove_relative -- 8 6");
        QTest::qWait(60);
    }
    test::RunOnDisplay("xdotool mouseup 1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameAt() != before; }, 3000)) << "the drag did not move the window";
    EXPECT_GT(frameAt().x(), before.x() + 20);
}

// The frame stays where it is through caption toggles and restarts.
TEST_F(DesktopWindowTest, TheWindowDoesNotCreep) {
    open();
    w->acPersistent->trigger();
    w->move(200, 150);
    settle();
    const QPoint start = frameAt();
    for (int i = 0; i < 10; ++i) {
        w->acCaption->trigger();
        settle();
        EXPECT_EQ(frameAt(), start) << "caption hidden, toggle " << i;
        w->acCaption->trigger();
        settle();
        EXPECT_EQ(frameAt(), start) << "caption shown, toggle " << i;
    }
    w->acOnTop->trigger();
    settle();
    EXPECT_EQ(frameAt(), start);
    for (int i = 0; i < 10; ++i) {
        restart();
        EXPECT_EQ(frameAt(), start) << "restart " << i;
    }
}

// With a tray the window has no taskbar button (the tray icon is the way
// back); the window-manager hint, not another window type.
TEST_F(DesktopWindowTest, NoTaskbarButtonWhileATrayExists) {
    if (!test::Desktop().tray) GTEST_SKIP() << "no tray host";
    open();
    ASSERT_TRUE(QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 3000));
    QTest::qWait(200);
    const std::string state = netWmState(*w);
    EXPECT_NE(state.find("_NET_WM_STATE_SKIP_TASKBAR"), std::string::npos) << state;
    EXPECT_NE(state.find("_NET_WM_STATE_SKIP_PAGER"), std::string::npos) << state;
    const std::string type =
        test::RunOnDisplay("xprop -id " + xid(*w) + " _NET_WM_WINDOW_TYPE 2>/dev/null");
    EXPECT_NE(type.find("_NET_WM_WINDOW_TYPE_NORMAL"), std::string::npos) << type;
}

// The tray's menu toggles Hide and Show, and its tooltip gives every
// watched interface's current rates.
TEST_F(DesktopWindowTest, TheTrayTogglesAndTellsTheRates) {
    if (!test::Desktop().tray) GTEST_SKIP() << "no tray host";
    withAnInterface();
    open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->Tray() != nullptr; }, 5000));
    w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    ASSERT_EQ(w->Watchers().size(), 1u);
    QTest::qWait(2200);  // a tick of the watcher and of the list
    EXPECT_NE(w->Tray()->toolTip().indexOf("eth0: Download " + w->Watchers()[0]->lDL->text()), -1)
        << w->Tray()->toolTip().toStdString();

    emit w->PopupMenu1->aboutToShow();
    EXPECT_EQ(w->acHide->text(), "&Hide");
    w->acHide->trigger();
    settle();
    EXPECT_FALSE(w->isVisible());
    emit w->PopupMenu1->aboutToShow();
    EXPECT_EQ(w->acHide->text(), "&Show");
    w->acHide->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return test::IsViewable(w->windowHandle()->winId()); }, 3000));
}

// The tray readout in a real tray: drawn in the colour the tray asks its
// icons for, else in the desktop's text colour.
TEST_F(DesktopWindowTest, TheTrayReadoutTakesTheTraysColour) {
    if (!test::Desktop().tray) GTEST_SKIP() << "no tray host";
    withAnInterface();
    open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->Tray() != nullptr; }, 5000));
    ASSERT_TRUE(test::SetTrayForeground(255, 192, 0));
    w->SetTrayReadoutInterface(QStringLiteral("eth0"));
    EXPECT_EQ(w->LastTrayReadout().Ink, QColor(255, 192, 0));
    EXPECT_EQ(w->LastTrayReadout().Download, "0B");
    test::SetTrayForeground(-1, 0, 0);
    w->pmSpeed->trigger();  // figures of another unit: drawn anew
    w->UpdateTrayReadout();
    EXPECT_EQ(w->LastTrayReadout().Ink, QApplication::palette().color(QPalette::WindowText));
    w->SetTrayReadoutInterface({});
}

// A window manager that does not offer _NET_WM_STATE_ABOVE cannot keep a
// window on top: Always Visible is greyed with the reason, and comes back
// when the manager offers it.
TEST_F(DesktopWindowTest, AlwaysVisibleFollowsWhatTheWindowManagerOffers) {
    open();
    const std::vector<unsigned> offered = test::RootAtoms("_NET_SUPPORTED");
    ASSERT_FALSE(offered.empty());
    std::vector<unsigned> without = offered;
    std::erase(without, test::Atom("_NET_WM_STATE_ABOVE"));
    ASSERT_LT(without.size(), offered.size());
    test::SetRootAtoms("_NET_SUPPORTED", without);
    emit w->PopupMenu1->aboutToShow();
    EXPECT_FALSE(w->acOnTop->isEnabled());
    EXPECT_NE(w->acOnTop->toolTip().indexOf("_NET_WM_STATE_ABOVE"), -1) << w->acOnTop->toolTip().toStdString();
    test::SetRootAtoms("_NET_SUPPORTED", offered);
    emit w->PopupMenu1->aboutToShow();
    EXPECT_TRUE(w->acOnTop->isEnabled());
}

// Back from the tray: maximised stays maximised, raised and focused.
TEST_F(DesktopWindowTest, RestoringFromTheTrayKeepsTheState) {
    open();
    w->showMaximized();
    settle();
    ASSERT_TRUE(w->isMaximized());
    w->acHide->trigger();
    settle();
    w->TrayIconClick();
    settle();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isMaximized());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 2000));
}

}  // namespace
}  // namespace vx
