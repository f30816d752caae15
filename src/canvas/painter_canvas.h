#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <optional>

#include "canvas/canvas.h"

namespace vx {

QColor toQColor(TColor color);
QFont toQFont(const TFontAttr& font);
QImage toQImage(const TPixmap& image);
TPixmap fromQImage(const QImage& image);

// Fills the program's system colour table from a toolkit palette, so that
// system colours (clBtnFace, clHighlight, ...) follow the desktop theme.
void ApplyPaletteToSystemColors(const QPalette& palette);

// Canvas backend that draws with a QPainter on any paint device: a QImage
// (off-screen buffers, tests) or a widget inside its paint event. The
// painter lives as long as this object. Inverting pen modes need a raster
// device (QImage or a widget's backing store).
class TPainterCanvas : public Canvas {
public:
    explicit TPainterCanvas(QPaintDevice* device);
    ~TPainterCanvas() override;
    TPainterCanvas(const TPainterCanvas&) = delete;
    TPainterCanvas& operator=(const TPainterCanvas&) = delete;

    QPainter& painter() { return FPainter; }

    void polyline(std::span<const TPoint> points) override;
    void segments(std::span<const TPoint> points) override;
    void polygon(std::span<const TPoint> points) override;
    void rectangle(const TRect& r) override;
    void ellipse(const TRect& r) override;
    void fillRect(const TRect& r) override;
    void frameRect(const TRect& r) override;
    void drawFocusRect(const TRect& r) override;
    void textOut(int x, int y, const std::string& text) override;
    TSize textExtent(const std::string& text) override;
    int drawText(const std::string& text, TRect& r, unsigned flags) override;
    TRect clipRect() const override;
    void setClipRect(const TRect& r) override;
    void drawPixmap(int x, int y, const TPixmap& image, TColor transparent) override;
    // A Qt image as it is: no conversion, no copy (the plot's buffer).
    void drawImage(int x, int y, const QImage& image);

protected:
    void drawLine(TPoint from, TPoint to) override;

private:
    void applyPen(bool withBrush);
    void applyMode(TPenMode mode);
    void endMode();
    // The canvas font as a QFont, and the key its laid-out texts are kept
    // under: made again only when the font changes.
    const QFont& qfont();

    QPaintDevice* FDevice;
    QPainter FPainter;
    std::optional<TRect> FClip;
    std::optional<TFontAttr> FQfontOf;
    QFont FQfont;
    QString FFontKey;
};

// An off-screen image with a canvas bound to it: the program's memory bitmap.
class TImageCanvas {
public:
    TImageCanvas(int width, int height, TColor fill = clWhite);
    QImage& image() { return FImage; }
    Canvas& canvas() { return *FCanvas; }
    // Ends painting so that image() holds every pixel drawn so far; the
    // canvas is gone afterwards.
    QImage finish();

private:
    QImage FImage;
    std::optional<TPainterCanvas> FCanvas;
};

}  // namespace vx
