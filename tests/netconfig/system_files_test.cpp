#include <gtest/gtest.h>

#include <filesystem>

#include "netconfig/system_files.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

TEST(SystemFilesTest, ResolvConf) {
    const auto c = ParseResolvConf(
        "# generated\nnameserver 192.168.1.1\nnameserver fe80::1\nnameserver  9.9.9.9 # quad9\n"
        "search home.lan corp.lan\n");
    EXPECT_EQ(c.nameservers, (std::vector<std::string>{"192.168.1.1", "9.9.9.9"}));
    EXPECT_EQ(c.domain, "home.lan");
    EXPECT_EQ(ParseResolvConf("domain example.lan\nsearch other\n").domain, "example.lan");
}

TEST(SystemFilesTest, DhclientLeasesTakeTheLastLeaseOfTheInterface) {
    const char* leases =
        "lease {\n  interface \"eth0\";\n  option dhcp-server-identifier 10.0.0.1;\n}\n"
        "lease {\n  interface \"wlan0\";\n  option dhcp-server-identifier 10.9.9.9;\n}\n"
        "lease {\n  interface \"eth0\";\n  option dhcp-server-identifier 10.0.0.2;\n}\n";
    EXPECT_EQ(DhclientServerOf(leases, "eth0"), "10.0.0.2");
    EXPECT_EQ(DhclientServerOf(leases, "wlan0"), "10.9.9.9");
    EXPECT_EQ(DhclientServerOf(leases, "eth1"), std::nullopt);
}

TEST(SystemFilesTest, FilesUnderARoot) {
    test::TTempDir dir;
    const auto& root = dir.path();
    std::filesystem::create_directories(root / "etc");
    std::filesystem::create_directories(root / "run/systemd/resolve");
    std::filesystem::create_directories(root / "run/systemd/netif/links");
    std::filesystem::create_directories(root / "run/systemd/netif/leases");
    std::filesystem::create_directories(root / "var/lib/NetworkManager");
    test::WriteWholeFile(root / "etc/resolv.conf", "nameserver 127.0.0.53\nsearch lan\n");
    test::WriteWholeFile(root / "run/systemd/resolve/resolv.conf", "nameserver 1.1.1.1\nnameserver 8.8.8.8\n");
    test::WriteWholeFile(root / "run/systemd/netif/links/2", "ADMIN_STATE=configured\nDNS=10.0.0.53 fe80::1\nDOMAINS=office.lan\n");
    test::WriteWholeFile(root / "run/systemd/netif/leases/2", "ADDRESS=10.0.0.5\nSERVER_ADDRESS=10.0.0.1\n");
    test::WriteWholeFile(root / "var/lib/NetworkManager/internal-1234-wlan0.lease", "SERVER_ADDRESS=192.168.0.1\n");

    const TSystemFiles files(root);
    const auto resolver = files.ResolverConfig();
    EXPECT_EQ(resolver.nameservers, (std::vector<std::string>{"1.1.1.1", "8.8.8.8"}));  // behind the local stub
    EXPECT_EQ(resolver.domain, "lan");
    EXPECT_EQ(files.LinkDns(2).nameservers, std::vector<std::string>{"10.0.0.53"});
    EXPECT_EQ(files.LinkDns(2).domain, "office.lan");
    EXPECT_EQ(files.DhcpServer(2, "eth0"), "10.0.0.1");
    EXPECT_EQ(files.DhcpServer(3, "wlan0"), "192.168.0.1");
    EXPECT_EQ(files.DhcpServer(4, "eth9"), "");
    EXPECT_TRUE(files.LinkDns(9).nameservers.empty());
}

// Links that NetworkManager or resolvectl configure have their servers only
// in systemd-resolved's state, written with ports, interfaces and TLS names.
TEST(SystemFilesTest, LinkStateFromResolved) {
    test::TTempDir dir;
    const auto& root = dir.path();
    std::filesystem::create_directories(root / "run/systemd/resolve/netif");
    std::filesystem::create_directories(root / "run/systemd/netif/links");
    test::WriteWholeFile(root / "run/systemd/resolve/netif/3",
                         "# This is private data. Do not parse.\nLLMNR=yes\n"
                         "SERVERS=192.168.1.1 192.168.1.2:53 [fe80::1%3]:53 9.9.9.9%3#dns.quad9.net 1.2.3\n"
                         "DOMAINS=~. ~corp home.lan\n");
    // A link networkd manages is described by networkd, even if resolved has a file.
    test::WriteWholeFile(root / "run/systemd/resolve/netif/2", "SERVERS=7.7.7.7\n");
    test::WriteWholeFile(root / "run/systemd/netif/links/2", "DNS=10.0.0.53#ns.office\n");

    const TSystemFiles files(root);
    EXPECT_EQ(files.LinkDns(3).nameservers, (std::vector<std::string>{"192.168.1.1", "192.168.1.2", "9.9.9.9"}));
    EXPECT_EQ(files.LinkDns(3).domain, "home.lan");
    EXPECT_EQ(files.LinkDns(2).nameservers, std::vector<std::string>{"10.0.0.53"});
    EXPECT_EQ(files.LinkDns(2).domain, "");
}

}  // namespace
}  // namespace vx
