#include <gtest/gtest.h>

#include <limits>

#include "netconfig/ip_variants.h"
#include "netconfig/ipv4.h"

namespace vx {
namespace {

TEST(IPv6Test, ReadingText) {
    struct Case {
        const char* text;
        const char* full;  // nullptr: refused
    };
    const Case cases[] = {
        {"::", "0:0:0:0:0:0:0:0"},
        {"::1", "0:0:0:0:0:0:0:1"},
        {"fe80::1:2", "FE80:0:0:0:0:0:1:2"},
        {"1:2:3:4:5:6:7:8:9", "1:2:3:4:5:6:7:8"},
        {"::ffff:1.2.3.4", "0:0:0:0:0:FFFF:102:304"},
        {"1::", "1:0:0:0:0:0:0:0"},
        {"1:2:3", nullptr},
        {"::1.2.3.4", nullptr},
        {"1::2::3", nullptr},
        {"1:2:3:4:5:6:7:8::1", nullptr},
        {"12345::", nullptr},
        {"g::", nullptr},
        {"::ffff:1.2.3.256", nullptr},
    };
    for (const auto& c : cases) {
        if (!c.full) {
            try {
                StrToIPv6(c.text);
                ADD_FAILURE() << c.text << " was accepted";
            } catch (const EIPv6Error& e) {
                EXPECT_EQ(std::string(e.what()), std::string("'") + c.text + "' is not a valid IPv6 address");
            }
            continue;
        }
        EXPECT_EQ(IPv6ToStr(StrToIPv6(c.text)), c.full) << c.text;
    }
}

TEST(IPv6Test, TextForms) {
    EXPECT_EQ(IPv6ToStrOutwritten(StrToIPv6("::1")), "0000:0000:0000:0000:0000:0000:0000:0001");
    struct Case {
        const char* full;
        const char* compressed;
    };
    for (const Case c : {Case{"0:0:0:0:0:0:0:0", "::"}, Case{"0:0:0:0:0:0:0:1", "::1"}, Case{"1:0:0:0:0:0:0:0", "1::"},
                         Case{"1:2:3:4:5:6:7:0", "1:2:3:4:5:6:7::"}, Case{"1:0:2:0:0:0:0:3", "1::2:0:0:0:0:3"},
                         Case{"FE80:0:0:0:0:0:1:2", "FE80::1:2"}}) {
        const TIPv6 a = StrToIPv6(c.full);
        EXPECT_EQ(IPv6ToStrCompressed(a), c.compressed) << c.full;
        EXPECT_EQ(StrToIPv6(IPv6ToStrCompressed(a)), a) << c.full;  // reads back to the same address
    }
}

TEST(IPv6Test, NumbersArithmeticAndOrder) {
    const TIPv6 zero{}, one = StrToIPv6("::1"), top = StrToIPv6("FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF");
    EXPECT_EQ(IPv6ToNumber(top), 1.0L);
    EXPECT_EQ(IPv6ToNumber(zero), 0.0L);
    EXPECT_EQ(NumberToIPv6(0.5L).Group(0), 0x8000);  // half the space: the top bit, within extended precision
    EXPECT_EQ(AddIPv6(top, one), zero);  // the carry out of the top is dropped
    EXPECT_EQ(SubtractIPv6(one, top), zero);  // below zero: zero
    EXPECT_EQ(IPv6ToStr(AddIPv6(StrToIPv6("::FFFF"), one)), "0:0:0:0:0:0:1:0");
    EXPECT_EQ(IPv6ToStr(SubtractIPv6(StrToIPv6("::1:0"), one)), "0:0:0:0:0:0:0:FFFF");
    EXPECT_EQ(IPv6ToStr(AndIPv6(StrToIPv6("FE80::FF"), StrToIPv6("FFFF::F0"))), "FE80:0:0:0:0:0:0:F0");
    EXPECT_EQ(CompareIPv6(StrToIPv6("1::"), StrToIPv6("::FFFF")), crGreaterThan);
    EXPECT_EQ(CompareIPv6(one, one), crEqual);
}

// Numbers outside the address space clamp, as IPv4 numbers do (no
// out-of-range conversion for UBSan to catch).
TEST(IPv6Test, NumbersOutsideTheSpaceClamp) {
    const TIPv6 top = StrToIPv6("FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF");
    const std::pair<long double, TIPv6> cases[] = {
        {-1.0L, TIPv6{}},
        {std::numeric_limits<long double>::quiet_NaN(), TIPv6{}},
        {-std::numeric_limits<long double>::infinity(), TIPv6{}},
        {1.0L, top},
        {2.5L, top},
        {1e300L, top},
        {std::numeric_limits<long double>::infinity(), top},
    };
    for (const auto& [x, expected] : cases) EXPECT_EQ(NumberToIPv6(x), expected) << static_cast<double>(x);
}

// A group index outside 0..7 is a range error, never a read or write
// beside the record.
TEST(IPv6Test, GroupIndexOutsideTheRecordIsARangeError) {
    TIPv6 a = StrToIPv6("1:2:3:4:5:6:7:8");
    for (const int index : {-1, 8, 100, -100000}) {
        EXPECT_THROW((void)a.Group(index), std::out_of_range) << index;
        EXPECT_THROW(a.SetGroup(index, 9), std::out_of_range) << index;
    }
    EXPECT_EQ(IPv6ToStr(a), "1:2:3:4:5:6:7:8");
    const QVariant v6 = QVariant::fromValue(TIPv6Object(a));
    EXPECT_THROW(IPVariantFunction(v6, "GROUP", 8), std::out_of_range);
    EXPECT_EQ(IPVariantFunction(v6, "GROUP", 7).toUInt(), 8u);
}

TEST(IPv6Test, UrlsAndIPv4Forms) {
    EXPECT_EQ(IPv6ToURL(StrToIPv6("::1")), "http://[0:0:0:0:0:0:0:1]/");
    EXPECT_EQ(IPv6ToURL(StrToIPv6("::1"), "https", 80), "https://[0:0:0:0:0:0:0:1]:80/");
    EXPECT_EQ(IPv4ToURL(StrToIPv4("10.0.0.1")), "http://10.0.0.1/");
    EXPECT_EQ(IPv4ToURL(StrToIPv4("10.0.0.1"), "http", 8080), "http://10.0.0.1:8080/");
    EXPECT_EQ(IPv4ToStrOutwritten(StrToIPv4("10.0.0.1")), "010.000.000.001");
    EXPECT_EQ(NumberToIPv4(IPv4ToNumber(0xC0A80101u)), 0xC0A80101u);
    EXPECT_EQ(NumberToIPv4(1.0), 0xFFFFFFFFu);
}

TEST(IPVariantTest, KindsThroughQVariant) {
    RegisterIPVariantTypes();
    const QVariant v4 = MakeIPv4Variant(QString("192.168.1.5"));
    EXPECT_EQ(v4.toString(), "192.168.1.5");
    EXPECT_EQ(v4.toUInt(), 0xC0A80105u);
    EXPECT_EQ(IPVariantProperty(v4, "ASSTRINGOUTWRITTEN").toString(), "192.168.001.005");
    EXPECT_EQ(MakeIPv4Variant(QVariant::fromValue<uint>(7)).toString(), "0.0.0.7");
    try {
        MakeIPv4Variant(QVariant(true));
        FAIL();
    } catch (const EIPv4Error& e) {
        EXPECT_STREQ(e.what(), "Invalid format type for IPv4");
    }

    QVariant v6 = MakeIPv6Variant(QString("fe80::1"));
    EXPECT_EQ(v6.toString(), "FE80:0:0:0:0:0:0:1");
    EXPECT_EQ(IPVariantProperty(v6, "ASSTRINGCOMPRESSED").toString(), "FE80::1");
    EXPECT_EQ(IPVariantFunction(v6, "GROUP", 0).toUInt(), 0xFE80u);
    EXPECT_TRUE(IPVariantFunction(v6, "EQUALS", QString("FE80:0::1")).toBool());
    EXPECT_FALSE(IPVariantFunction(v6, "EQUALS", QVariant()).toBool());
    EXPECT_EQ(IPVariantFunction(v6, "ASURL").toString(), "http://[FE80:0:0:0:0:0:0:1]/");
    EXPECT_FALSE(IPVariantFunction(v6, "ISZERO").toBool());
    EXPECT_FALSE(IPVariantProperty(v6, "NOSUCHTHING").isValid());
    ASSERT_TRUE(SetIPVariantProperty(v6, "ASSTRING", QString("::2")));
    EXPECT_EQ(v6.toString(), "0:0:0:0:0:0:0:2");
    EXPECT_THROW(SetIPVariantProperty(v6, "ASSTRING", QString("bad")), EIPv6Error);
    EXPECT_EQ(v6.toString(), "0:0:0:0:0:0:0:2");  // kept on a bad text

    const QVariant sum = IPv6Operator('+', v6, MakeIPv6Variant(QString("::3")));
    EXPECT_EQ(sum.toString(), "0:0:0:0:0:0:0:5");
    EXPECT_EQ(IPv6Operator('+', QVariant(QString("at ")), v6).toString(), "at 0:0:0:0:0:0:0:2");
    EXPECT_THROW(IPv6Operator('*', v6, v6), std::invalid_argument);
    EXPECT_EQ(v6, MakeIPv6Variant(QString("::2")));  // compared by value
}

}  // namespace
}  // namespace vx
