#include "plot/scale.h"

#include <algorithm>
#include <cmath>

#include "plot/label_format.h"

namespace vx {
namespace {

// A constant a little larger than ln 10: an interval of exactly 10^k (k >= 1)
// takes the decade below, which the tick layout relies on.
constexpr long double kLn10 = 2.30258509299405L;

long double Int(long double x) { return std::trunc(x); }
long double Frac(long double x) { return x - std::trunc(x); }
long double Floor(long double x) { return Frac(x) < 0 ? Int(x) - 1 : Int(x); }
long double Ceil(long double x) { return Frac(x) > 0 ? Int(x) + 1 : Int(x); }
int Round(long double x) { return static_cast<int>(std::nearbyintl(x)); }

}  // namespace

Tsp_Scale::Tsp_Scale(std::int32_t flags) : fFlags(flags) { ChangeMinMax(0, 10); }

void Tsp_Scale::ChangeMinMax(double aMin, double aMax) {
    CalcMinMax(aMin, aMax);
    CalcScaleFactor();
    CalcTicksValues();
    CalcTicksPos();
}

void Tsp_Scale::CalcMinMax(double aMin, double aMax) {
    fMin = std::min(aMin, aMax);
    fMax = std::max(aMin, aMax);
    if (fMin == fMax) {
        const double v = fMin;
        if (std::fabs(v) >= 10) {
            fMax = v + std::fabs(v) / 10;
            fMin = fMax - std::fabs(fMax) / 10;
        } else {
            fMax = v + 1;
            fMin = fMax - 1;
        }
    }
    fInterval = fMax - fMin;
    const double quotient = static_cast<double>(std::log(static_cast<long double>(fInterval)) / kLn10);
    const auto d = static_cast<long long>(Floor(quotient));
    if (d <= 0)
        IntFactor = static_cast<double>(Int(std::exp((1 - d) * kLn10)));
    else
        IntFactor = static_cast<double>(1 / Int(std::exp((d - 1) * kLn10)));
    IMin = static_cast<double>(Ceil(static_cast<long double>(fMin) * IntFactor));
    IMax = static_cast<double>(Floor(static_cast<long double>(fMax) * IntFactor));
}

void Tsp_Scale::CalcScaleFactor() {
    if (!Flag(1)) {
        fM = fLen / fInterval;
        fOVal = fMin;
    } else {
        fM = -fLen / fInterval;
        fOVal = fMax;
    }
    if (Flag(0)) {
        fOPos = fO.y;
        fM = -fM;
    } else {
        fOPos = fO.x;
    }
}

void Tsp_Scale::CalcTicksValues() {
    rTksCount = fTicksCount;
    if (rTksCount == 0) return;
    if (evenTicks()) {
        const double step = fTicksCount == 1 ? 1.0 : 1.0 / (fTicksCount - 1);
        for (int i = 0; i < fTicksCount; ++i) fTksDbl[static_cast<std::size_t>(i)] = i * step;
        return;
    }
    if (fTicksCount > 1) {
        const int a = Round(static_cast<long double>(IMax) - IMin);
        IStep = a / (fTicksCount - 1);
        if (IStep == 0) IStep = 1;
        rTksCount = static_cast<std::uint8_t>(std::min(a / IStep + 1, kMaxTicks));
    } else {
        IStep = Round(static_cast<long double>(IMax) - IMin);
        rTksCount = 1;
    }
    const long double s = Flag(1) ? IMax : IMin;
    const long double k = Flag(1) ? -IStep : IStep;
    for (int i = 0; i < rTksCount; ++i) fTksDbl[static_cast<std::size_t>(i)] = static_cast<double>(Int(s + k * i) / IntFactor);
}

void Tsp_Scale::CalcTicksPos() {
    if (fTicksCount == 0) {
        rTksCount = 0;
        return;
    }
    for (int i = 0; i < rTksCount; ++i) {
        const auto idx = static_cast<std::size_t>(i);
        if (!evenTicks()) {
            fTksPos[idx] = static_cast<std::int16_t>(V2P(fTksDbl[idx]));
        } else {
            const int offset = Round(static_cast<long double>(fLen) * fTksDbl[idx]);
            fTksPos[idx] = static_cast<std::int16_t>(Flag(0) ? fOPos - offset : fOPos + offset);
        }
    }
}

int Tsp_Scale::V2P(double value) const {
    const double p = fOPos + (value - fOVal) * fM;
    if (p > 16383) return 16383;
    if (p < -16383) return -16383;
    return Round(p);
}

void Tsp_Scale::SetLine(int oX, int oY, int lLen) {
    if (oX == fO.x && oY == fO.y && lLen == fLen) return;
    fO = {oX, oY};
    fLen = lLen == 0 ? 1 : std::abs(lLen);
    CalcScaleFactor();
    CalcTicksPos();
}

double Tsp_Scale::TickValue(int index) const {
    const double t = fTksDbl[static_cast<std::size_t>(index)];
    if (!Flag(9)) return t;
    return Flag(1) ? fOVal - fInterval * t : fOVal + fInterval * t;
}

void Tsp_Scale::MoveBy(bool byPixels, double dP, double dV) {
    if (byPixels)
        dV = dP / fM;
    else
        dP = dV * fM;
    if (dV == 0) return;
    fMin += dV;
    fMax = fMin + fInterval;
    fOVal = Flag(1) ? fMax : fMin;
    IMin = static_cast<double>(Ceil(static_cast<long double>(fMin) * IntFactor));
    IMax = static_cast<double>(Floor(static_cast<long double>(fMax) * IntFactor));
    if (std::fabs(dV) > fInterval) {
        CalcTicksValues();
    } else if (!evenTicks() && rTksCount > 0) {
        // Keep the tick phase: the ticks stay on the same values and slide.
        const long double f = IntFactor;
        long double t = Frac((fTksDbl[0] * f - fOVal * f) / IStep);
        if (!Flag(1)) {
            if (t < 0) t += 1;
            const long double b = t * IStep + fOVal * f;
            rTksCount = static_cast<std::uint8_t>(
                std::min<long long>(static_cast<long long>(Int((fMax * f - b) / IStep)) + 1, kMaxTicks));
            for (int i = 0; i < rTksCount; ++i) fTksDbl[static_cast<std::size_t>(i)] = static_cast<double>((b + i * IStep) / f);
        } else {
            if (t > 0) t -= 1;
            const long double b = t * IStep + fOVal * f;
            rTksCount = static_cast<std::uint8_t>(
                std::min<long long>(static_cast<long long>(Int((b - fMin * f) / IStep)) + 1, kMaxTicks));
            for (int i = 0; i < rTksCount; ++i) fTksDbl[static_cast<std::size_t>(i)] = static_cast<double>((b - i * IStep) / f);
        }
    } else if (evenTicks() && fTicksCount > 0) {
        const long double step = fTicksCount == 1 ? 1.0L : 1.0L / (fTicksCount - 1);
        const long double d = Flag(0) ? -dP : dP;
        long double t = Frac((fLen * static_cast<long double>(fTksDbl[0]) - d) / (fLen * step));
        if (t < 0) t += 1;
        rTksCount = static_cast<std::uint8_t>(std::min<long long>(static_cast<long long>(Int(1 / step - t)) + 1, kMaxTicks));
        for (int i = 0; i < rTksCount; ++i) fTksDbl[static_cast<std::size_t>(i)] = static_cast<double>(i * step + t * step);
    }
    CalcTicksPos();
}

void Tsp_Scale::SetFlag(int bit, bool value) {
    if (Flag(bit) == value) return;
    if (value)
        fFlags |= 1 << bit;
    else
        fFlags &= ~(1 << bit);
    FlagChanged(bit, value);
}

void Tsp_Scale::GetTickLabel(int index, std::string& text) {
    text = Flag(8) ? FormatDateTimePattern(fLabelFormat, TickValue(index))
                   : FormatFloatPattern(fLabelFormat, TickValue(index));
}

int Tsp_Scale::BandWidth(int fntWidth, int fntHeight) {
    int w = fLineAttr.Width();
    if (rTksCount == 0) return w;
    if (labelsShown()) {
        if (!Flag(0)) {
            w += fntHeight + 5;
        } else {
            std::size_t widest = 0;
            std::string text;
            for (int i = 0; i < rTksCount; ++i) {
                GetTickLabel(i, text);
                widest = std::max(widest, text.size());
            }
            w += static_cast<int>(widest) * fntWidth + 5;
        }
    } else if (marksShown()) {
        w += 4;
    }
    return w;
}

int Tsp_Scale::OrgIndent(int fntWidth, int fntHeight) {
    if (!labelsShown()) return 0;
    const int d = std::abs(Round((static_cast<long double>(fOVal) - TickValue(0)) * fM));
    std::string text;
    GetTickLabel(0, text);
    const int half = !Flag(0) ? fntWidth * static_cast<int>(text.size()) / 2 : fntHeight / 2;
    return std::max(0, half - d);
}

int Tsp_Scale::EndIndent(int fntWidth, int fntHeight) {
    if (!labelsShown()) return 0;
    const int last = rTksCount - 1;
    const double farValue = Flag(1) ? fMin : fMax;
    const int d = std::abs(Round((static_cast<long double>(farValue) - TickValue(last)) * fM));
    std::string text;
    GetTickLabel(last, text);
    const int half = !Flag(0) ? fntWidth * static_cast<int>(text.size()) / 2 : fntHeight / 2;
    return std::max(0, half - d);
}

void Tsp_Scale::CalcDrawBounds(Canvas& canvas, TRect& rect) {
    int w = fLineAttr.Width();
    std::string text;
    if (!Flag(0)) {
        if (labelsShown()) {
            w += canvas.textHeight("8") + 5;
            GetTickLabel(0, text);
            rect.left = fTksPos[0] - canvas.textWidth(text) / 2;
            GetTickLabel(rTksCount - 1, text);
            rect.right = fTksPos[static_cast<std::size_t>(rTksCount - 1)] + canvas.textWidth(text) / 2;
        } else if (marksShown()) {
            w += 4;
        }
        rect.top = Flag(5) ? fO.y - w + 1 : fO.y;
        rect.bottom = rect.top + w;
        if (fO.x < rect.left) rect.left = fO.x;
        if (fO.x + fLen > rect.right) rect.right = fO.x + fLen + 1;
    } else {
        if (labelsShown()) {
            int widest = 0;
            for (int i = 0; i < rTksCount; ++i) {
                GetTickLabel(i, text);
                widest = std::max(widest, canvas.textWidth(text));
            }
            w = widest + 5;
            const int half = canvas.textHeight("8") / 2;
            rect.top = fTksPos[static_cast<std::size_t>(rTksCount - 1)] - half;
            rect.bottom = fTksPos[0] + half;
        } else if (marksShown()) {
            w += 4;
        }
        rect.left = Flag(5) ? fO.x : fO.x - w + 1;
        rect.right = rect.left + w;
        if (fO.y - fLen < rect.top) rect.top = fO.y - fLen;
        if (fO.y > rect.bottom) rect.bottom = fO.y + 1;
    }
}

void Tsp_Scale::DrawLine(Canvas& canvas, std::uint16_t orgDec, std::uint16_t endInc) {
    if (!fLineAttr.Visible()) return;
    canvas.setPen({fLineAttr.Color(), fLineAttr.Style(), 1, TPenMode::pmCopy});
    const int step = Flag(5) ? -1 : 1;
    for (int i = 0; i < fLineAttr.Width(); ++i) {
        if (!Flag(0)) {
            const int y = fO.y + i * step;
            canvas.moveTo(fO.x - orgDec, y);
            canvas.lineTo(fO.x + fLen + 1 + endInc, y);
        } else {
            const int x = fO.x - i * step;
            canvas.moveTo(x, fO.y + 1 + orgDec);
            canvas.lineTo(x, fO.y - fLen - endInc);
        }
    }
}

void Tsp_Scale::DrawTicks(Canvas& canvas) {
    if (Flag(3) && Flag(4)) return;
    const int W = fLineAttr.Width();
    const int h2 = canvas.textHeight("8") / 2;
    std::string text;
    if (Flag(0)) {
        if (marksShown() && rTksCount > 0) {
            const int x1 = Flag(5) ? fO.x + W : fO.x - W;
            const int x2 = Flag(5) ? x1 + 4 : x1 - 4;
            for (int i = 0; i < rTksCount; ++i) {
                canvas.moveTo(x1, fTksPos[static_cast<std::size_t>(i)]);
                canvas.lineTo(x2, fTksPos[static_cast<std::size_t>(i)]);
            }
        }
        if (labelsShown()) {
            for (int i = 0; i < rTksCount; ++i) {
                GetTickLabel(i, text);
                const int x = Flag(5) ? fO.x + W + 5 : fO.x - W - 5 - canvas.textWidth(text);
                canvas.textOut(x, fTksPos[static_cast<std::size_t>(i)] - h2, text);
            }
        }
        return;
    }
    if (marksShown() && rTksCount > 0) {
        const int y1 = Flag(5) ? fO.y - W : fO.y + W;
        const int y2 = Flag(5) ? y1 - 4 : y1 + 4;
        for (int i = 0; i < rTksCount; ++i) {
            canvas.moveTo(fTksPos[static_cast<std::size_t>(i)], y1);
            canvas.lineTo(fTksPos[static_cast<std::size_t>(i)], y2);
        }
    }
    if (labelsShown()) {
        const int top = Flag(5) ? fO.y - W - canvas.textHeight("8") - 5 : fO.y + W + 5;
        for (int i = 0; i < rTksCount; ++i) {
            GetTickLabel(i, text);
            canvas.textOut(fTksPos[static_cast<std::size_t>(i)] - canvas.textWidth(text) / 2, top, text);
        }
    }
}

void Tsp_Scale::WriteStored(TStoredValues& out) const {
    out.emplace_back("SFlags", std::int64_t{fFlags});
    out.emplace_back("SLinePos", std::vector<std::int32_t>{fO.x, fO.y, fLen});
    if (fMin != 0) out.emplace_back("fMin", fMin);
    out.emplace_back("fMax", fMax);
}

void Tsp_Scale::ReadStored(const TStoredValues& in) {
    for (const auto& [name, value] : in) {
        if (name == "SFlags" && std::holds_alternative<std::int64_t>(value)) {
            fFlags = static_cast<std::int32_t>(std::get<std::int64_t>(value));
        } else if (name == "SLinePos" && std::holds_alternative<std::vector<std::int32_t>>(value)) {
            const auto& v = std::get<std::vector<std::int32_t>>(value);
            // A stored length of 0 or below would break the scale: corrected as SetLine does.
            if (v.size() == 3) fO = {v[0], v[1]}, fLen = v[2] == 0 ? 1 : std::abs(v[2]);
        } else if (name == "fMin" && std::holds_alternative<double>(value)) {
            fMin = std::get<double>(value);
        } else if (name == "fMax" && std::holds_alternative<double>(value)) {
            ChangeMinMax(fMin, std::get<double>(value));
        }
    }
}

}  // namespace vx
