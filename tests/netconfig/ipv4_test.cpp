#include <gtest/gtest.h>

#include "netconfig/ipv4.h"
#include "netconfig/network_configuration.h"

namespace vx {
namespace {

TEST(IPv4Test, TextConversions) {
    struct Case {
        const char* text;
        const char* read;
    };
    const Case cases[] = {
        {"192.168.1.5", "192.168.1.5"}, {"1.2.3.x", "1.2.3.0"}, {"300.1.1.1", "0.1.1.1"},
        {"1.2.3.4.5", "1.2.3.4"},       {"...", "0.0.0.0"},
        {"255.255.255.255", "255.255.255.255"}, {"-1.2.3.4", "0.2.3.4"},
    };
    for (const auto& c : cases) EXPECT_EQ(IPv4ToStr(StrToIPv4(c.text)), c.read) << c.text;
    EXPECT_EQ(StrToIPv4("1.2.3.4"), 0x01020304u);
    for (const char* bad : {"1.2.3", "", "1.2"}) {
        try {
            StrToIPv4(bad);
            FAIL() << bad;
        } catch (const EIPv4Error& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid IPv4 address");
        }
    }
}

TEST(IPv4Test, ClassBasedMasks) {
    struct Case {
        const char* ip;
        const char* mask;
    };
    for (const Case c : {Case{"10.1.2.3", "255.0.0.0"}, Case{"127.0.0.1", "0.0.0.0"}, Case{"172.16.0.1", "255.255.0.0"},
                         Case{"192.168.1.1", "255.255.255.0"}, Case{"224.0.0.1", "0.0.0.0"},
                         Case{"0.0.0.0", "0.0.0.0"}, Case{"126.0.0.1", "255.0.0.0"}, Case{"223.1.1.1", "255.255.255.0"}})
        EXPECT_EQ(TNetworkConfiguration::GetSubnetMask(c.ip), c.mask) << c.ip;
    EXPECT_THROW(TNetworkConfiguration::GetSubnetMask("1.2.3"), EIPv4Error);
}

}  // namespace
}  // namespace vx
