#include <gtest/gtest.h>

#include "persistence/cipherer.h"

namespace vx {
namespace {

TEST(CiphererTest, ScramblesWithTheKeyOffsetByOne) {
    TLayoutManagerCipherer c;
    struct Case {
        const char* text;
        const char* key;
        const char* hex;
    };
    const Case cases[] = {
        {"A", "k", "2A"},       // 0x41 ^ 0x6B: a one-byte key combines every byte with itself
        {"AB", "xy", "383A"},   // 'A' ^ 'y', then 'B' ^ 'x': the first byte takes the second key byte
        {"ABC", "xyz", "38383B"},  // 'A'^'y', 'B'^'z', 'C'^'x'
        {"Hi", "", "4869"},     // an empty key combines nothing
        {"é", "", "E9"},        // the 8-bit form, not UTF-8
        {"€", "", "3F"},        // not in the 8-bit code page: "?"
        {"", "key", ""},
    };
    for (const auto& t : cases) {
        EXPECT_EQ(c.EncryptText(t.text, t.key), t.hex) << t.text << " / " << t.key;
        if (std::string(t.text) != "€") {
            EXPECT_EQ(c.DecryptText(t.hex, t.key), t.text) << t.hex;
        }
    }
}

TEST(CiphererTest, RoundTripsAsciiAndDoublesTheLength) {
    TLayoutManagerCipherer c;
    const std::string text = "eth0 = Wired connection #1";
    for (const std::string key : {"k", "secret", "a much longer key than the text itself"}) {
        const std::string hex = c.EncryptText(text, key);
        EXPECT_EQ(hex.size(), text.size() * 2);
        EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        EXPECT_EQ(c.DecryptText(hex, key), text);
    }
}

TEST(CiphererTest, HexDigitsAndGarbage) {
    EXPECT_EQ(TLayoutManagerCipherer::HexToString("414a"), "AJ");
    EXPECT_EQ(TLayoutManagerCipherer::HexToString("414"), std::string("A\x04"));  // odd last digit alone
    EXPECT_EQ(TLayoutManagerCipherer::HexToString("41G1"), "");
    EXPECT_EQ(TLayoutManagerCipherer::StringToHex(std::string("\x00\xff", 2)), "00FF");
    TLayoutManagerCipherer c;
    EXPECT_EQ(c.DecryptText("not hex", "k"), "");
    EXPECT_EQ(c.DecryptText("", "k"), "");
}

}  // namespace
}  // namespace vx
