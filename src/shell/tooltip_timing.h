#pragma once

// The program's tooltip timing: a tooltip appears 1 millisecond after the
// pointer rests on a control and stays up to 100 seconds, so the graph's
// tooltip reads out the point under the pointer as it moves.

#include <QObject>
#include <QProxyStyle>

namespace vx {

inline constexpr int kToolTipWakeUpMs = 1;
inline constexpr int kToolTipShowMs = 100000;

class TToolTipTimingStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// Shows a control's own tooltip for kToolTipShowMs instead of the
// toolkit's few seconds.
class TToolTipTimingFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Installs both application-wide, once.
void InstallToolTipTiming();

}  // namespace vx
