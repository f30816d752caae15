#include "watcher/tray_readout.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vx {
namespace {

// The widest text ShortRate gives: every figure is as wide as any other
// (tabular digits), "M" is the widest unit letter.
constexpr const char* kWidest = "888M";

QFont readoutFont() {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(64);  // laid out large, then scaled down as a path
    f.setStyleHint(QFont::SansSerif);
    return f;
}

// The room every text is scaled into: as wide as the widest text a rate
// gives, as tall as its figures and the bit units' ascenders. Laid out once.
const QRectF& referenceRect() {
    static const QRectF rect = [] {
        QPainterPath widest, tallest;
        widest.addText(0, 0, readoutFont(), QString::fromLatin1(kWidest));
        tallest.addText(0, 0, readoutFont(), QStringLiteral("8Mbk"));
        const QRectF w = widest.boundingRect();
        return QRectF(w.left(), std::min(w.top(), tallest.boundingRect().top()), w.width(),
                      std::max(w.bottom(), tallest.boundingRect().bottom()) - std::min(w.top(), tallest.boundingRect().top()));
    }();
    return rect;
}

QPainterPath textPath(const std::string& text) {
    QPainterPath path;
    path.addText(0, 0, readoutFont(), QString::fromStdString(text));
    return path;
}

// A line's text path placed so that the reference room fills `box`,
// right-aligned.
QPainterPath placed(const QPainterPath& text, const QRectF& box) {
    const QRectF& ref = referenceRect();
    QTransform t;
    t.translate(box.right(), box.top());
    t.scale(box.width() / ref.width(), box.height() / ref.height());
    t.translate(-text.boundingRect().right(), -ref.top());
    return t.map(text);
}

QRectF lineBox(int line, int size) {
    // A pixel of margin round the icon and between the lines, for the halo.
    const double margin = size >= 22 ? 1.5 : 1.0;
    const double h = (size - 3 * margin) / 2;
    return {margin, margin + line * (h + margin), size - 2 * margin, h};
}

}  // namespace

std::string ShortRate(double bytesPerSecond, int units) {
    const bool bits = units == 1;
    double v = std::max(0.0, bits ? bytesPerSecond * 8 : bytesPerSecond);
    const double step = bits ? 1000.0 : 1024.0;
    const char* letters = bits ? "bkMGTP" : "BKMGTP";
    int u = 0;
    // The unit in which the value, as shown, stays below 1000.
    while (u < 5 && (v >= 999.5 || (v >= 9.95 && std::round(v) >= 1000))) {
        v /= step;
        ++u;
    }
    char text[16];
    if (u > 0 && v < 9.95) std::snprintf(text, sizeof text, "%.1f%c", v, letters[u]);
    else std::snprintf(text, sizeof text, "%.0f%c", v, letters[u]);
    return text;
}

QColor ReadableOn(const QColor& background) {
    return background.lightnessF() > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
}

QRectF TrayReadoutLineRect(const std::string& text, int line, int size) {
    return placed(textPath(text), lineBox(line, size)).boundingRect();
}

namespace {

void drawInto(QImage& image, const QPainterPath (&lines)[2], const QColor& ink, int size) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor halo = ReadableOn(ink);
    for (int line = 0; line < 2; ++line) {
        const QPainterPath path = placed(lines[line], lineBox(line, size));
        p.strokePath(path, QPen(halo, size >= 22 ? 2.0 : 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.fillPath(path, ink);
        // A little heavier than the font's bold: at 16 pixels a stem is
        // about one pixel, which antialiasing would leave without a pixel
        // of the ink's own colour.
        p.strokePath(path, QPen(ink, size < 22 ? 0.7 : 0.5));
    }
}

}  // namespace

QImage DrawTrayReadout(const TTrayReadout& readout, int size, qreal ratio) {
    QImage image(QSize(size, size) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    const QPainterPath lines[2] = {textPath(readout.Download), textPath(readout.Upload)};
    drawInto(image, lines, readout.Ink, size);
    return image;
}

QIcon DrawTrayReadoutIcon(const TTrayReadout& readout, qreal ratio) {
    // The glyph outlines once; each size only places and fills them.
    const QPainterPath lines[2] = {textPath(readout.Download), textPath(readout.Upload)};
    QIcon icon;
    for (const int size : kTrayIconSizes) {
        QImage image(QSize(size, size) * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        drawInto(image, lines, readout.Ink, size);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace vx
