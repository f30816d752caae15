#include "shell/readable_indicator_style.h"

#include <QPainter>
#include <QStyleOption>

namespace vx {
namespace {

// The text colour brought part way to the background: a frame with at
// least 3:1 contrast to it (what a control's edge needs to be seen) on any
// palette whose text can be read, still quieter than the text.
QColor frameColor(const QPalette& palette) {
    const QColor text = palette.color(QPalette::Text), base = palette.color(QPalette::Base);
    return QColor::fromRgbF(0.6f * text.redF() + 0.4f * base.redF(), 0.6f * text.greenF() + 0.4f * base.greenF(),
                            0.6f * text.blueF() + 0.4f * base.blueF());
}

}  // namespace

void TReadableIndicatorStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                            const QWidget* widget) const {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    const bool box = element == PE_IndicatorCheckBox || element == PE_IndicatorItemViewItemCheck;
    if (!(box || element == PE_IndicatorRadioButton) ||
        baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(frameColor(option->palette), 1.0));
    const QRectF r = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    if (box) painter->drawRoundedRect(r, 1.5, 1.5);
    else painter->drawEllipse(r);
    painter->restore();
}

}  // namespace vx
