#include "canvas/painter_canvas.h"

#include <cmath>

#include <QFontMetrics>
#include <QImage>
#include <QPolygon>
#include <QStaticText>
#include <QString>
#include <cstdlib>
#include <unordered_map>

namespace vx {
namespace {

// Texts laid out for the last paints. A graph draws the same tick labels
// tick after tick, and laying a text out (shaping it, measuring it) is the
// costly part of drawing it: a label that did not change is drawn from its
// layout. Keyed by the text, the font and the device's resolution; emptied
// when it holds many (a clock label is new every second).
struct TLaidOutText {
    QStaticText text;
    int width = 0, height = 0;
};

TLaidOutText& laidOut(const QString& text, const QFont& font, const QString& fontKey, const QPaintDevice* device) {
    static thread_local std::unordered_map<QString, TLaidOutText> cache;
    constexpr std::size_t kMaxTexts = 512;
    const QString key = fontKey + text;
    if (const auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() >= kMaxTexts) cache.clear();
    const QFontMetrics fm(font, const_cast<QPaintDevice*>(device));
    TLaidOutText& t = cache[key];
    t.text.setText(text);
    t.text.setTextFormat(Qt::PlainText);
    t.text.setPerformanceHint(QStaticText::AggressiveCaching);
    t.width = fm.horizontalAdvance(text);
    t.height = fm.height();
    return t;
}

QPolygon toPolygon(std::span<const TPoint> points) {
    QPolygon poly;
    poly.reserve(static_cast<int>(points.size()));
    for (const TPoint& p : points) poly << QPoint(p.x, p.y);
    return poly;
}

Qt::PenStyle toQtPenStyle(TPenStyle s) {
    switch (s) {
        case TPenStyle::psDash: return Qt::DashLine;
        case TPenStyle::psDot: return Qt::DotLine;
        case TPenStyle::psDashDot: return Qt::DashDotLine;
        case TPenStyle::psDashDotDot: return Qt::DashDotDotLine;
        case TPenStyle::psClear: return Qt::NoPen;
        case TPenStyle::psSolid:
        case TPenStyle::psInsideFrame: return Qt::SolidLine;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle toQtBrushStyle(TBrushStyle s) {
    switch (s) {
        case TBrushStyle::bsSolid: return Qt::SolidPattern;
        case TBrushStyle::bsClear: return Qt::NoBrush;
        case TBrushStyle::bsHorizontal: return Qt::HorPattern;
        case TBrushStyle::bsVertical: return Qt::VerPattern;
        case TBrushStyle::bsFDiagonal: return Qt::FDiagPattern;
        case TBrushStyle::bsBDiagonal: return Qt::BDiagPattern;
        case TBrushStyle::bsCross: return Qt::CrossPattern;
        case TBrushStyle::bsDiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

}  // namespace

QColor toQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

QFont toQFont(const TFontAttr& f) {
    QFont font(QString::fromStdString(f.name));
    font.setPixelSize(std::max(1, std::abs(f.height)));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    return font;
}

QImage toQImage(const TPixmap& image) {
    if (image.isNull()) return {};
    QImage out(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width; ++x) line[x] = image.pixel(x, y);
    }
    out.setDevicePixelRatio(image.scale > 0 ? image.scale : 1);
    return out;
}

TPixmap fromQImage(const QImage& image) {
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    TPixmap out(src.width(), src.height());
    for (int y = 0; y < src.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < src.width(); ++x) out.setPixel(x, y, line[x]);
    }
    out.scale = std::max(1, static_cast<int>(std::lround(image.devicePixelRatio())));
    return out;
}

void ApplyPaletteToSystemColors(const QPalette& pal) {
    auto set = [](TSysColor index, const QColor& c) { SetSystemColor(index, rgbColor(c.red(), c.green(), c.blue())); };
    set(TSysColor::btnFace, pal.color(QPalette::Button));
    set(TSysColor::btnText, pal.color(QPalette::ButtonText));
    set(TSysColor::btnShadow, pal.color(QPalette::Dark));
    set(TSysColor::btnHighlight, pal.color(QPalette::Light));
    set(TSysColor::light3D, pal.color(QPalette::Midlight));
    set(TSysColor::dkShadow3D, pal.color(QPalette::Shadow));
    set(TSysColor::window, pal.color(QPalette::Base));
    set(TSysColor::windowText, pal.color(QPalette::Text));
    set(TSysColor::menu, pal.color(QPalette::Window));
    set(TSysColor::menuText, pal.color(QPalette::WindowText));
    set(TSysColor::highlight, pal.color(QPalette::Highlight));
    set(TSysColor::highlightText, pal.color(QPalette::HighlightedText));
    set(TSysColor::grayText, pal.color(QPalette::Disabled, QPalette::Text));
    set(TSysColor::infoBk, pal.color(QPalette::ToolTipBase));
    set(TSysColor::infoText, pal.color(QPalette::ToolTipText));
    set(TSysColor::hotLight, pal.color(QPalette::Link));
}

TPainterCanvas::TPainterCanvas(QPaintDevice* device) : FDevice(device), FPainter(device) {
    FPainter.setRenderHint(QPainter::Antialiasing, false);
    FPainter.setRenderHint(QPainter::TextAntialiasing, true);
}

TPainterCanvas::~TPainterCanvas() {
    if (FPainter.isActive()) FPainter.end();
}

void TPainterCanvas::applyMode(TPenMode mode) {
    switch (mode) {
        case TPenMode::pmCopy: FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver); break;
        case TPenMode::pmNotXor: FPainter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); break;
        case TPenMode::pmXor: FPainter.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
        case TPenMode::pmNot: FPainter.setCompositionMode(QPainter::RasterOp_NotDestination); break;
    }
}

void TPainterCanvas::endMode() { FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver); }

void TPainterCanvas::applyPen(bool withBrush) {
    const TPenAttr& p = pen();
    QPen qpen(toQColor(p.color));
    qpen.setStyle(toQtPenStyle(p.style));
    qpen.setWidth(p.width <= 1 ? 0 : p.width);  // width 0 is Qt's exact one-pixel pen
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    FPainter.setPen(qpen);
    if (withBrush) {
        const TBrushAttr& b = brush();
        FPainter.setBrush(QBrush(toQColor(b.color), toQtBrushStyle(b.style)));
    } else {
        FPainter.setBrush(Qt::NoBrush);
    }
    applyMode(p.mode);
}

void TPainterCanvas::drawLine(TPoint from, TPoint to) {
    if (from == to) return;
    applyPen(false);
    // A flat-capped one-pixel line leaves out its last pixel, as wanted.
    FPainter.drawLine(from.x, from.y, to.x, to.y);
    endMode();
}

void TPainterCanvas::polyline(std::span<const TPoint> points) {
    if (points.size() < 2) return;
    applyPen(false);
    FPainter.drawPolyline(toPolygon(points));  // flat caps: the last point is left out
    endMode();
}

void TPainterCanvas::segments(std::span<const TPoint> points) {
    if (points.size() < 2) return;
    // The pen is set once for all segments; each is still its own
    // two-point polyline, so the pixels equal those of polyline() per pair
    // (a list of lines would end them differently).
    applyPen(false);
    QPoint pair[2] = {{points[0].x, points[0].y}, {}};
    for (std::size_t i = 1; i < points.size(); ++i) {
        pair[1] = QPoint(points[i].x, points[i].y);
        FPainter.drawPolyline(pair, 2);
        pair[0] = pair[1];
    }
    endMode();
}

void TPainterCanvas::polygon(std::span<const TPoint> points) {
    if (points.empty()) return;
    applyPen(true);
    FPainter.drawPolygon(toPolygon(points));
    endMode();
}

void TPainterCanvas::rectangle(const TRect& r) {
    if (r.isEmpty()) return;
    const TPenAttr& p = pen();
    // Where the painter's outline is plain: two pixels at least each way, not
    // beyond the surface's top or left edge.
    const bool plain = r.left >= 0 && r.top >= 0 && r.width() >= 2 && r.height() >= 2;
    if (plain && brush().style == TBrushStyle::bsClear && p.style == TPenStyle::psSolid && p.width <= 1 &&
        p.mode == TPenMode::pmCopy) {
        // A one-pixel outline as four filled strips: the same pixels as the
        // painter's outline, which goes through its line stroker (a graph's
        // border, drawn at every tick, cost more than its two curves).
        const QColor c = toQColor(p.color);
        FPainter.fillRect(QRect(r.left, r.top, r.width(), 1), c);
        FPainter.fillRect(QRect(r.left, r.bottom - 1, r.width(), 1), c);
        FPainter.fillRect(QRect(r.left, r.top, 1, r.height()), c);
        FPainter.fillRect(QRect(r.right - 1, r.top, 1, r.height()), c);
        return;
    }
    applyPen(true);
    if (pen().style == TPenStyle::psClear)
        FPainter.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1).adjusted(0, 0, 1, 1));
    else
        FPainter.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
    endMode();
}

void TPainterCanvas::ellipse(const TRect& r) {
    if (r.isEmpty()) return;
    applyPen(true);
    FPainter.drawEllipse(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
    endMode();
}

void TPainterCanvas::fillRect(const TRect& r) {
    if (r.isEmpty() || brush().style == TBrushStyle::bsClear) return;
    FPainter.fillRect(QRect(r.left, r.top, r.width(), r.height()),
                      QBrush(toQColor(brush().color), toQtBrushStyle(brush().style)));
}

void TPainterCanvas::frameRect(const TRect& r) {
    if (r.isEmpty()) return;
    const QColor c = toQColor(brush().color);
    FPainter.fillRect(QRect(r.left, r.top, r.width(), 1), c);
    FPainter.fillRect(QRect(r.left, r.bottom - 1, r.width(), 1), c);
    FPainter.fillRect(QRect(r.left, r.top, 1, r.height()), c);
    FPainter.fillRect(QRect(r.right - 1, r.top, 1, r.height()), c);
}

void TPainterCanvas::drawFocusRect(const TRect& r) {
    if (r.isEmpty()) return;
    QPen qpen(Qt::white);
    qpen.setWidth(0);
    qpen.setStyle(Qt::DotLine);
    FPainter.setPen(qpen);
    FPainter.setBrush(Qt::NoBrush);
    FPainter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    FPainter.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
    endMode();
}

const QFont& TPainterCanvas::qfont() {
    if (!FQfontOf || !(*FQfontOf == font())) {
        FQfontOf = font();
        FQfont = toQFont(font());
        const int dpi = FDevice ? FDevice->logicalDpiY() : 0;
        FFontKey = FQfont.key() + QLatin1Char('\x1f') + QString::number(dpi) + QLatin1Char('\x1f');
    }
    return FQfont;
}

void TPainterCanvas::textOut(int x, int y, const std::string& text) {
    const QFont& f = qfont();
    TLaidOutText& t = laidOut(QString::fromStdString(text), f, FFontKey, FDevice);
    FPainter.save();
    FPainter.setFont(f);
    FPainter.translate(x, y);
    if (font().escapement != 0) FPainter.rotate(-font().escapement / 10.0);
    if (brush().style != TBrushStyle::bsClear) FPainter.fillRect(QRect(0, 0, t.width, t.height), toQColor(brush().color));
    FPainter.setPen(toQColor(font().color));
    FPainter.drawStaticText(0, 0, t.text);  // its top left: the line's top, as drawText at the ascent
    FPainter.restore();
}

TSize TPainterCanvas::textExtent(const std::string& text) {
    const QFont& f = qfont();
    const TLaidOutText& t = laidOut(QString::fromStdString(text), f, FFontKey, FDevice);
    return {t.width, t.height};
}

int TPainterCanvas::drawText(const std::string& text, TRect& r, unsigned flags) {
    const QFont f = toQFont(font());
    const QFontMetrics fm(f, FDevice);
    QString s = QString::fromStdString(text);
    int qtFlags = 0;
    qtFlags |= (flags & dt::Right) ? Qt::AlignRight : (flags & dt::Center) ? Qt::AlignHCenter : Qt::AlignLeft;
    qtFlags |= (flags & dt::Bottom) ? Qt::AlignBottom : (flags & dt::VCenter) ? Qt::AlignVCenter : Qt::AlignTop;
    if (flags & dt::SingleLine) qtFlags |= Qt::TextSingleLine;
    if (flags & dt::WordBreak) qtFlags |= Qt::TextWordWrap;
    if (flags & dt::ExpandTabs) qtFlags |= Qt::TextExpandTabs;
    if (!(flags & dt::NoPrefix)) qtFlags |= Qt::TextShowMnemonic;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const int width = r.width();
    if (flags & (dt::EndEllipsis | dt::WordEllipsis | dt::PathEllipsis)) {
        const Qt::TextElideMode mode = (flags & dt::PathEllipsis) ? Qt::ElideMiddle : Qt::ElideRight;
        QStringList lines = s.split(QLatin1Char('\n'));
        for (QString& line : lines) line = fm.elidedText(line, mode, width);
        s = lines.join(QLatin1Char('\n'));
    }
    const QRect qr(r.left, r.top, width, r.height());
    if (flags & dt::CalcRect) {
        const QRect b = fm.boundingRect(QRect(r.left, r.top, width > 0 ? width : 0x7FFF, 0x7FFF), qtFlags, s);
        r.right = r.left + b.width();
        r.bottom = r.top + b.height();
        return b.height();
    }
    FPainter.save();
    FPainter.setFont(f);
    FPainter.setPen(toQColor(font().color));
    if (!(flags & dt::NoClip)) FPainter.setClipRect(qr, Qt::IntersectClip);
    QRect used;
    FPainter.drawText(qr, qtFlags, s, &used);
    FPainter.restore();
    return used.height();
}

TRect TPainterCanvas::clipRect() const {
    if (FClip) return *FClip;
    // In drawing units: a HiDPI image has more pixels than that (a widget
    // already counts in drawing units).
    if (FDevice->devType() == QInternal::Image) {
        const QSizeF size = static_cast<const QImage*>(FDevice)->deviceIndependentSize();
        return {0, 0, static_cast<int>(std::lround(size.width())), static_cast<int>(std::lround(size.height()))};
    }
    return {0, 0, FDevice->width(), FDevice->height()};
}

void TPainterCanvas::setClipRect(const TRect& r) {
    FClip = r;
    FPainter.setClipRect(QRect(r.left, r.top, std::max(0, r.width()), std::max(0, r.height())));
}

void TPainterCanvas::drawImage(int x, int y, const QImage& image) { FPainter.drawImage(QPoint(x, y), image); }

void TPainterCanvas::drawPixmap(int x, int y, const TPixmap& image, TColor transparent) {
    if (image.isNull()) return;
    QImage img = toQImage(image);
    if (transparent != clNone) {
        const TColor key = ColorToRGB(transparent);
        const QRgb keyRgb = qRgb(redOf(key), greenOf(key), blueOf(key));
        for (int row = 0; row < img.height(); ++row) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(row));
            for (int col = 0; col < img.width(); ++col)
                if ((line[col] & 0xFFFFFF) == (keyRgb & 0xFFFFFF)) line[col] = 0;
        }
    }
    FPainter.drawImage(x, y, img);
}

TImageCanvas::TImageCanvas(int width, int height, TColor fill)
    : FImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32) {
    FImage.fill(toQColor(fill));
    FCanvas.emplace(&FImage);
}

QImage TImageCanvas::finish() {
    FCanvas.reset();
    return FImage;
}

}  // namespace vx
