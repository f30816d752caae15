#pragma once
// WCAG 2 contrast of two colours, for tests that check what can be read.

#include <QColor>
#include <algorithm>
#include <cmath>

namespace vx::test {

inline double RelativeLuminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// 1 (the same) to 21 (black on white); text needs 4.5, a control's edge 3.
inline double Contrast(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace vx::test
