#include <gtest/gtest.h>
#include <linux/if.h>
#include <linux/if_arp.h>

#include <QApplication>
#include <QStyle>
#include <QTimer>
#include <QDialog>
#include <QPushButton>
#include <QMessageBox>
#include <QHelpEvent>
#include <QToolTip>
#include <QLabel>
#include <QMenu>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QAccessible>
#include <QSet>
#include <QSystemTrayIcon>
#include <functional>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "netconfig/uplink_link_source.h"
#include "persistence/ini_storage.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "shell/translations.h"
#include "support/fake_link_source.h"
#include "support/temp_dir.h"
#include "usage_view/usage_window.h"
#include "watcher/watcher_panel.h"

namespace vx {
namespace {

using test::TFakeLinkSource;

// The main window over a scripted network: eth0 (working), wlan0 (down),
// tun0 (working), with its settings in a temporary folder.
class MainWindowTest : public ::testing::Test {
protected:
    test::TTempDir dir;
    std::shared_ptr<TFakeLinkSource> fake = std::make_shared<TFakeLinkSource>();
    std::string file = dir.file("vantrix.ini");

    void SetUp() override {
        LayoutStorage = std::make_shared<TLayoutManagerINIStorage>();
        LayoutStorage->SetFileName(file);
        fake->AddLink(2, "eth0").Driver = "driver";
        TLink& wlan = fake->AddLink(3, "wlan0");
        wlan.Driver = "driver";
        wlan.Wireless = true;
        wlan.OperState = IF_OPER_DOWN;
        TLink& tun = fake->AddLink(7, "tun0");
        tun.Driver = "driver";
        tun.ArpType = ARPHRD_NONE;
        fake->SetCounters(2, 1536, 3 * 1048576);
        fake->addresses = {{2, 0x0A000001, 8}};
        fake->neighbours = {TNeighbour{}};
        fake->route = 2;
    }
    void TearDown() override { LayoutStorage.reset(); }

    std::unique_ptr<Twnd_vx_Main> shown() {
        auto w = std::make_unique<Twnd_vx_Main>(fake);
        w->show();  // restores the layout, then builds the list and the menu
        return w;
    }
    static QStringList rowNames(const Twnd_vx_Main& w) {
        QStringList names;
        for (int i = 0; i < w.Tree->topLevelItemCount(); ++i) names << w.Tree->topLevelItem(i)->text(0);
        return names;
    }
    static QStringList menuNames(const Twnd_vx_Main& w) {
        QStringList names;
        for (QAction* a : w.MonitorMenu->actions()) names << a->text();
        return names;
    }
};

TEST_F(MainWindowTest, CaptionSizeAndActions) {
    auto w = shown();
    EXPECT_EQ(w->windowTitle(), "Vantrix");
    EXPECT_EQ(w->size(), QSize(475, 429));
    EXPECT_TRUE(w->Tree->isHidden());
    EXPECT_EQ(w->acRefresh->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(w->acIntfView->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_EQ(w->acCaption->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
    EXPECT_EQ(w->acAbout->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(w->acOOI->isChecked());
    EXPECT_TRUE(w->acCaption->isChecked());
    EXPECT_FALSE(w->acPersistent->isChecked());
    EXPECT_TRUE(w->LayoutReadOnly());
    EXPECT_EQ(w->acExit->text(), "E&xit");
    EXPECT_TRUE(w->pmTransfer->isChecked());
    EXPECT_TRUE(w->pmNormal->isChecked());
}

// Start-up reads the links once: the stored values and the first list come
// from the same reading. A refresh reads them again.
TEST_F(MainWindowTest, TheLinksAreReadOnceAtStart) {
    auto w = shown();
    EXPECT_EQ(fake->countOf("Links"), 1);
    EXPECT_EQ(w->MonitorMenu->actions().size(), 3);
    w->acRefresh->trigger();
    EXPECT_EQ(fake->countOf("Links"), 2);
}

TEST_F(MainWindowTest, FilterShowsOnlyWorkingInterfacesButTheMenuListsAll) {
    auto w = shown();
    EXPECT_EQ(rowNames(*w), (QStringList{"eth0", "tun0"}));
    EXPECT_EQ(menuNames(*w), (QStringList{"eth0", "wlan0", "tun0"}));
    w->acOOI->trigger();  // filter off
    EXPECT_EQ(w->Tree->Tag(), 0);
    EXPECT_EQ(rowNames(*w), (QStringList{"eth0", "wlan0", "tun0"}));

    fake->Find(2)->OperState = IF_OPER_DOWN;
    fake->Find(7)->OperState = IF_OPER_TESTING;
    w->acOOI->trigger();  // on again, with nothing connected
    EXPECT_TRUE(rowNames(*w).isEmpty());
    EXPECT_EQ(menuNames(*w), (QStringList{"eth0", "wlan0", "tun0"}));
}

// eth0 and wlan0 are network cards, tun0 a tunnel: the list ends with
// their total, which adds what passes the cards (each byte once), can be
// watched like any interface, and stays when virtual interfaces are hidden.
TEST_F(MainWindowTest, TheUplinkTotalAndHidingVirtualInterfaces) {
    fake->Find(2)->Kind = fake->Find(3)->Kind = TLinkKind::Physical;
    fake->Find(7)->Kind = TLinkKind::Tun;
    fake->AddTraffic(3, 100, 0);
    auto w = shown();
    w->acIntfView->trigger();
    EXPECT_EQ(rowNames(*w), (QStringList{"eth0", "tun0", "All physical"}));
    EXPECT_EQ(menuNames(*w), (QStringList{"eth0", "wlan0", "tun0", "All physical"}));
    w->UpdateTraffic();
    const QTreeWidgetItem* uplink = w->Tree->topLevelItem(2);
    EXPECT_EQ(uplink->text(TInterfaceTree::colDownload), "1.60 KB");  // 1536 + 100 at first sight
    fake->AddTraffic(2, 1024, 0);
    fake->AddTraffic(7, 999999, 0);  // the tunnel's bytes passed the card already
    w->UpdateTraffic();
    EXPECT_EQ(uplink->text(TInterfaceTree::colDownload), "2.60 KB");

    w->acHideVirtual->trigger();
    EXPECT_EQ(rowNames(*w), (QStringList{"eth0", "All physical"}));
    w->acOOI->trigger();  // all states: the card that is down shows too
    EXPECT_EQ(rowNames(*w), (QStringList{"eth0", "wlan0", "All physical"}));

    w->Tree->topLevelItem(2)->setCheckState(0, Qt::Checked);
    ASSERT_EQ(w->Watchers().size(), 1u);
    EXPECT_EQ(w->Watchers()[0]->Adapter().IntfIdx, kUplinkIndex);
    EXPECT_EQ(w->Watchers()[0]->accessibleName(), "All physical traffic");
    EXPECT_NE(test::ReadWholeFile(file).find("All physical=1"), std::string::npos);

    // A machine without a network card has no total.
    fake->Find(2)->Kind = fake->Find(3)->Kind = TLinkKind::Other;
    w->RefreshData();
    EXPECT_FALSE(menuNames(*w).contains("All physical"));
}

// The tray readout: off at first; an interface chosen in its menu is kept in
// the settings file and its rates become the icon's two lines.
TEST_F(MainWindowTest, TheTrayReadoutIsChosenAndKept) {
    auto w = shown();
    EXPECT_TRUE(w->TrayReadoutInterface().isEmpty());
    EXPECT_TRUE(w->LastTrayReadout().Download.empty());
    emit w->TrayReadoutMenu->aboutToShow();
    QStringList items;
    for (QAction* a : w->TrayReadoutMenu->actions())
        if (!a->isSeparator()) items << a->text();
    EXPECT_EQ(items, (QStringList{"&Off", "eth0", "wlan0", "tun0"}));
    EXPECT_TRUE(w->TrayReadoutMenu->actions().at(0)->isChecked());
    w->TrayReadoutMenu->actions().at(2)->trigger();  // eth0
    EXPECT_EQ(w->TrayReadoutInterface(), "eth0");
    EXPECT_NE(test::ReadWholeFile(file).find("TrayReadout=eth0"), std::string::npos);
    EXPECT_EQ(w->LastTrayReadout().Download, "0B");  // no rate before a second reading
    fake->AddTraffic(2, 50 * 1048576, 0);
    QTest::qWait(20);
    w->UpdateTrayReadout();
    // 50 MB in the few milliseconds since the first reading.
    EXPECT_NE(std::string("MG").find(w->LastTrayReadout().Download.back()), std::string::npos)
        << w->LastTrayReadout().Download;
    EXPECT_EQ(w->LastTrayReadout().Upload, "0B");
    w->pmSpeed->trigger();  // bits then
    fake->AddTraffic(2, 1000, 0);
    w->UpdateTrayReadout();
    EXPECT_NE(w->LastTrayReadout().Download.find_first_of("bkMG"), std::string::npos);
    emit w->TrayReadoutMenu->aboutToShow();
    w->TrayReadoutMenu->actions().at(0)->trigger();  // off
    EXPECT_TRUE(w->LastTrayReadout().Download.empty());
    EXPECT_NE(test::ReadWholeFile(file).find("TrayReadout=\n"), std::string::npos);
}

TEST_F(MainWindowTest, FocusFollowsTheInterfaceAcrossARefresh) {
    auto w = shown();
    w->Tree->setCurrentItem(w->Tree->topLevelItem(1));  // tun0
    std::swap(fake->links[0], fake->links[2]);  // tun0 now comes first
    w->RefreshData();
    ASSERT_NE(w->Tree->currentItem(), nullptr);
    EXPECT_EQ(w->Tree->currentItem()->text(0), "tun0");
    EXPECT_EQ(w->Tree->indexOfTopLevelItem(w->Tree->currentItem()), 0);
}

TEST_F(MainWindowTest, TotalsAndTheBoldBestInterface) {
    auto w = shown();
    QTreeWidgetItem* eth = w->Tree->topLevelItem(0);
    const int reads = fake->totalCalls();
    w->UpdateTraffic();  // the list is hidden: nothing is read or written
    EXPECT_EQ(fake->totalCalls(), reads);
    w->Tree->show();
    EXPECT_EQ(eth->text(1), "0.00 B");  // until the next tick
    EXPECT_EQ(eth->text(2), "0.00 B");
    w->UpdateTraffic();
    EXPECT_EQ(eth->text(1), "1.50 KB");
    EXPECT_EQ(eth->text(2), "3.00 MB");
    EXPECT_TRUE(eth->font(0).bold());
    EXPECT_TRUE(eth->font(2).bold());
    EXPECT_FALSE(w->Tree->topLevelItem(1)->font(0).bold());
    w->RefreshData();
    EXPECT_EQ(w->Tree->topLevelItem(0)->text(1), "0.00 B");

    fake->route.reset();
    fake->Find(2)->OperState = IF_OPER_DORMANT;  // nothing operational: no best interface
    fake->Find(7)->OperState = IF_OPER_DORMANT;
    fake->addresses = {{2, 0, 8}};  // and no address
    w->RefreshData();
    ASSERT_EQ(w->Configuration().BestInterfaceIdx(), 0u);
    for (int i = 0; i < w->Tree->topLevelItemCount(); ++i) EXPECT_FALSE(w->Tree->topLevelItem(i)->font(0).bold());
}

// A tick reports as changed only the cells whose counters moved: the name,
// icon and check box of a row are not repainted for new counters.
TEST_F(MainWindowTest, ATickChangesOnlyTheCountersThatMoved) {
    auto w = shown();
    w->Tree->show();
    w->UpdateTraffic();
    std::vector<std::pair<int, int>> changed;  // row, column
    QObject::connect(w->Tree->model(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         for (int r = from.row(); r <= to.row(); ++r)
                             for (int c = from.column(); c <= to.column(); ++c) changed.emplace_back(r, c);
                     });
    w->UpdateTraffic();
    EXPECT_TRUE(changed.empty());  // nothing moved
    fake->AddTraffic(2, 5, 0);  // eth0 received, still shown as "1.50 KB"
    w->UpdateTraffic();
    EXPECT_EQ(changed, (std::vector<std::pair<int, int>>{{0, 1}}));
    changed.clear();
    fake->AddTraffic(2, 0, 1048576);  // sent: the counter and its text
    w->UpdateTraffic();
    EXPECT_EQ(changed, (std::vector<std::pair<int, int>>{{0, 2}, {0, 2}}));
    EXPECT_EQ(w->Tree->topLevelItem(0)->text(2), "4.00 MB");
    EXPECT_EQ(TInterfaceTree::NodeData(w->Tree->topLevelItem(0)).Sent, 4u * 1048576);
    EXPECT_EQ(TInterfaceTree::NodeData(w->Tree->topLevelItem(0)).IntfIdx, 2u);
}

TEST_F(MainWindowTest, InterfaceViewChangesTheHeightByTheListsHeight) {
    auto w = shown();
    const int before = w->height();
    w->acIntfView->trigger();
    EXPECT_FALSE(w->Tree->isHidden());
    EXPECT_EQ(w->height(), before + Twnd_vx_Main::kTreeHeight);
    EXPECT_TRUE(w->acIntfView->isChecked());
    w->acIntfView->trigger();
    EXPECT_TRUE(w->Tree->isHidden());
    EXPECT_EQ(w->height(), before);
}

TEST_F(MainWindowTest, CheckingAnInterfaceMarksItAndWritesTheSettingsAtOnce) {
    auto w = shown();
    QTreeWidgetItem* tun = w->Tree->topLevelItem(1);
    tun->setCheckState(0, Qt::Checked);  // as the user's click does
    EXPECT_TRUE(w->Configuration().AdapterMark(2));
    EXPECT_TRUE(w->MonitorMenu->actions().at(2)->isChecked());
    EXPECT_EQ(test::ReadWholeFile(file), "[Settings]\nUnits=0\nPeriod=1\nTrayReadout=\neth0=0\nwlan0=0\ntun0=1\n");

    w->MonitorMenu->actions().at(2)->trigger();  // unchecks it through the menu
    EXPECT_FALSE(w->Configuration().AdapterMark(2));
    EXPECT_EQ(w->Tree->topLevelItem(1)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(test::ReadWholeFile(file), "[Settings]\nUnits=0\nPeriod=1\nTrayReadout=\neth0=0\nwlan0=0\ntun0=0\n");
}

TEST_F(MainWindowTest, UsageFromTheMenusAndFromAGraph) {
    auto w = shown();
    EXPECT_EQ(w->acUsage->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_U));
    EXPECT_TRUE(w->PopupMenu1->actions().contains(w->acUsage));
    ASSERT_NE(w->Usage(), nullptr);
    EXPECT_EQ(w->Usage()->Store().Path(), "");  // opened once the window is up
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->Usage()->Store().Path().empty(); }, 3000));
    EXPECT_EQ(w->Usage()->Store().Path(), dir.file("vantrix.usage.sqlite"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("vantrix.usage.sqlite")));

    w->Tree->show();
    w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    ASSERT_EQ(w->Watchers().size(), 1u);
    Tfrm_vx_Watcher* watcher = w->Watchers()[0];
    auto* graphMenu = watcher->findChild<QMenu*>(QStringLiteral("GraphMenu"));
    ASSERT_NE(graphMenu, nullptr);
    QStringList texts;
    for (QAction* a : graphMenu->actions()) texts << a->text();
    EXPECT_EQ(texts.value(0), "&Export history...");
    EXPECT_EQ(texts.value(1), "Clear session &totals...");
    EXPECT_EQ(texts.value(2), "Usa&ge of eth0...");
    EXPECT_TRUE(graphMenu->actions().contains(w->acExit));  // and everything of the window's menu

    TUsageWindow* usage = w->ShowUsage();
    ASSERT_NE(usage, nullptr);
    EXPECT_TRUE(usage->isVisible());
    EXPECT_EQ(w->ShowUsage(), usage);  // one window, raised again
}

TEST_F(MainWindowTest, RefreshesAndTicksWriteNothing) {
    auto w = shown();
    w->UpdateTraffic();
    w->RefreshData();
    w->UpdateTraffic();
    w->acOOI->trigger();
    EXPECT_FALSE(std::filesystem::exists(file));  // nothing but a user's check writes in this mode
}

TEST_F(MainWindowTest, StoredMarksComeBackAtTheNextStart) {
    test::WriteWholeFile(file, "[Settings]\neth0=1\n[Twnd_vx_Main\\Tree]\nTag=0\nVisible=1\n");
    auto w = shown();
    EXPECT_FALSE(w->Tree->isHidden());
    EXPECT_TRUE(w->acIntfView->isChecked());
    EXPECT_FALSE(w->acOOI->isChecked());
    EXPECT_EQ(w->Tree->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_TRUE(w->MonitorMenu->actions().at(0)->isChecked());
    EXPECT_EQ(rowNames(*w).size(), 3);
}

TEST_F(MainWindowTest, EmptySnapshotGivesAnEmptyListAndMenu) {
    fake->failWith["Links"] = std::make_error_code(std::errc::address_family_not_supported);
    auto w = shown();
    EXPECT_EQ(w->Tree->topLevelItemCount(), 0);
    EXPECT_TRUE(w->MonitorMenu->actions().isEmpty());
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST_F(MainWindowTest, WatchersOpenOnTopAndCloseWithTheirInterface) {
    auto w = shown();
    w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);  // eth0
    w->Tree->topLevelItem(1)->setCheckState(0, Qt::Checked);  // tun0
    ASSERT_EQ(w->Watchers().size(), 2u);
    EXPECT_EQ(w->Watchers()[0]->objectName(), "Watcher_2");
    EXPECT_EQ(w->Watchers()[1]->Header->Caption(), "tun0");
    EXPECT_LT(w->Watchers()[1]->y(), w->Watchers()[0]->y() + 1);  // the newest on top
    EXPECT_EQ(w->Watchers()[0]->height(), Tfrm_vx_Watcher::kOpenHeight);
    EXPECT_TRUE(w->Watchers()[0]->Timer.isActive());
    EXPECT_EQ(w->Watchers()[0]->Timer.Period(), 1000);

    w->pmFast->trigger();  // the period retimes every open watcher
    EXPECT_EQ(w->Watchers()[0]->Timer.Period(), 500);
    EXPECT_EQ(w->Watchers()[1]->Timer.Period(), 500);
    w->pmSpeed->trigger();  // default units leave open watchers alone
    EXPECT_EQ(w->Watchers()[0]->Units(), 0);

    w->MonitorMenu->actions().at(0)->trigger();  // uncheck eth0 through the menu
    ASSERT_EQ(w->Watchers().size(), 1u);
    EXPECT_EQ(w->Watchers()[0]->Adapter().Name, "tun0");
    EXPECT_EQ(w->Tree->topLevelItem(0)->checkState(0), Qt::Unchecked);

    w->RefreshData();  // a refresh keeps what is watched
    EXPECT_EQ(w->Watchers().size(), 1u);
}

TEST_F(MainWindowTest, WatchedInterfacesReopenAtTheNextStart) {
    test::WriteWholeFile(file, "[Settings]\nUnits=1\nPeriod=2\neth0=1\ntun0=1\n");
    auto w = shown();
    ASSERT_EQ(w->Watchers().size(), 2u);
    EXPECT_EQ(w->Watchers()[1]->Adapter().Name, "tun0");  // the last in snapshot order ends on top
    EXPECT_EQ(w->Watchers()[1]->Units(), 1);
    EXPECT_EQ(w->Watchers()[1]->Timer.Period(), 2000);
    EXPECT_TRUE(w->pmSpeed->isChecked());
    EXPECT_TRUE(w->pmSlow->isChecked());
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST_F(MainWindowTest, AnUnwritableSettingsFileDoesNotStopAClick) {
    test::WriteWholeFile(file, "[Settings]\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    auto w = shown();
    w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(w->Configuration().AdapterMark(0));  // the choice holds for this run
    EXPECT_EQ(w->Watchers().size(), 1u);
    EXPECT_EQ(test::ReadWholeFile(file), "[Settings]\n");
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST_F(MainWindowTest, HideWithoutATrayMinimisesInstead) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());  // the headless platform has none
    auto w = shown();
    w->acHide->trigger();
    EXPECT_TRUE(w->isVisible());  // still reachable from the taskbar
    EXPECT_TRUE(w->isMinimized());
}

// With the caption hidden there is no menu bar: every command of the main
// menu is in the context (and tray) menu, submenus included.
TEST_F(MainWindowTest, TheContextMenuHoldsEveryMainMenuCommand) {
    auto w = shown();
    const std::function<void(const QMenu*, QSet<QAction*>&)> collect = [&](const QMenu* menu, QSet<QAction*>& into) {
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            if (a->menu()) {
                into.insert(a->menu()->menuAction());
                collect(a->menu(), into);
            } else {
                into.insert(a);
            }
        }
    };
    QSet<QAction*> inMenuBar, inContext;
    for (QAction* top : w->menuBar()->actions())
        if (top->menu()) collect(top->menu(), inMenuBar);
    collect(w->PopupMenu1, inContext);
    // The menu bar's own menus (File, View, Help) are only containers; the
    // Monitor menu and the two settings submenus are reached as submenus.
    for (QAction* top : w->menuBar()->actions()) inMenuBar.remove(top);
    for (QAction* a : inMenuBar) EXPECT_TRUE(inContext.contains(a)) << a->text().toStdString();
    EXPECT_TRUE(inContext.contains(w->MonitorMenu->menuAction()));
    EXPECT_TRUE(inContext.contains(w->pmFast) && inContext.contains(w->pmSpeed) && inContext.contains(w->acAbout));
}

// Every menu can be worked from the keyboard: each item has an access key,
// none twice in one menu (submenus and the graph's menu included), in
// English and in each translation.
TEST_F(MainWindowTest, EveryMenuItemHasItsOwnAccessKeyInEveryLanguage) {
    const auto key = [](const QString& text) {
        const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
        return at < 0 ? QChar() : text.at(at + 1).toLower();
    };
    QStringList languages = TranslatedLanguages();
    ASSERT_FALSE(languages.isEmpty());
    languages.prepend(QStringLiteral("en"));
    for (const QString& language : languages) {
        SCOPED_TRACE(language.toStdString());
        EXPECT_EQ(InstallTranslations(QLocale(language)), language == QLatin1String("en") ? QString() : language);
        auto w = shown();
        w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
        ASSERT_EQ(w->Watchers().size(), 1u);
        std::vector<const QMenu*> menus{w->PopupMenu1, w->Watchers()[0]->findChild<QMenu*>("GraphMenu")};
        QSet<QChar> barKeys;
        for (QAction* top : w->menuBar()->actions()) {
            const QChar k = key(top->text());
            EXPECT_FALSE(k.isNull()) << top->text().toStdString();
            EXPECT_FALSE(barKeys.contains(k)) << top->text().toStdString() << " in the menu bar";
            barKeys.insert(k);
            if (top->menu()) menus.push_back(top->menu());
        }
        for (std::size_t i = 0; i < menus.size(); ++i) {
            ASSERT_NE(menus[i], nullptr);
            QSet<QChar> seen;
            for (QAction* a : menus[i]->actions()) {
                if (a->isSeparator()) continue;
                if (a->menu()) menus.push_back(a->menu());
                // Interface names, chosen by their first letters.
                if (menus[i] == w->MonitorMenu || a->property("vxInterfaceItem").toBool()) continue;
                // Hide and Show are one item: both texts checked.
                for (const QString& text : a == w->acHide ? QStringList{w->acHide->text(), Twnd_vx_Main::tr("&Show")}
                                                          : QStringList{a->text()}) {
                    const QChar k = key(text);
                    EXPECT_FALSE(k.isNull()) << text.toStdString();
                    EXPECT_FALSE(seen.contains(k) && text != Twnd_vx_Main::tr("&Show"))
                        << text.toStdString() << " in " << menus[i]->title().toStdString();
                    seen.insert(k);
                }
            }
        }
        w.reset();
        RemoveTranslations();
    }
}

// The settings file is the same whatever the language: its sections, keys
// and values are never texts that a translation changes.
TEST_F(MainWindowTest, TheSettingsFileIsTheSameInEveryLanguage) {
    const auto settingsIn = [this](const QString& language) {
        InstallTranslations(QLocale(language));
        std::filesystem::remove(file);
        {
            auto w = shown();
            w->acPersistent->trigger();
            w->acIntfView->trigger();
            w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
            w->pmSpeed->trigger();
            w->pmFast->trigger();
            w->close();
        }
        RemoveTranslations();
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string english = settingsIn(QStringLiteral("en"));
    ASSERT_NE(english.find("Units"), std::string::npos) << english;
    for (const QString& language : TranslatedLanguages())
        EXPECT_EQ(settingsIn(language), english) << language.toStdString();
}

// Keyboard only: Ctrl+I puts the focus in the list; Tab goes on through the
// watchers from the top down (unit, properties, graph); the graph's menu
// opens on the Menu key and on Shift+F10; the panels and their controls
// say which interface they belong to.
TEST_F(MainWindowTest, TheKeyboardReachesEverythingInOrder) {
    auto w = shown();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QMenu* fileMenu = w->menuBar()->actions().at(0)->menu();
    QTest::keyClick(w.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fileMenu->isVisible(); }, 2000)) << "Alt+F opens File";
    fileMenu->hide();
    w->activateWindow();
    w->acIntfView->trigger();
    EXPECT_EQ(QApplication::focusWidget(), w->Tree);
    w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);  // eth0
    w->Tree->topLevelItem(1)->setCheckState(0, Qt::Checked);  // tun0, on top
    ASSERT_EQ(w->Watchers().size(), 2u);
    Tfrm_vx_Watcher* upper = w->Watchers()[1];
    Tfrm_vx_Watcher* lower = w->Watchers()[0];
    ASSERT_LT(upper->y(), lower->y());
    w->Tree->setFocus();
    std::vector<QWidget*> visited;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    const std::vector<QWidget*> expected{upper->cbUnits, upper->bProps, upper->sp_XYPlot,
                                         lower->cbUnits, lower->bProps, lower->sp_XYPlot};
    EXPECT_EQ(visited, expected);

    auto* graphMenu = upper->findChild<QMenu*>("GraphMenu");
    ASSERT_NE(graphMenu, nullptr);
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers{}},
                                         std::pair{Qt::Key_F10, Qt::KeyboardModifiers{Qt::ShiftModifier}}}) {
        upper->sp_XYPlot->setFocus();
        QTest::keyClick(upper->sp_XYPlot, key, modifiers);
        EXPECT_TRUE(QTest::qWaitFor([&] { return graphMenu->isVisible(); }, 2000)) << key;
        graphMenu->hide();
    }
    EXPECT_TRUE(graphMenu->actions().contains(upper->acClearSession));

    const auto name = [](QObject* o) { return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name); };
    EXPECT_EQ(name(upper), "tun0 traffic");
    // On Linux a combo box's name is its value; what it is for is its description.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(upper->cbUnits)->text(QAccessible::Description), "Units of tun0");
    EXPECT_EQ(name(upper->bProps), "Properties of tun0");
    EXPECT_EQ(name(upper->sp_XYPlot), "tun0 graph");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(upper->sp_XYPlot)->role(), QAccessible::Chart);
    EXPECT_EQ(name(upper->lDL), "Current download");
}

// The tray menu's Hide says Show while the window is hidden or minimised,
// and then brings it back.
TEST_F(MainWindowTest, HideBecomesShowWhileTheWindowIsAway) {
    auto w = shown();
    emit w->PopupMenu1->aboutToShow();
    EXPECT_EQ(w->acHide->text(), "&Hide");
    w->acHide->trigger();  // no tray here: minimised
    ASSERT_TRUE(w->isMinimized());
    emit w->PopupMenu1->aboutToShow();
    EXPECT_EQ(w->acHide->text(), "&Show");
    w->acHide->trigger();
    EXPECT_FALSE(w->isMinimized());
    emit w->PopupMenu1->aboutToShow();
    EXPECT_EQ(w->acHide->text(), "&Hide");
}

// While no watcher is open, the watcher area says how to open one; the
// hint goes with the first watcher and comes back with the last one closed.
TEST_F(MainWindowTest, AHintWhileNothingIsWatched) {
    auto w = shown();
    auto* hint = w->findChild<QLabel*>("NoWatcherHint");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(), Twnd_vx_Main::kNoWatcherHint);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_GT(hint->width(), 300);
    w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    ASSERT_EQ(w->Watchers().size(), 1u);
    EXPECT_FALSE(hint->isVisible());
    w->Tree->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_TRUE(hint->isVisible());
}

// Tooltips come at once and stay 100 seconds.
TEST_F(MainWindowTest, TooltipTiming) {
    auto w = shown();
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1);
    w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    Tfrm_vx_Watcher* watcher = w->Watchers().at(0);
    watcher->TimerTimer();
    watcher->sp_XYPlotMouseMove(100, 40);
    QHelpEvent help(QEvent::ToolTip, QPoint(100, 40), watcher->sp_XYPlot->mapToGlobal(QPoint(100, 40)));
    QApplication::sendEvent(watcher->sp_XYPlot, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().startsWith("Timestamp: "));
    QToolTip::hideText();
}

// The question belongs to the main window whatever else is up (a tooltip,
// no active window), and comes every time.
TEST_F(MainWindowTest, SessionTotalsQuestionEveryTime) {
    auto w = shown();
    w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    Tfrm_vx_Watcher* watcher = w->Watchers().at(0);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        QToolTip::showText(watcher->mapToGlobal(QPoint(5, 5)), "a tooltip", watcher->sp_XYPlot, {}, 100000);
        QWidget* owner = nullptr;
        bool asked = false;
        QTimer::singleShot(50, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked = true;
                owner = box->parentWidget();
                box->button(QMessageBox::No)->click();
            }
        });
        QTest::mouseDClick(watcher->Panel1, Qt::LeftButton);
        EXPECT_TRUE(asked);
        EXPECT_EQ(owner, w.get());
    }
    QToolTip::hideText();
}

// Dialogs opened over an Always Visible window stay above it; the adapter
// dialog has a fixed size.
TEST_F(MainWindowTest, DialogsAboveAnAlwaysVisibleWindow) {
    auto w = shown();
    w->acOnTop->trigger();
    ASSERT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    struct Seen {
        QWidget* parent = nullptr;
        bool onTop = false, fixed = false;
    } seen;
    QTimer::singleShot(50, [&] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            seen = {d->parentWidget(), bool(d->windowFlags() & Qt::WindowStaysOnTopHint),
                    d->minimumSize() == d->maximumSize()};
            d->accept();
        }
    });
    w->Tree->setCurrentItem(w->Tree->topLevelItem(0));
    emit w->Tree->itemDoubleClicked(w->Tree->topLevelItem(0), 0);
    EXPECT_EQ(seen.parent, w.get());
    EXPECT_TRUE(seen.onTop);
    EXPECT_TRUE(seen.fixed);
}

}  // namespace
}  // namespace vx
