#include "persistence/cipherer.h"

#include <QString>

namespace vx {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string combine(std::string bytes, const std::string& key) {
    if (key.empty()) return bytes;
    for (std::size_t j = 0; j < bytes.size(); ++j) bytes[j] = static_cast<char>(bytes[j] ^ key[(j + 1) % key.size()]);
    return bytes;
}

}  // namespace

std::string TLayoutManagerCipherer::WideToAnsi(const std::string& text, unsigned /*codePage*/) {
    const QString wide = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    std::string out;
    out.reserve(static_cast<std::size_t>(wide.size()));
    for (const QChar c : wide) out.push_back(c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '?');
    return out;
}

std::string TLayoutManagerCipherer::StringToHex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char b : bytes) {
        const auto v = static_cast<unsigned char>(b);
        out.push_back(kDigits[v >> 4]);
        out.push_back(kDigits[v & 0xF]);
    }
    return out;
}

std::string TLayoutManagerCipherer::HexToString(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = hexValue(text[i]);
        if (high < 0) return {};
        if (i + 1 == text.size()) {  // an odd last digit stands alone
            out.push_back(static_cast<char>(high));
            break;
        }
        const int low = hexValue(text[i + 1]);
        if (low < 0) return {};
        out.push_back(static_cast<char>(high * 16 + low));
    }
    return out;
}

std::string TLayoutManagerCipherer::EncryptText(const std::string& text, const std::string& key) {
    if (text.empty()) return {};
    return StringToHex(combine(WideToAnsi(text, 0), WideToAnsi(key, 0)));
}

std::string TLayoutManagerCipherer::DecryptText(const std::string& text, const std::string& key) {
    if (text.empty()) return {};
    const std::string bytes = combine(HexToString(text), WideToAnsi(key, 0));
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char b : bytes) out.append(QChar(static_cast<unsigned char>(b)));
    return out.toStdString();
}

}  // namespace vx
