#pragma once

// Check boxes and radio buttons whose edge can be seen: the Fusion style
// (Qt's own, the one a desktop without a Qt 6 theme gets) draws an
// unchecked box's frame a shade away from the background: under 2:1 on a
// light palette, and nothing to see on a dark one. A frame from the text
// colour is drawn over it.

#include <QProxyStyle>

namespace vx {

class TReadableIndicatorStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace vx
