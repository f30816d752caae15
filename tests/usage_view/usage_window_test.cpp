// The Usage window over a recorded history: period totals, charts, the
// allowance and the export.
#include <gtest/gtest.h>

#include <filesystem>

#include <sqlite3.h>

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QTimer>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include "support/temp_dir.h"
#include "sysinfo/format_settings.h"
#include "support/fake_link_source.h"
#include "usage/usage_day.h"
#include "usage_view/usage_bar_chart.h"
#include "usage_view/usage_window.h"

namespace vx {
namespace {

constexpr std::uint64_t kMB = 1048576;

class UsageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        FormatSettings.DecimalSeparator = ".";
        FLinks->AddLink(2, "eth0").PermAddress = {0x00, 0x16, 0x3e, 0x00, 0x00, 0x01};
        FLinks->AddLink(3, "wlan0");
        test::WriteWholeFile(dir_.file("boot_id"), "boot-1\n");
        FRecorder = std::make_unique<TUsageRecorder>(dir_.file("u.sqlite"),
                                                     std::make_unique<TUsageCounterSource>(FLinks, dir_.file("boot_id")),
                                                     [this] { return FNow; });
        FRecorder->Start(3600000);
    }
    void TearDown() override {
        ::unsetenv("TZ");
        ::tzset();
    }
    // eth0 receives `rx` and sends `tx` on `day`.
    void traffic(int day, std::uint64_t rx, std::uint64_t tx) {
        FNow = LocalMidnight(day) + 10 * 3600;
        FLinks->AddTraffic(2, rx, tx);
        FRecorder->Record();
    }

    test::TTempDir dir_;
    std::shared_ptr<test::TFakeLinkSource> FLinks = std::make_shared<test::TFakeLinkSource>();
    std::time_t FNow = LocalMidnight(20251001);
    std::unique_ptr<TUsageRecorder> FRecorder;
};

TEST_F(UsageWindowTest, PeriodsAndChartsOfTheChosenInterface) {
    traffic(20251015, 100 * kMB, 0);  // last year: all time only (and 12 months)
    traffic(20261105, 10 * kMB, kMB);  // last month
    traffic(20261207, 2 * kMB, 0);     // Monday: this week
    traffic(20261209, 3 * kMB, 0);     // yesterday
    traffic(20261210, 4 * kMB, kMB);   // Thursday, today
    TUsageWindow w(*FRecorder);
    w.show();
    ASSERT_EQ(w.cbInterface->count(), 2);
    ASSERT_TRUE(w.SelectInterface("eth0"));
    EXPECT_FALSE(w.SelectInterface("ppp9"));
    auto cell = [&](int row, int column) { return w.Periods->topLevelItem(row)->text(column).toStdString(); };
    EXPECT_EQ(cell(TUsageWindow::rowToday, 1), "4.00 MB");
    EXPECT_EQ(cell(TUsageWindow::rowToday, 3), "5.00 MB");
    EXPECT_EQ(cell(TUsageWindow::rowYesterday, 1), "3.00 MB");
    EXPECT_EQ(cell(TUsageWindow::rowThisMonth, 1), "9.00 MB");
    EXPECT_EQ(cell(TUsageWindow::rowLastMonth, 2), "1.00 MB");
    EXPECT_EQ(cell(TUsageWindow::rowAllTime, 1), "119.00 MB");
    // From Monday or Sunday (the locale's first weekday), Monday's traffic counts.
    EXPECT_EQ(cell(TUsageWindow::rowThisWeek, 1), "9.00 MB");

    const auto& days = w.DaysChart->Bars();
    ASSERT_EQ(days.size(), 31u);
    EXPECT_EQ(days.back().Label, "10");
    EXPECT_EQ(days.back().Bytes.Received, 4 * kMB);
    EXPECT_EQ(days[days.size() - 2].Bytes.Received, 3 * kMB);
    EXPECT_EQ(days.front().Bytes.Total(), 0u);  // 9 November
    const auto& months = w.MonthsChart->Bars();
    ASSERT_EQ(months.size(), 12u);
    EXPECT_EQ(months.back().Bytes.Received, 9 * kMB);
    EXPECT_EQ(months[10].Bytes.Received, 10 * kMB);
    EXPECT_EQ(months.front().Bytes.Total(), 0u);  // January 2026: October 2025 is out of sight

    // The other interface has nothing yet.
    ASSERT_TRUE(w.SelectInterface("wlan0"));
    EXPECT_EQ(cell(TUsageWindow::rowAllTime, 3), "0.00 B");

    // New traffic shows after the next write.
    ASSERT_TRUE(w.SelectInterface("eth0"));
    traffic(20261210, kMB, 0);
    EXPECT_EQ(cell(TUsageWindow::rowToday, 1), "5.00 MB");
    EXPECT_EQ(w.cbInterface->currentText(), "eth0");
}

TEST_F(UsageWindowTest, AllowanceIsKeptAndMeasured) {
    traffic(20261201, 600 * kMB, 0);
    traffic(20261210, 300 * kMB, 124 * kMB);  // 1 GB in the period from the 1st
    TUsageWindow w(*FRecorder);
    w.show();
    ASSERT_TRUE(w.SelectInterface("eth0"));
    EXPECT_FALSE(w.cbAllowance->isChecked());
    EXPECT_FALSE(w.pbAllowance->isVisible());
    w.sbBillingDay->setValue(1);
    w.cbAllowance->setChecked(true);
    w.sbAllowance->setValue(2);
    EXPECT_TRUE(w.pbAllowance->isVisible());
    EXPECT_EQ(w.pbAllowance->value(), 50);
    EXPECT_TRUE(w.lAllowance->text().startsWith("1.00 GB of 2.00 GB used")) << w.lAllowance->text().toStdString();
    // 1 GB in 9 days and 10 hours: 744 / 226 of it by the 31st.
    EXPECT_TRUE(w.lAllowance->text().endsWith("At this pace: 3.29 GB by the end.")) << w.lAllowance->text().toStdString();

    // A billing day of 31 moves December's period to start on 30 November.
    w.sbBillingDay->setValue(31);
    const auto kept = FRecorder->Store().Interface(w.cbInterface->currentData().toLongLong());
    ASSERT_TRUE(kept);
    EXPECT_DOUBLE_EQ(kept->AllowanceGB, 2.0);
    EXPECT_EQ(kept->BillingDay, 31);

    // Read again by a new window; switching it off forgets the amount.
    TUsageWindow again(*FRecorder);
    ASSERT_TRUE(again.SelectInterface("eth0"));
    EXPECT_TRUE(again.cbAllowance->isChecked());
    EXPECT_EQ(again.sbBillingDay->value(), 31);
    again.cbAllowance->setChecked(false);
    EXPECT_DOUBLE_EQ(FRecorder->Store().Interface(kept->Id)->AllowanceGB, 0.0);
}

// Another program holds the history locked: the window does not freeze on
// it (a statement waits a moment, then gives up), and an allowance that
// could not be saved is said; the box shows what is stored.
TEST_F(UsageWindowTest, AnAllowanceThatCannotBeSavedIsSaid) {
    traffic(20261210, kMB, 0);
    TUsageWindow w(*FRecorder);
    w.show();
    ASSERT_TRUE(w.SelectInterface("eth0"));
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(dir_.file("u.sqlite").c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    QString said;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said = box->text();
            box->close();
        }
    });
    w.cbAllowance->setChecked(true);
    EXPECT_TRUE(said.startsWith("The allowance could not be saved: database is locked")) << said.toStdString();
    EXPECT_FALSE(w.cbAllowance->isChecked());
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    w.cbAllowance->setChecked(true);
    EXPECT_TRUE(w.cbAllowance->isChecked());
    EXPECT_GT(FRecorder->Store().Interface(w.cbInterface->currentData().toLongLong())->AllowanceGB, 0.0);
}

TEST_F(UsageWindowTest, ExportsEveryInterfaceAndDay) {
    traffic(20261209, 10, 20);
    traffic(20261210, 30, 40);
    TUsageWindow w(*FRecorder);
    ASSERT_EQ(w.ExportTo(QString::fromStdString(dir_.file("all.csv"))), "");
    const std::string csv = test::ReadWholeFile(dir_.file("all.csv"));
    EXPECT_EQ(csv, "interface,date,received_bytes,sent_bytes\neth0,2026-12-09,10,20\neth0,2026-12-10,30,40\n");
    EXPECT_FALSE(w.ExportTo(QString::fromStdString(dir_.file("missing/all.csv"))).isEmpty());
}

TEST_F(UsageWindowTest, WithoutAHistoryItSaysWhy) {
    std::filesystem::create_directories(dir_.file("blocked.sqlite"));
    TUsageRecorder broken(dir_.file("blocked.sqlite"), std::make_unique<TUsageCounterSource>(FLinks, dir_.file("boot_id")),
                          [this] { return FNow; });
    broken.Start(3600000);
    TUsageWindow w(broken);
    w.show();
    EXPECT_EQ(w.cbInterface->count(), 0);
    EXPECT_TRUE(w.lProblem->isVisible());
    EXPECT_TRUE(w.lProblem->text().startsWith("No usage history is kept")) << w.lProblem->text().toStdString();
    EXPECT_FALSE(w.bExport->isEnabled());
    EXPECT_TRUE(w.DaysChart->Bars().empty());
}

TEST(UsageBarChartTest, BarsUnderThePointer) {
    TUsageBarChart chart(QStringLiteral("Last 31 days"));
    chart.resize(400, 150);
    std::vector<TUsageBar> bars(10);
    chart.SetBars(bars);
    EXPECT_EQ(chart.BarAt(QPoint(1, 1)), -1);  // the size labels, not the bars
    EXPECT_EQ(chart.BarAt(QPoint(399 - 7, 75)), 9);
    const QImage picture = chart.grab().toImage();
    EXPECT_FALSE(picture.isNull());
}

}  // namespace
}  // namespace vx
