#pragma once

#include <cstdint>

namespace vx {

// A platform colour value: 0x00BBGGRR for a plain colour, or 0xFF0000nn for
// the system colour with index nn. Signed, so stored colours keep the
// negative numbers that settings files already hold for system colours.
using TColor = std::int32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;

// System colour indices, as the top-byte-0xFF colours carry them.
enum class TSysColor : int {
    scrollBar = 0, background = 1, activeCaption = 2, inactiveCaption = 3, menu = 4,
    window = 5, windowFrame = 6, menuText = 7, windowText = 8, captionText = 9,
    activeBorder = 10, inactiveBorder = 11, appWorkSpace = 12, highlight = 13,
    highlightText = 14, btnFace = 15, btnShadow = 16, grayText = 17, btnText = 18,
    inactiveCaptionText = 19, btnHighlight = 20, dkShadow3D = 21, light3D = 22,
    infoText = 23, infoBk = 24, hotLight = 26, gradientActiveCaption = 27,
    gradientInactiveCaption = 28, menuHilight = 29, menuBar = 30,
};
inline constexpr int kSysColorCount = 31;

constexpr TColor sysColor(TSysColor c) { return static_cast<TColor>(0xFF000000u | static_cast<unsigned>(c)); }

inline constexpr TColor clBtnFace = sysColor(TSysColor::btnFace);
inline constexpr TColor clBtnShadow = sysColor(TSysColor::btnShadow);
inline constexpr TColor clBtnHighlight = sysColor(TSysColor::btnHighlight);
inline constexpr TColor clHighlight = sysColor(TSysColor::highlight);
inline constexpr TColor clHighlightText = sysColor(TSysColor::highlightText);
inline constexpr TColor clWindow = sysColor(TSysColor::window);
inline constexpr TColor clWindowText = sysColor(TSysColor::windowText);
inline constexpr TColor clBtnText = sysColor(TSysColor::btnText);
inline constexpr TColor clGrayText = sysColor(TSysColor::grayText);

constexpr bool isSystemColor(TColor c) { return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0xFF000000u; }

constexpr TColor rgbColor(int r, int g, int b) {
    return static_cast<TColor>((static_cast<unsigned>(b & 0xFF) << 16) | (static_cast<unsigned>(g & 0xFF) << 8) |
                               static_cast<unsigned>(r & 0xFF));
}
constexpr int redOf(TColor c) { return c & 0xFF; }
constexpr int greenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(TColor c) { return (c >> 16) & 0xFF; }

// Resolves a system colour to its plain 0x00BBGGRR value through the
// program-wide system colour table; plain colours come back without their
// (unused) top byte. clNone and clDefault resolve to black.
TColor ColorToRGB(TColor color);

// The system colour table starts with conventional desktop colours; the GUI
// layer overwrites it from the toolkit's palette at start-up and whenever the
// palette changes.
void SetSystemColor(TSysColor index, TColor rgb);
TColor GetSystemColor(TSysColor index);

}  // namespace vx
