#include <gtest/gtest.h>

#include <QTest>

#include "netconfig/namespace_fixture.h"
#include "netconfig/network_change_notifier.h"

namespace vx {
namespace {

using test::TKernelLab;

// How long the kernel and the worker get to deliver; the checks wait for an
// event, not for time to pass.
constexpr int kDeliveryMs = 3000;

TEST(NetworkChangeNotifierTest, OneNotificationPerAddressChange) {
    VX_REQUIRE_KERNEL_LAB();
    TNetworkChangeNotifier notifier;
    int count = 0;
    notifier.OnChange = [&](QObject* sender, std::uint32_t res) {
        EXPECT_EQ(sender, &notifier);
        EXPECT_EQ(res, 0u);
        ++count;
    };
    EXPECT_NE(notifier.ThreadId(), 0u);
    QTest::qWait(100);  // the worker subscribes

    ASSERT_TRUE(TKernelLab::Run("ip addr add 10.210.0.1/24 dev vxa"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return count >= 1; }, kDeliveryMs));
    QTest::qWait(300);
    EXPECT_EQ(count, 1);

    ASSERT_TRUE(TKernelLab::Run("ip addr del 10.210.0.1/24 dev vxa"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return count >= 2; }, kDeliveryMs));
    QTest::qWait(300);
    EXPECT_EQ(count, 2);
}

TEST(NetworkChangeNotifierTest, ABurstGivesOneNotification) {
    VX_REQUIRE_KERNEL_LAB();
    TNetworkChangeNotifier notifier;
    int count = 0;
    notifier.OnChange = [&](QObject*, std::uint32_t) { ++count; };
    QTest::qWait(100);
    ASSERT_TRUE(TKernelLab::Run("ip addr add 10.211.0.1/24 dev vxa && ip addr add 10.211.0.2/24 dev vxa && "
                                "ip addr add 10.211.0.3/24 dev vxa"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return count >= 1; }, kDeliveryMs));
    QTest::qWait(300);
    EXPECT_EQ(count, 1);
    TKernelLab::Run("ip addr flush dev vxa to 10.211.0.0/24");
}

TEST(NetworkChangeNotifierTest, AChangeDuringTheHandlerIsNotLost) {
    VX_REQUIRE_KERNEL_LAB();
    TNetworkChangeNotifier notifier;
    int count = 0;
    notifier.OnChange = [&](QObject*, std::uint32_t) {
        if (++count == 1) TKernelLab::Run("ip addr add 10.212.0.1/24 dev vxa");  // while handling the first
    };
    QTest::qWait(100);
    ASSERT_TRUE(TKernelLab::Run("ip link set vxa mtu 1300"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return count >= 2; }, kDeliveryMs));
    TKernelLab::Run("ip addr del 10.212.0.1/24 dev vxa; ip link set vxa mtu 1400");
}

TEST(NetworkChangeNotifierTest, NothingArrivesAfterDestructionOrWithoutAHandler) {
    VX_REQUIRE_KERNEL_LAB();
    int count = 0;
    {
        TNetworkChangeNotifier silent;  // no handler: dropped
        QTest::qWait(100);
        ASSERT_TRUE(TKernelLab::Run("ip addr add 10.213.0.1/24 dev vxa"));
        QTest::qWait(500);
    }
    auto notifier = std::make_unique<TNetworkChangeNotifier>();
    notifier->OnChange = [&](QObject*, std::uint32_t) { ++count; };
    QTest::qWait(100);
    ASSERT_TRUE(TKernelLab::Run("ip addr del 10.213.0.1/24 dev vxa"));
    // Destroyed before the event loop could deliver the hand-over.
    QThread::msleep(300);
    notifier.reset();
    QTest::qWait(300);
    EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace vx
