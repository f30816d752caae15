#pragma once

// Scrambles stored values that carry a key: a repeating-key XOR over the
// 8-bit form of the text, written as upper-case hexadecimal. It keeps a
// value from being read at a glance in the settings file; it is not
// encryption. Texts are UTF-8; the 8-bit form is Latin-1, with "?" for
// characters Latin-1 cannot hold, and unscrambled bytes become the
// characters U+0000..U+00FF of the same number.

#include <memory>
#include <string>

namespace vx {

class ILayoutManagerCipherer {
public:
    virtual ~ILayoutManagerCipherer() = default;
    // Empty text gives empty text. Byte j is combined with key byte
    // (j + 1) mod n; an empty key combines nothing.
    virtual std::string EncryptText(const std::string& text, const std::string& key) = 0;
    // Empty or non-hexadecimal text gives empty text.
    virtual std::string DecryptText(const std::string& text, const std::string& key) = 0;
};

using ILayoutManagerCiphererRef = std::shared_ptr<ILayoutManagerCipherer>;

class TLayoutManagerCipherer : public ILayoutManagerCipherer {
public:
    std::string EncryptText(const std::string& text, const std::string& key) override;
    std::string DecryptText(const std::string& text, const std::string& key) override;

    // UTF-8 to 8-bit text; code page 0 is the program's 8-bit code page
    // (Latin-1 here). Unrepresentable characters become "?".
    static std::string WideToAnsi(const std::string& text, unsigned codePage);
    // Two upper-case hexadecimal digits per byte.
    static std::string StringToHex(const std::string& bytes);
    // A byte per pair of digits, an odd last digit read alone; "" when any
    // pair is not hexadecimal.
    static std::string HexToString(const std::string& text);
};

}  // namespace vx
