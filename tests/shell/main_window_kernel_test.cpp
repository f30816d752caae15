// The interface list against the kernel: the namespace's veth interface is
// listed and its totals grow with traffic.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTest>

#include "netconfig/namespace_fixture.h"
#include "persistence/ini_storage.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "support/temp_dir.h"
#include "usage/usage_day.h"

namespace vx {
namespace {

QTreeWidgetItem* rowNamed(Twnd_vx_Main& w, const QString& name) {
    for (int i = 0; i < w.Tree->topLevelItemCount(); ++i)
        if (w.Tree->topLevelItem(i)->text(0) == name) return w.Tree->topLevelItem(i);
    return nullptr;
}

// Each test's main window keeps its layout in a fresh settings file, given
// up even when the test stops early.
class MainWindowKernelTest : public ::testing::Test {
protected:
    void SetUp() override {
        VX_REQUIRE_KERNEL_LAB();
        LayoutStorage = std::make_shared<TLayoutManagerINIStorage>();
        LayoutStorage->SetFileName(dir_.file("vantrix.ini"));
    }
    void TearDown() override { LayoutStorage.reset(); }

private:
    test::TTempDir dir_;
};

TEST_F(MainWindowKernelTest, ListsTheVethInterfaceWithGrowingTotals) {
    {
        Twnd_vx_Main w;
        w.show();
        w.Tree->show();  // the list is read only while it is shown
        QTreeWidgetItem* row = rowNamed(w, "vxa");
        ASSERT_NE(row, nullptr);
        EXPECT_TRUE(row->font(0).bold());  // the default route goes through it
        w.UpdateTraffic();
        const auto before = TInterfaceTree::NodeData(row).Sent;

        test::TKernelLab::SendUdpToPeer(50, 1200);

        EXPECT_TRUE(QTest::qWaitFor([&] { return TInterfaceTree::NodeData(row).Sent >= before + 50 * 1200; }, 3000));
        EXPECT_NE(row->text(2), "0.00 B");

        // An address added to the system shows up without a manual refresh.
        ASSERT_TRUE(test::TKernelLab::Run("ip link add vxe type veth peer name vxf && ip link set vxe up && "
                                          "ip link set vxf up"));
        w.acOOI->trigger();  // list every interface, not only working ones
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.Configuration().FindAdapter(std::string("vxe")) >= 0; }, 3000));
    }
}


// A watcher on the namespace's interface counts what really went out.
TEST_F(MainWindowKernelTest, AWatcherMeasuresRealTraffic) {
    {
        Twnd_vx_Main w;
        w.show();
        w.Tree->show();  // the list is read only while it is shown
        QTreeWidgetItem* row = rowNamed(w, "vxa");
        ASSERT_NE(row, nullptr);
        row->setCheckState(0, Qt::Checked);
        ASSERT_EQ(w.Watchers().size(), 1u);
        Tfrm_vx_Watcher* watcher = w.Watchers()[0];
        watcher->Timer.stop();  // ticks by hand
        watcher->TimerTimer();  // the baseline
        test::TKernelLab::SendUdpToPeer(100, 1000);
        ASSERT_TRUE(test::TKernelLab::PeerSendsUdp(40, 500));
        watcher->TimerTimer();
        EXPECT_NE(watcher->lUL->text(), "0.00 B");
        EXPECT_NE(watcher->lDL->text(), "0.00 B");
        EXPECT_EQ(watcher->sp_XYLine1.Count(), 2);
        EXPECT_GT(watcher->sp_XYLine2.GetY(1), 0);
        // The session total holds at least the payloads (plus headers).
        EXPECT_NE(watcher->lTUL->text(), "0.00 B");
        // The watcher's totals are the list's: the same 64-bit counters.
        watcher->TimerTimer();
        w.UpdateTraffic();
        EXPECT_EQ(watcher->lDLTotal->text(), row->text(TInterfaceTree::colDownload));
        EXPECT_EQ(watcher->lULTotal->text(), row->text(TInterfaceTree::colUpload));
    }
}

// Traffic over the veth is in the day's usage within an interval, and
// still there when the window starts again.
TEST_F(MainWindowKernelTest, TrafficLandsInTheUsageHistory) {
    const int interval = Twnd_vx_Main::UsageIntervalMs;
    Twnd_vx_Main::UsageIntervalMs = 200;
    auto usedToday = [](Twnd_vx_Main& w) -> std::uint64_t {
        TUsageStore& store = w.Usage()->Store();
        for (const TUsageInterface& i : store.Interfaces())
            if (i.Name == "vxa") return store.Sum(i.Id, w.Usage()->Today(), AddDays(w.Usage()->Today(), 1)).Sent;
        return 0;
    };
    std::uint64_t sent = 0;
    {
        Twnd_vx_Main w;
        w.show();
        // The history opens and takes its baseline.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Usage()->Store().Path().empty(); }, 3000));
        test::TKernelLab::SendUdpToPeer(100, 1200);
        EXPECT_TRUE(QTest::qWaitFor([&] { return usedToday(w) >= 100 * 1200; }, 5000));
        sent = usedToday(w);
    }
    {
        Twnd_vx_Main w;
        w.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Usage()->Store().Path().empty(); }, 3000));
        EXPECT_GE(usedToday(w), sent);
        test::TKernelLab::SendUdpToPeer(10, 1000);
        EXPECT_TRUE(QTest::qWaitFor([&] { return usedToday(w) >= sent + 10 * 1000; }, 5000));
    }
    Twnd_vx_Main::UsageIntervalMs = interval;
}

}  // namespace
}  // namespace vx
