#pragma once

// The kernel tests run inside a network namespace of their own, with their
// own /sys, so that they can make and break interfaces without touching the
// machine's. A second namespace (held by a child process) is the far end of
// a veth pair. Everything goes away with the test process.
//
//   this process:  vxa 10.200.0.1/24 (+ 10.201.0.1/16), default via 10.200.0.2
//   peer process:  vxb 10.200.0.2/24

#include <cstdint>
#include <string>

namespace vx::test {

class TKernelLab {
public:
    // Enters the namespaces and builds the veth pair; false with a reason
    // when that is not possible here (not root, no namespaces).
    static bool Setup(std::string& why);
    static bool Ready();
    static const std::string& WhyNot();

    // Runs a shell command in this test's namespace; true when it succeeded.
    static bool Run(const std::string& command);
    // Asks the peer to send `count` UDP datagrams of `bytes` bytes to
    // 10.200.0.1; returns once they are sent.
    static bool PeerSendsUdp(int count, int bytes);
    // Sends `count` UDP datagrams of `bytes` bytes from here to the peer.
    static void SendUdpToPeer(int count, int bytes);
    // Waits until the interface's operational state reads "up".
    static bool WaitUntilUp(const std::string& name);
    // The machine's cgroup v2 hierarchy, opened before the lab's own /sys
    // hid it (as "/proc/self/fd/N"); "" when the machine has none.
    static const std::string& CgroupV2Root();
};

}  // namespace vx::test

// Skips the current test when the lab could not be built.
#define VX_REQUIRE_KERNEL_LAB()                                                         \
    do {                                                                                \
        if (!::vx::test::TKernelLab::Ready()) GTEST_SKIP() << ::vx::test::TKernelLab::WhyNot(); \
    } while (0)
