#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "persistence/ini_storage.h"
#include "remote/remote_host_settings.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

class RemoteHostSettingsTest : public ::testing::Test {
protected:
    test::TTempDir dir;
    TLayoutManagerINIStorage storage;
    TLayoutManagerCipherer cipherer;
    void SetUp() override { storage.SetFileName(dir.file("vantrix.ini")); }
    std::string fileText() {
        std::ifstream in(dir.file("vantrix.ini"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

// Every field comes back, every password character too, and no password
// stands in the file as written.
TEST_F(RemoteHostSettingsTest, HostsComeBackAsWritten) {
    const std::vector<TRemoteHost> hosts{
        {"NAS", "http://nas.lan:9100/metrics", "", "", ""},
        {"Router = ; [x]", "https://10.0.0.1:9100/metrics?x=1", "admin", "p\xC3\xA4sswort \xE2\x9C\x93 \xE5\xAF\x86", "/etc/ssl/ca.pem"},
        {"Plain", "http://h/metrics", "u", "secret-value", ""},
    };
    WriteRemoteHosts(storage, cipherer, hosts);
    const auto back = ReadRemoteHosts(storage, cipherer);
    ASSERT_EQ(back.size(), hosts.size());
    for (std::size_t i = 0; i < hosts.size(); ++i) {
        EXPECT_EQ(back[i].Name, hosts[i].Name);
        EXPECT_EQ(back[i].Url, hosts[i].Url);
        EXPECT_EQ(back[i].UserName, hosts[i].UserName);
        EXPECT_EQ(back[i].Password, hosts[i].Password);
        EXPECT_EQ(back[i].CaFile, hosts[i].CaFile);
    }
    const std::string text = fileText();
    EXPECT_EQ(text.find("secret-value"), std::string::npos);
    EXPECT_EQ(text.find("p\xC3\xA4sswort"), std::string::npos);
    EXPECT_NE(text.find("[RemoteHosts\\2]"), std::string::npos);
}

// The watched devices come back; a name with a blank cannot be kept apart
// from the others and is left out.
TEST_F(RemoteHostSettingsTest, WatchedDevicesComeBack) {
    TRemoteHost host{"NAS", "http://nas/", "", "", ""};
    host.Watched = {"eth0", "br-lan", "odd name", "wlan0"};
    WriteRemoteHosts(storage, cipherer, {host});
    const auto back = ReadRemoteHosts(storage, cipherer);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Watched, (std::vector<std::string>{"eth0", "br-lan", "wlan0"}));
}

TEST_F(RemoteHostSettingsTest, AShorterListRemovesTheRest) {
    WriteRemoteHosts(storage, cipherer, {{"a", "http://a/", "", "", ""}, {"b", "http://b/", "", "", ""}});
    WriteRemoteHosts(storage, cipherer, {{"c", "http://c/", "", "", ""}});
    const auto back = ReadRemoteHosts(storage, cipherer);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Name, "c");
    EXPECT_EQ(fileText().find("RemoteHosts\\2"), std::string::npos);
}

// A file edited by hand: counts out of range, hosts without an address,
// a password that is not scrambled text.
TEST_F(RemoteHostSettingsTest, HandEditedFiles) {
    const struct {
        const char* what;
        const char* file;
        std::size_t hosts;
    } cases[] = {
        {"negative count", "[RemoteHosts]\nCount=-3\n[RemoteHosts\\1]\nURL=http://a/\n", 0},
        {"count beyond the sections", "[RemoteHosts]\nCount=5\n[RemoteHosts\\1]\nURL=http://a/\n", 1},
        {"huge count", "[RemoteHosts]\nCount=99999999999\n[RemoteHosts\\1]\nURL=http://a/\n", 1},
        {"no address", "[RemoteHosts]\nCount=2\n[RemoteHosts\\1]\nName=x\n[RemoteHosts\\2]\nURL=http://b/\n", 1},
        {"password not hexadecimal", "[RemoteHosts]\nCount=1\n[RemoteHosts\\1]\nURL=http://a/\nPassword=zz\n", 1},
        {"no section", "", 0},
    };
    for (const auto& c : cases) {
        std::ofstream(dir.file("vantrix.ini"), std::ios::trunc) << c.file;
        const auto back = ReadRemoteHosts(storage, cipherer);
        EXPECT_EQ(back.size(), c.hosts) << c.what;
        for (const auto& host : back) {
            EXPECT_FALSE(host.Name.empty()) << c.what;  // the address stands in for a missing name
            EXPECT_TRUE(host.Password.empty()) << c.what;
        }
    }
}

}  // namespace
}  // namespace vx
