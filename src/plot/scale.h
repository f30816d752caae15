#pragma once

// A scale maps values to pixels along one straight line and back, chooses
// its ticks (at round values, or evenly spaced through both ends), formats
// their labels, measures the room that line, ticks and labels need, and
// draws them. After every range change fMin < fMax, fInterval > 0,
// fLen >= 1, fM != 0 and the tick positions match the tick values.
//
// Pixel coordinates are those of the drawing surface; a vertical scale
// grows upward (larger values at smaller y).

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "canvas/canvas.h"
#include "plot/line_attr.h"

namespace vx {

// The stored form of a scale: named values in write order.
using TStoredValue = std::variant<std::int64_t, double, std::vector<std::int32_t>>;
using TStoredValues = std::vector<std::pair<std::string, TStoredValue>>;

// Bits of fFlags.
namespace sf {
inline constexpr std::int32_t Vertical = 0x001;
inline constexpr std::int32_t Inversed = 0x002;
inline constexpr std::int32_t NoTicks = 0x008;
inline constexpr std::int32_t NoTicksLabel = 0x010;
inline constexpr std::int32_t FarSide = 0x020;
inline constexpr std::int32_t AutoMin = 0x040;
inline constexpr std::int32_t AutoMax = 0x080;
inline constexpr std::int32_t LabelAsDateTime = 0x100;
inline constexpr std::int32_t EvenTicks = 0x200;
}  // namespace sf

inline constexpr int kMaxTicks = 31;

class Tsp_Scale {
public:
    explicit Tsp_Scale(std::int32_t flags);
    virtual ~Tsp_Scale() = default;
    Tsp_Scale(const Tsp_Scale&) = delete;
    Tsp_Scale& operator=(const Tsp_Scale&) = delete;

    void ChangeMinMax(double aMin, double aMax);
    void SetLine(int oX, int oY, int lLen);
    void ScrollBy(int delta) { MoveBy(true, delta, 0); }
    int V2P(double value) const;
    double P2V(int pixel) const { return (pixel - fOPos) / fM + fOVal; }

    int BandWidth(int fntWidth, int fntHeight);
    int OrgIndent(int fntWidth, int fntHeight);
    int EndIndent(int fntWidth, int fntHeight);
    void CalcDrawBounds(Canvas& canvas, TRect& rect);
    void DrawLine(Canvas& canvas, std::uint16_t orgDec, std::uint16_t endInc);
    void DrawTicks(Canvas& canvas);
    virtual void GetTickLabel(int index, std::string& text);
    double TickValue(int index) const;

    // Flag accessors: the bit of the given index (sf::*); setting a bit to
    // its current state does nothing, otherwise FlagChanged follows.
    bool Flag(int bit) const { return (fFlags >> bit) & 1; }
    void SetFlag(int bit, bool value);
    bool Inversed() const { return Flag(1); }
    void SetInversed(bool v) { SetFlag(1, v); }
    bool NoTicks() const { return Flag(3); }
    void SetNoTicks(bool v) { SetFlag(3, v); }
    bool TicksLines() const { return !Flag(3); }
    void SetTicksLines(bool v) { SetFlag(3, !v); }
    bool NoTicksLabel() const { return Flag(4); }
    void SetNoTicksLabel(bool v) { SetFlag(4, v); }
    bool LabelAsDataTime() const { return Flag(8); }
    void SetLabelAsDataTime(bool v) { SetFlag(8, v); }
    bool TicksAdjusted() const { return !Flag(9); }
    void SetTicksAdjusted(bool v) { SetFlag(9, !v); }
    bool Visible() const { return !(Flag(3) && Flag(4) && !fLineAttr.Visible()); }

    int OPos() const { return fOPos; }
    double OVal() const { return fOVal; }
    double SM() const { return fM; }
    int OX() const { return fO.x; }
    int OY() const { return fO.y; }
    int Len() const { return fLen; }
    double Min() const { return fMin; }
    double Max() const { return fMax; }
    double Interval() const { return fInterval; }
    std::int32_t Flags() const { return fFlags; }
    int TickCount() const { return rTksCount; }
    int RequestedTicks() const { return fTicksCount; }
    int TickPos(int i) const { return fTksPos[static_cast<std::size_t>(i)]; }
    double IntFactorValue() const { return IntFactor; }
    int Step() const { return IStep; }
    const std::string& LabelFormat() const { return fLabelFormat; }
    Tsp_LineAttr& LineAttr() { return fLineAttr; }

    // "SFlags", "SLinePos", "fMin" (only when not 0), "fMax"; reading "fMax"
    // recomputes everything.
    virtual void WriteStored(TStoredValues& out) const;
    virtual void ReadStored(const TStoredValues& in);

protected:
    virtual void FlagChanged(int index, bool value) { (void)index, (void)value; }
    void CalcMinMax(double aMin, double aMax);
    void CalcScaleFactor();
    void CalcTicksValues();
    void CalcTicksPos();
    void MoveBy(bool byPixels, double dP, double dV);
    bool labelsShown() const { return !Flag(4) && rTksCount > 0; }
    bool marksShown() const { return !Flag(3); }
    bool evenTicks() const { return Flag(4) || Flag(9); }

    double IMin = 0, IMax = 0, IntFactor = 1;
    std::int32_t IStep = 1;
    std::uint8_t rTksCount = 0;
    std::int32_t fOPos = 0;
    double fOVal = 0;
    double fM = 1;
    std::int32_t fFlags = 0;
    TPoint fO{10, 30};
    std::int32_t fLen = 25;
    std::uint8_t fTicksCount = 5;
    std::string fLabelFormat = "###0.##";
    Tsp_LineAttr fLineAttr;
    double fMin = 0, fMax = 0, fInterval = 1;
    std::array<std::int16_t, kMaxTicks> fTksPos{};
    std::array<double, kMaxTicks> fTksDbl{};
};

}  // namespace vx
