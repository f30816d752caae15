#include <gtest/gtest.h>

#include <QFontMetricsF>

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <vector>

#include "support/fake_link_source.h"
#include "support/manual_clock.h"
#include "support/temp_dir.h"
#include "sysinfo/format_settings.h"
#include "watcher/display_helpers.h"
#include "watcher/watcher_panel.h"

namespace vx {
namespace {

class WatcherPanelTest : public ::testing::Test {
protected:
    std::shared_ptr<test::TFakeLinkSource> net = std::make_shared<test::TFakeLinkSource>();
    std::shared_ptr<test::TManualClock> clock = std::make_shared<test::TManualClock>();
    std::unique_ptr<Tfrm_vx_Watcher> panel;

    void SetUp() override {
        FormatSettings.DecimalSeparator = ".";
        net->SetCounters(3, 10000, 5000);
        panel = std::make_unique<Tfrm_vx_Watcher>(nullptr, net, clock);
        TAdapter a;
        a.Name = "eth0";
        a.IntfIdx = 3;
        a.IPAddress = std::make_shared<TStringList>(TStringList{"10.0.0.2=255.0.0.0"});
        panel->SetAdapter(a);
        panel->Initialize();
        panel->SetUnits(0);
        panel->resize(475, 210);
        panel->show();
    }
    void tick(std::uint64_t in, std::uint64_t out) {
        net->SetCounters(3, in, out);
        clock->advanceMs(1000);
        panel->TimerTimer();
    }
};

TEST_F(WatcherPanelTest, FiguresOfASample) {
    tick(10000, 5000);
    tick(10000 + 3 * 1024, 5000 + 1536);
    EXPECT_EQ(panel->lDL->text(), "3.00 KB");
    EXPECT_EQ(panel->lUL->text(), "1.50 KB");
    EXPECT_EQ(panel->lDLMax->text(), "3.00 KB");
    EXPECT_EQ(panel->lDLTotal->text(), "12.77 KB");  // the interface's counter
    EXPECT_EQ(panel->lTDL->text(), "3.00 KB");       // the session
    EXPECT_EQ(panel->sp_XYLine1.Count(), 2);
    EXPECT_DOUBLE_EQ(panel->sp_XYLine1.GetY(1), 3.0);

    panel->cbUnits->setCurrentIndex(1);  // Speed: rates in bits, totals stay in bytes
    tick(10000 + 4 * 1024, 5000 + 1536);
    EXPECT_EQ(panel->lDL->text(), "8.19 Kbps");
    EXPECT_EQ(panel->lDLTotal->text(), "13.77 KB");
    EXPECT_EQ(panel->lTDL->text(), "4.00 KB");
    EXPECT_NEAR(panel->sp_XYPlot->BottomAxis().Min(), clock->now - 1.0 / 86400, 1.0 / 86400);  // window restarted
}

// The value cells' figures are all of one width (tabular), so a changing
// value does not jump.
TEST_F(WatcherPanelTest, ValueCellsHaveFiguresOfOneWidth) {
    auto oneWidth = [](const QFont& font) {
        const QFontMetricsF m(font);
        for (char d = '1'; d <= '9'; ++d)
            if (!qFuzzyCompare(m.horizontalAdvance(QLatin1Char(d)), m.horizontalAdvance(QLatin1Char('0')))) return false;
        return true;
    };
    for (QLabel* cell : {panel->lDL, panel->lDLMax, panel->lDLTotal, panel->lUL, panel->lULMax, panel->lULTotal,
                         panel->lTDL, panel->lTUL})
        EXPECT_TRUE(oneWidth(cell->font())) << cell->accessibleName().toStdString();
}

TEST_F(WatcherPanelTest, TooltipReadsThePointUnderThePointer) {
    tick(10000, 5000);
    panel->sp_XYPlotMouseMove(100, 50);
    EXPECT_TRUE(panel->sp_XYPlot->toolTip().startsWith("Timestamp: "));
    EXPECT_TRUE(panel->sp_XYPlot->toolTip().contains(" KB"));
    panel->SetUnits(1);
    panel->sp_XYPlotMouseMove(100, 50);
    EXPECT_TRUE(panel->sp_XYPlot->toolTip().endsWith(" kbps"));  // lower case, unlike the cells
    panel->SetUnits(-1);
    panel->sp_XYPlotMouseMove(100, 50);
    EXPECT_TRUE(panel->sp_XYPlot->toolTip().endsWith("Value: "));
}

TEST_F(WatcherPanelTest, DoubleClickResetsTheView) {
    tick(10000, 5000);
    tick(10000 + 40 * 1024, 5000);  // 40 KB/s raises the axes
    panel->sp_XYPlot->LeftAxis().SetMinMax(0, 500);
    panel->sp_XYPlotDblClick();
    EXPECT_EQ(panel->sp_XYPlot->LeftAxis().Max(), 1);  // [0, MS] with MS 0 since the growth: widened to 0..1
    EXPECT_EQ(panel->sp_XYPlot->BottomAxis().Min(), clock->now);
}

TEST_F(WatcherPanelTest, SessionTotalsClearAfterYes) {
    tick(10000, 5000);
    tick(20000, 5000);
    QTimer::singleShot(50, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->button(QMessageBox::Yes)->click();
    });
    panel->Panel1DblClick();
    tick(20000, 5000);
    EXPECT_EQ(panel->lTDL->text(), "0.00 B");
}

// One tick (sample, two points added, the oldest dropped, axes moved) is
// painted once, whatever it changed.
TEST_F(WatcherPanelTest, OnePaintPerTick) {
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    panel->sp_XYPlot->installEventFilter(&counter);
    tick(10000, 5000);
    QApplication::processEvents();
    for (int i = 1; i <= 5; ++i) {
        counter.paints = 0;
        tick(10000 + static_cast<std::uint32_t>(i) * 50000, 5000);  // new peaks: the axes grow too
        QApplication::processEvents();
        EXPECT_EQ(counter.paints, 1) << i;
    }
}

// Past 4 GiB the totals keep counting: the panel shows what the interface
// list shows for the same 64-bit counters.
TEST_F(WatcherPanelTest, TotalsBeyondFourGiB) {
    const std::uint64_t fiveGiB = 5ull << 30;
    tick(fiveGiB, 1000);
    tick(fiveGiB + 1536, 1000);
    EXPECT_EQ(panel->lDLTotal->text(), "5.00 GB");
    EXPECT_EQ(panel->lTDL->text(), "1.50 KB");
}

// Every axis as designed: flags, tick count, label format, margin, grid.
TEST_F(WatcherPanelTest, AxesAsDesigned) {
    struct Row {
        const char* name;
        Tsp_Axis& axis;
        std::int32_t flags;
        int ticks;
        const char* format;
        bool grid;
    };
    Tsp_XYPlot& plot = *panel->sp_XYPlot;
    const Row rows[] = {
        {"left", plot.LeftAxis(), 1, 6, "###0.##", true},
        {"right", plot.RightAxis(), 33, 6, "###0.##", false},
        {"bottom", plot.BottomAxis(), 448, 3, "hh:mm:ss", true},
        {"top", plot.TopAxis(), 56, 5, "###0.##", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.axis.Flags(), r.flags);
        EXPECT_EQ(r.axis.RequestedTicks(), r.ticks);
        EXPECT_EQ(r.axis.LabelFormat(), r.format);
        EXPECT_EQ(r.axis.Margin(), 4);
        EXPECT_EQ(r.axis.GridAttr().Visible(), r.grid);
        EXPECT_EQ(r.axis.LineAttr().Color(), clBlack);
    }
}

TEST_F(WatcherPanelTest, HistoryExportsWithDotsInAnyLocale) {
    FormatSettings.DecimalSeparator = ",";  // what the user reads; the file keeps dots
    tick(10000, 5000);
    tick(10000 + 1536, 5000 + 256);
    tick(10000 + 1536 + 3 * 1024, 5000 + 256);
    test::TTempDir dir;
    ASSERT_EQ(panel->ExportHistoryTo(QString::fromStdString(dir.file("h.csv"))), "");
    const std::string csv = test::ReadWholeFile(dir.file("h.csv"));
    // 46000.5 is 2025-12-09 noon; the ticks are one second apart.
    EXPECT_EQ(csv,
              "time,download (KB/s),upload (KB/s)\n"
              "2025-12-09T12:00:01,0.00,0.00\n"
              "2025-12-09T12:00:02,1.50,0.25\n"
              "2025-12-09T12:00:03,3.00,0.00\n");
    panel->SetUnits(1);
    ASSERT_EQ(panel->ExportHistoryTo(QString::fromStdString(dir.file("h.csv"))), "");
    EXPECT_EQ(test::ReadWholeFile(dir.file("h.csv")).substr(0, 35), "time,download (kbps),upload (kbps)\n");
    EXPECT_NE(panel->ExportHistoryTo(QString::fromStdString(dir.file("no/such/folder.csv"))), "");
}

// A switch of units converts the points already drawn: the graph goes on
// in the new unit and every exported row is in the header's unit.
TEST_F(WatcherPanelTest, AUnitSwitchConvertsTheHistory) {
    tick(10000, 5000);
    tick(10000 + 1536, 5000 + 256);  // 1.50 KB/s = 12.29 kbps; 0.25 KB/s = 2.05 kbps
    panel->cbUnits->setCurrentIndex(1);  // Speed, as the user picks it
    tick(10000 + 1536 + 1000, 5000 + 256 + 125);  // 8.00 kbps, 1.00 kbps
    test::TTempDir dir;
    ASSERT_EQ(panel->ExportHistoryTo(QString::fromStdString(dir.file("h.csv"))), "");
    EXPECT_EQ(test::ReadWholeFile(dir.file("h.csv")),
              "time,download (kbps),upload (kbps)\n"
              "2025-12-09T12:00:01,0.00,0.00\n"
              "2025-12-09T12:00:02,12.29,2.05\n"
              "2025-12-09T12:00:03,8.00,1.00\n");
    EXPECT_NEAR(panel->sp_XYPlot->LeftAxis().Max(), 12.288, 1e-9);  // rescaled to the converted peak
    panel->cbUnits->setCurrentIndex(0);  // and back: the same figures as before
    ASSERT_EQ(panel->ExportHistoryTo(QString::fromStdString(dir.file("h.csv"))), "");
    EXPECT_EQ(test::ReadWholeFile(dir.file("h.csv")),
              "time,download (KB/s),upload (KB/s)\n"
              "2025-12-09T12:00:01,0.00,0.00\n"
              "2025-12-09T12:00:02,1.50,0.25\n"
              "2025-12-09T12:00:03,0.98,0.12\n");
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

// Timers of one period started at different moments fire on the same beat
// (one wake-up, one repaint for all), and then keep the period.
TEST(BeatTimerTest, TimersOfOnePeriodShareTheBeat) {
    TBeatTimer first, second;
    std::vector<std::chrono::steady_clock::time_point> firstTicks, secondTicks;
    QObject::connect(&first, &QTimer::timeout, [&] { firstTicks.push_back(std::chrono::steady_clock::now()); });
    QObject::connect(&second, &QTimer::timeout, [&] { secondTicks.push_back(std::chrono::steady_clock::now()); });
    first.StartOnBeat(200);
    QTest::qWait(70);
    second.StartOnBeat(200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return firstTicks.size() >= 3 && secondTicks.size() >= 2; }, 5000));
    // The second timer's first tick is the first timer's tick of that beat.
    const auto sameBeat = std::find_if(firstTicks.begin(), firstTicks.end(), [&](auto t) {
        return std::chrono::abs(t - secondTicks[0]) < std::chrono::milliseconds(60);
    });
    EXPECT_NE(sameBeat, firstTicks.end());
    EXPECT_EQ(first.interval(), 200);
    EXPECT_EQ(second.interval(), 200);
    EXPECT_EQ(second.Period(), 200);
}

}  // namespace
}  // namespace vx
