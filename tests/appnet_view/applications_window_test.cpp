// The Applications window over scripted answers of the counter: its rows
// and names, rates between two answers, a counter that started anew, and
// the sentence it shows without the counter.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "appnet_view/applications_window.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

TTrafficRow row(TRowKind kind, const std::string& id, std::uint64_t received, std::uint64_t sent) {
    return {kind, id, {received, sent, received / 1000, sent / 1000}, {}};
}

class ApplicationsWindowTest : public ::testing::Test {
protected:
    test::TTempDir dir;
    TAppNetReply reply;
    void SetUp() override {
        ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
        std::filesystem::create_directories(dir.path().string() + "/applications");
        std::ofstream(dir.path().string() + "/applications/org.example.Browser.desktop")
            << "[Desktop Entry]\nType=Application\nName=Example Browser\nIcon=/nonexistent/browser.png\n"
               "[Desktop Action new]\nName=New window\n";
    }
    void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }
    TAppNetAnswer answer(const std::string& instance, std::vector<TTrafficRow> rows) {
        return {instance, std::move(rows)};
    }
};

TEST_F(ApplicationsWindowTest, RowsNamesAndRates) {
    TApplicationsWindow w(nullptr, [this] { return reply; });
    reply.Answer = answer("1.1", {row(TRowKind::Application, "org.example.Browser", 1000, 100),
                                  row(TRowKind::Application, "org.example.NoEntry", 0, 0),
                                  row(TRowKind::SystemService, "ssh.service", 0, 0),
                                  row(TRowKind::OtherUsers, "", 0, 0)});
    w.Refresh();
    EXPECT_EQ(w.Problem(), "");
    ASSERT_EQ(w.List->topLevelItemCount(), 4);
    QTreeWidgetItem* browser = w.RowOf(TRowKind::Application, "org.example.Browser");
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->text(0), "Example Browser");  // the desktop entry's name, not an action's
    EXPECT_EQ(browser->toolTip(0), "org.example.Browser");
    EXPECT_EQ(w.RowOf(TRowKind::Application, "org.example.NoEntry")->text(0), "org.example.NoEntry");
    EXPECT_EQ(w.RowOf(TRowKind::SystemService, "ssh.service")->text(0), "ssh.service (system service)");
    EXPECT_EQ(w.RowOf(TRowKind::OtherUsers, "")->text(0), "Other users");
    EXPECT_EQ(browser->text(TApplicationsWindow::colDownload), "0.00 B");  // no rate from one answer

    const auto before = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    reply.Answer = answer("1.1", {row(TRowKind::Application, "org.example.Browser", 1000 + 204800, 100),
                                  row(TRowKind::Application, "org.example.NoEntry", 0, 0),
                                  row(TRowKind::SystemService, "ssh.service", 5000, 0)});
    w.Refresh();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    const double rate = browser->data(TApplicationsWindow::colDownload, Qt::UserRole + 1).toDouble();
    EXPECT_NEAR(rate, 204800 / seconds, 204800 / seconds * 0.2);
    EXPECT_EQ(browser->text(TApplicationsWindow::colReceived).toStdString(), "200.98 KB");
    // Sorted by download, highest first; a row no longer listed went.
    EXPECT_EQ(w.List->topLevelItem(0), browser);
    EXPECT_EQ(w.List->topLevelItemCount(), 3);
    EXPECT_EQ(w.RowOf(TRowKind::OtherUsers, ""), nullptr);

    // A counter started anew: its totals are no continuation, no rate.
    reply.Answer = answer("2.7", {row(TRowKind::Application, "org.example.Browser", 10, 0)});
    w.Refresh();
    EXPECT_EQ(w.RowOf(TRowKind::Application, "org.example.Browser")->data(TApplicationsWindow::colDownload, Qt::UserRole + 1).toDouble(), 0);
}

TEST_F(ApplicationsWindowTest, WithoutTheCounterItSaysWhyAndWhatToDo) {
    struct Case {
        TAppNetProblem problem;
        const char* says;
    } cases[] = {
        {TAppNetProblem::NotInstalled, "not installed"},
        {TAppNetProblem::NotRunning, "systemctl start vantrix-appnet.socket"},
        {TAppNetProblem::NoAnswer, "journalctl -u vantrix-appnet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        TApplicationsWindow w(nullptr, [&] { return TAppNetReply{std::nullopt, c.problem, "x"}; });
        w.Refresh();
        EXPECT_TRUE(w.Problem().contains(QString::fromLatin1(c.says))) << w.Problem().toStdString();
        EXPECT_TRUE(w.List->isHidden());
    }
}

}  // namespace
}  // namespace vx
