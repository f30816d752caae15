#include "canvas/color.h"

#include <array>

namespace vx {
namespace {

std::array<TColor, kSysColorCount> defaultTable() {
    std::array<TColor, kSysColorCount> t{};
    t.fill(rgbColor(0xF0, 0xF0, 0xF0));
    auto set = [&t](TSysColor i, int r, int g, int b) { t[static_cast<int>(i)] = rgbColor(r, g, b); };
    set(TSysColor::window, 255, 255, 255);
    set(TSysColor::windowText, 0, 0, 0);
    set(TSysColor::menuText, 0, 0, 0);
    set(TSysColor::captionText, 0, 0, 0);
    set(TSysColor::btnText, 0, 0, 0);
    set(TSysColor::infoText, 0, 0, 0);
    set(TSysColor::infoBk, 255, 255, 225);
    set(TSysColor::highlight, 0, 120, 215);
    set(TSysColor::highlightText, 255, 255, 255);
    set(TSysColor::hotLight, 0, 102, 204);
    set(TSysColor::btnShadow, 160, 160, 160);
    set(TSysColor::btnHighlight, 255, 255, 255);
    set(TSysColor::dkShadow3D, 105, 105, 105);
    set(TSysColor::light3D, 227, 227, 227);
    set(TSysColor::grayText, 109, 109, 109);
    set(TSysColor::windowFrame, 100, 100, 100);
    set(TSysColor::activeCaption, 153, 180, 209);
    set(TSysColor::inactiveCaption, 191, 205, 219);
    return t;
}

std::array<TColor, kSysColorCount>& table() {
    static std::array<TColor, kSysColorCount> t = defaultTable();
    return t;
}

}  // namespace

TColor ColorToRGB(TColor color) {
    if (color == clNone || color == clDefault) return clBlack;
    if (isSystemColor(color)) {
        const int index = color & 0xFF;
        return index < kSysColorCount ? table()[static_cast<std::size_t>(index)] : clBlack;
    }
    return color & 0xFFFFFF;
}

void SetSystemColor(TSysColor index, TColor rgb) {
    const int i = static_cast<int>(index);
    if (i >= 0 && i < kSysColorCount) table()[static_cast<std::size_t>(i)] = rgb & 0xFFFFFF;
}

TColor GetSystemColor(TSysColor index) {
    const int i = static_cast<int>(index);
    return i >= 0 && i < kSysColorCount ? table()[static_cast<std::size_t>(i)] : clBlack;
}

}  // namespace vx
