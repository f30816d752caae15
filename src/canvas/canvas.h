#pragma once

#include <span>
#include <string>

#include "canvas/color.h"
#include "canvas/geometry.h"
#include "canvas/pixmap.h"

namespace vx {

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How a pen combines with what is already drawn. pmNotXor drawn twice over
// the same pixels restores them, which rubber-band rectangles rely on.
enum class TPenMode { pmCopy, pmNotXor, pmXor, pmNot };

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TPenAttr {
    TColor color = clBlack;
    TPenStyle style = TPenStyle::psSolid;
    int width = 1;
    TPenMode mode = TPenMode::pmCopy;
    friend bool operator==(const TPenAttr&, const TPenAttr&) = default;
};

struct TBrushAttr {
    TColor color = clWhite;
    TBrushStyle style = TBrushStyle::bsSolid;
    friend bool operator==(const TBrushAttr&, const TBrushAttr&) = default;
};

struct TFontAttr {
    std::string name = "DejaVu Sans";
    // Negative: character height in pixels; positive: cell height in pixels.
    int height = -11;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    // Text direction in tenths of a degree, counter-clockwise (900 = upwards).
    int escapement = 0;
    TColor color = clWindowText;
    friend bool operator==(const TFontAttr&, const TFontAttr&) = default;
};

// Flags of Canvas::drawText, with the values the original text API uses so
// that stored or computed flag words keep their meaning.
namespace dt {
inline constexpr unsigned Left = 0x0;
inline constexpr unsigned Center = 0x1;
inline constexpr unsigned Right = 0x2;
inline constexpr unsigned VCenter = 0x4;
inline constexpr unsigned Bottom = 0x8;
inline constexpr unsigned WordBreak = 0x10;
inline constexpr unsigned SingleLine = 0x20;
inline constexpr unsigned ExpandTabs = 0x40;
inline constexpr unsigned NoClip = 0x100;
inline constexpr unsigned CalcRect = 0x400;
inline constexpr unsigned NoPrefix = 0x800;
inline constexpr unsigned EditControl = 0x2000;
inline constexpr unsigned PathEllipsis = 0x4000;
inline constexpr unsigned EndEllipsis = 0x8000;
inline constexpr unsigned WordEllipsis = 0x40000;
}  // namespace dt

// The drawing surface that the plot and the caption bar paint on. The
// current pen, brush, font and pen position are state of the canvas, as the
// drawing code expects; backends read them when a primitive is drawn.
// Coordinates are device pixels; rectangles exclude right and bottom.
class Canvas {
public:
    virtual ~Canvas() = default;

    const TPenAttr& pen() const { return FPen; }
    const TBrushAttr& brush() const { return FBrush; }
    const TFontAttr& font() const { return FFont; }
    TPoint penPos() const { return FPenPos; }
    void setPen(const TPenAttr& p) { FPen = p; }
    void setBrush(const TBrushAttr& b) { FBrush = b; }
    void setFont(const TFontAttr& f) { FFont = f; }

    void moveTo(int x, int y) { FPenPos = {x, y}; }
    // Line from the pen position to (x, y), the end point excluded; the pen
    // position moves to (x, y).
    void lineTo(int x, int y);

    // Open polyline through the points with the current pen.
    virtual void polyline(std::span<const TPoint> points) = 0;
    // Each pair of neighbouring points as its own two-point polyline: the
    // joints come out as separate segments draw them, which a polyline
    // through all the points does not reproduce.
    virtual void segments(std::span<const TPoint> points);
    // Closed polygon: filled with the brush, outlined with the pen.
    virtual void polygon(std::span<const TPoint> points) = 0;
    // Outlined with the pen and filled with the brush.
    virtual void rectangle(const TRect& r) = 0;
    virtual void ellipse(const TRect& r) = 0;
    // Fills with the brush only; no outline.
    virtual void fillRect(const TRect& r) = 0;
    // One-pixel frame in the brush colour.
    virtual void frameRect(const TRect& r) = 0;
    // A dotted frame drawn by inversion, so drawing it twice removes it.
    virtual void drawFocusRect(const TRect& r) = 0;

    // Text with its top-left corner at (x, y) in the current font; the
    // background is filled with the brush unless the brush is clear.
    virtual void textOut(int x, int y, const std::string& text) = 0;
    virtual TSize textExtent(const std::string& text) = 0;
    int textWidth(const std::string& text) { return textExtent(text).cx; }
    int textHeight(const std::string& text) { return textExtent(text).cy; }
    // Formatted text inside r with dt:: flags. With dt::CalcRect nothing is
    // drawn and r receives the bounds the text needs. Returns the text height.
    virtual int drawText(const std::string& text, TRect& r, unsigned flags) = 0;

    // Bounding box of the current clip region (the whole surface when no
    // clip is set); setClipRect replaces the clip region with r.
    virtual TRect clipRect() const = 0;
    virtual void setClipRect(const TRect& r) = 0;

    // Draws the image with its top-left corner at (x, y). Pixels whose RGB
    // equals the transparent colour are left out unless it is clNone.
    virtual void drawPixmap(int x, int y, const TPixmap& image, TColor transparent = clNone) = 0;

protected:
    virtual void drawLine(TPoint from, TPoint to) = 0;

private:
    TPenAttr FPen;
    TBrushAttr FBrush;
    TFontAttr FFont;
    TPoint FPenPos;
};

}  // namespace vx
