// A remote host in the main window, read from the real node_exporter in the
// kernel lab's namespace: the namespace's veth interface is listed under
// the host's name and watched from it next to the same interface watched
// locally. Both watchers count the same traffic; a stopped exporter greys
// the host and blanks its figures; started again, no phantom rate.
#include <gtest/gtest.h>

#include <QTest>

#include "netconfig/namespace_fixture.h"
#include "persistence/ini_storage.h"
#include "remote/node_exporter_process.h"
#include "remote/remote_host_settings.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& name) {
    for (int i = 0; parent && i < parent->childCount(); ++i)
        if (parent->child(i)->text(0) == name) return parent->child(i);
    return nullptr;
}

QTreeWidgetItem* localRow(Twnd_vx_Main& w, const QString& name) {
    for (int i = 0; i < w.Tree->topLevelItemCount(); ++i)
        if (TInterfaceTree::NodeData(w.Tree->topLevelItem(i)).Host < 0 && w.Tree->topLevelItem(i)->text(0) == name)
            return w.Tree->topLevelItem(i);
    return nullptr;
}

class MainWindowRemoteTest : public ::testing::Test {
protected:
    void SetUp() override {
        VX_REQUIRE_KERNEL_LAB();
        if (!test::TNodeExporterProcess::Installed())
            GTEST_SKIP() << "prometheus-node-exporter is not installed; skipped";
        LayoutStorage = std::make_shared<TLayoutManagerINIStorage>();
        LayoutStorage->SetFileName(FDir.file("vantrix.ini"));
        FExporter.Start();
    }
    void TearDown() override { LayoutStorage.reset(); }

    // Sends `bytes` from the namespace's interface in 20 steps over a second.
    static void sendPaced(int datagrams) {
        for (int step = 0; step < 20; ++step) {
            test::TKernelLab::SendUdpToPeer(datagrams / 20, 1000);
            QTest::qWait(50);
        }
    }

    test::TTempDir FDir;
    test::TNodeExporterProcess FExporter;
};

TEST_F(MainWindowRemoteTest, ARemoteInterfaceIsWatchedLikeALocalOne) {
    Twnd_vx_Main w;
    w.show();
    w.Tree->show();
    w.pmFast->trigger();  // 0.5 s
    w.SetRemoteHosts({FExporter.Host()});
    // Stored at once.
    TLayoutManagerCipherer cipherer;
    ASSERT_EQ(ReadRemoteHosts(*LayoutStorage, cipherer).size(), 1u);

    QTreeWidgetItem* remote = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (remote = childNamed(w.RemoteHostRow(0), "vxa")) != nullptr; }, 5000));
    EXPECT_EQ(w.RemoteHostRow(0)->text(0), "lab");
    remote->setCheckState(0, Qt::Checked);
    QTreeWidgetItem* local = localRow(w, "vxa");
    ASSERT_NE(local, nullptr);
    local->setCheckState(0, Qt::Checked);
    ASSERT_EQ(w.Watchers().size(), 2u);
    Tfrm_vx_Watcher* remoteWatcher = w.Watchers()[0];
    Tfrm_vx_Watcher* localWatcher = w.Watchers()[1];
    if (w.RemoteHostOf(localWatcher)) std::swap(remoteWatcher, localWatcher);
    ASSERT_EQ(w.RemoteHostOf(remoteWatcher), std::optional<std::size_t>(0));
    EXPECT_EQ(remoteWatcher->Adapter().Name, "lab: vxa");
    // The watched device is stored with the host.
    const auto stored = ReadRemoteHosts(*LayoutStorage, cipherer);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].Watched, std::vector<std::string>{"vxa"});

    // Both have a baseline before the traffic starts.
    ASSERT_TRUE(QTest::qWaitFor([&] { return remoteWatcher->Sampler().History().Count() >= 2; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return localWatcher->Sampler().History().Count() >= 2; }, 5000));
    ASSERT_NE(w.Usage(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Usage()->Store().IsOpen(); }, 3000));
    w.Usage()->Record();  // the history's baseline of the remote interface
    const std::uint64_t remoteBefore = remoteWatcher->Sampler().SessionSent();
    const std::uint64_t localBefore = localWatcher->Sampler().SessionSent();
    sendPaced(2000);  // 2 MB over a second: about 2 MB/s
    QTest::qWait(2000);  // both watchers take in the last of it
    const std::uint64_t remoteSent = remoteWatcher->Sampler().SessionSent() - remoteBefore;
    const std::uint64_t localSent = localWatcher->Sampler().SessionSent() - localBefore;
    EXPECT_GE(localSent, 2000u * 1000);
    // The same bytes: the exporter reads the counters the local watcher reads.
    EXPECT_NEAR(static_cast<double>(remoteSent), static_cast<double>(localSent), 0.01 * static_cast<double>(localSent))
        << "remote " << remoteSent << ", local " << localSent;
    // The rates match: one burst seen through periods half a period apart.
    const double remotePeak = remoteWatcher->Sampler().MaxUpload(), localPeak = localWatcher->Sampler().MaxUpload();
    EXPECT_NEAR(remotePeak, localPeak, 0.35 * localPeak) << "remote " << remotePeak << ", local " << localPeak;
    // The usage history has it under host and device.
    w.Usage()->Record();
    std::uint64_t booked = 0;
    for (const TUsageInterface& i : w.Usage()->Store().Interfaces())
        if (i.Key == "remote:lab/vxa") {
            EXPECT_EQ(i.Name, "lab: vxa");
            booked = w.Usage()->Store().Sum(i.Id, 19700101, 99991231).Sent;
        }
    EXPECT_NEAR(static_cast<double>(booked), static_cast<double>(remoteSent), 0.01 * static_cast<double>(remoteSent));
    // The list's row has the namespace's own total.
    w.UpdateTraffic();
    EXPECT_GE(TInterfaceTree::NodeData(remote).Sent, 2000u * 1000);

    // Stopped: unreachable within two periods (and a margin for a busy
    // machine), greyed, a dash for the figures, the reason in the tooltip.
    FExporter.Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.RemoteHostRow(0)->text(1) == Twnd_vx_Main::tr("unreachable"); }, 3000));
    EXPECT_FALSE(w.RemoteHostRow(0)->toolTip(0).isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return remoteWatcher->UploadRateText() == QStringLiteral("\u2013"); }, 2000));
    remote = childNamed(w.RemoteHostRow(0), "vxa");
    ASSERT_NE(remote, nullptr);  // still listed, greyed
    EXPECT_EQ(remote->text(2), QStringLiteral("\u2013"));

    // What went out meanwhile is no rate when the host is back.
    test::TKernelLab::SendUdpToPeer(4000, 1000);
    const double peakBefore = remoteWatcher->Sampler().MaxUpload();
    FExporter.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.RemoteHostRow(0)->text(1).isEmpty(); }, 3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return remoteWatcher->UploadRateText() != QStringLiteral("\u2013"); }, 3000));
    QTest::qWait(1000);
    EXPECT_EQ(remoteWatcher->Sampler().MaxUpload(), peakBefore) << "a phantom rate after the host came back";
    EXPECT_TRUE(w.RemoteHostRow(0)->toolTip(0).isEmpty());
}

}  // namespace
}  // namespace vx
