// The caption bar's picture: state, colours, border, gradient, picture,
// caption and focus rectangle, in that order.
#include <QApplication>

#include "canvas/color_luma.h"
#include "canvas/painter_canvas.h"
#include "controls/gradient_bar.h"

namespace vx {
namespace {

bool hasEdge(TBorderEdges set, TBorderEdge e) { return (set >> e) & 1u; }

}  // namespace

// --- picture -------------------------------------------------------------

bool TGradientBar::hasImageSource() const {
    return FUAI || FUWI || (FImages && FImageIndex >= 0);
}

int TGradientBar::IconWidth() const {
    if (FUAI) return FIconSize;
    if (FUWI) return window() && !window()->windowIcon().isNull() ? 32 : 0;
    if (FImages && FImageIndex >= 0 && !FImages->empty()) return FImages->front().width;
    return 0;
}

int TGradientBar::IconHeight() const {
    if (FUAI) return FIconSize;
    if (FUWI) return window() && !window()->windowIcon().isNull() ? 32 : 0;
    if (FImages && FImageIndex >= 0 && !FImages->empty()) return FImages->front().height;
    return 0;
}

TPixmap TGradientBar::imagePixmap() const {
    if (FUAI) return fromQImage(QApplication::windowIcon().pixmap(FIconSize, FIconSize).toImage());
    if (FUWI && window()) return fromQImage(window()->windowIcon().pixmap(32, 32).toImage());
    if (FImages2x && devicePixelRatioF() >= 1.5 && FImageIndex >= 0 &&
        static_cast<std::size_t>(FImageIndex) < FImages2x->size())
        return (*FImages2x)[static_cast<std::size_t>(FImageIndex)];
    if (FImages && FImageIndex >= 0 && static_cast<std::size_t>(FImageIndex) < FImages->size())
        return (*FImages)[static_cast<std::size_t>(FImageIndex)];
    return {};
}

// --- painting ------------------------------------------------------------

TGradientBar::State TGradientBar::state() const {
    if (!isEnabled()) return State::Disabled;
    if (FSelected) return State::Selected;
    if (FHot && FHotTrack) return State::Hot;
    return State::Normal;
}

TFontAttr TGradientBar::stateFont(State s, const TThemeBuffer& tb) const {
    TFontAttr f;
    switch (s) {
        case State::Disabled: f = FDisabledFont, f.color = tb[TThemeBuffer::DisabledFontColor]; break;
        case State::Selected: f = FSelectedFont, f.color = tb[TThemeBuffer::SelectedFontColor]; break;
        case State::Hot: f = FHotFont, f.color = tb[TThemeBuffer::HotFontColor]; break;
        case State::Normal: return TFontAttr{FFont.name, FFont.height, FFont.bold, FFont.italic, FFont.underline,
                                             FFont.strikeOut, FFont.escapement, tb[TThemeBuffer::FontColor]};
    }
    // The state fonts take the height of the normal font.
    if (f.height != 0) f.height = MulDiv(f.height, MulDiv(FFont.height, 96, f.height), 96);
    return f;
}

unsigned TGradientBar::textFlags() const {
    unsigned flags = 0;
    switch (FWWM) {
        case wwmNone: flags = dt::EditControl; break;
        case wwmBreak: flags = dt::WordBreak; break;
        case wwmPathEllipsis: flags = dt::PathEllipsis; break;
        case wwmWordEllipsis: flags = dt::WordEllipsis; break;
        case wwmEndEllipsis: flags = dt::EndEllipsis; break;
    }
    if (FAlignment == taRightJustify) flags |= dt::Right;
    if (FAlignment == taCenter) flags |= dt::Center;
    return flags;
}

void TGradientBar::Paint(Canvas& canvas) {
    const TRect R{0, 0, width(), height()};
    TThemeBuffer tb = FThemeBuffer;
    for (int e : {TThemeBuffer::ColorFrom, TThemeBuffer::ColorTo, TThemeBuffer::DisabledColorFrom,
                  TThemeBuffer::DisabledColorTo})
        tb[e] = AdjustLuma(tb[e], FLum);
    for (int e : {TThemeBuffer::FontColor, TThemeBuffer::DisabledFontColor}) tb[e] = AdjustLuma(tb[e], -FLum - 1);

    // 1. Border, each edge without its end point.
    TRect G = R;
    if (FBorder) {
        canvas.setPen({tb[TThemeBuffer::BorderColor], TPenStyle::psSolid, 1, TPenMode::pmCopy});
        if (hasEdge(FBorderEdges, beLeft)) {
            canvas.moveTo(R.left, R.bottom);
            canvas.lineTo(R.left, R.top - 1);
            G.left += 1;
        }
        if (hasEdge(FBorderEdges, beTop)) {
            canvas.moveTo(R.left, R.top);
            canvas.lineTo(R.right, R.top);
            G.top += 1;
        }
        if (hasEdge(FBorderEdges, beRight)) {
            canvas.moveTo(R.right - 1, R.bottom);
            canvas.lineTo(R.right - 1, R.top - 1);
            G.right -= 1;
        }
        if (hasEdge(FBorderEdges, beBottom)) {
            canvas.moveTo(R.right, R.bottom - 1);
            canvas.lineTo(R.left - 1, R.bottom - 1);
            G.bottom -= 1;
        }
    }
    const TRect F = G;

    // 2. State: background and font.
    const State s = state();
    const TFontAttr font = stateFont(s, tb);
    switch (s) {
        case State::Disabled:
            DrawGradient(canvas, G, tb[TThemeBuffer::DisabledColorFrom], tb[TThemeBuffer::DisabledColorTo], FDirection,
                         FColorCount);
            break;
        case State::Selected:
            DrawGradient(canvas, G, tb[TThemeBuffer::SelectedColorFrom], tb[TThemeBuffer::SelectedColorTo], FDirection,
                         FColorCount);
            if (FSelectionBar) {
                const TBrushAttr saved = canvas.brush();
                canvas.setBrush({tb[TThemeBuffer::SelectionBarColor], TBrushStyle::bsSolid});
                const int w = FSelectionBarWidth;
                const bool left = FSelectionBarPos == sbpLeft || FSelectionBarPos == sbpLeftRight;
                const bool right = FSelectionBarPos == sbpRight || FSelectionBarPos == sbpLeftRight;
                const bool top = FSelectionBarPos == sbpTop || FSelectionBarPos == sbpTopBottom;
                const bool bottom = FSelectionBarPos == sbpBottom || FSelectionBarPos == sbpTopBottom;
                if (left) canvas.fillRect({G.left, G.top, G.left + w, G.bottom});
                if (right) canvas.fillRect({G.right - w, G.top, G.right, G.bottom});
                if (top) canvas.fillRect({G.left, G.top, G.right, G.top + w});
                if (bottom) canvas.fillRect({G.left, G.bottom - w, G.right, G.bottom});
                canvas.setBrush(saved);
            }
            break;
        case State::Hot:
            DrawGradient(canvas, G, tb[TThemeBuffer::HotColorFrom], tb[TThemeBuffer::HotColorTo], FDirection,
                         FColorCount);
            break;
        case State::Normal:
            DrawGradient(canvas, G, tb[TThemeBuffer::ColorFrom], tb[TThemeBuffer::ColorTo], FDirection, FColorCount);
            break;
    }
    canvas.setFont(font);

    // 3. Content rectangle (from the client rectangle, not G).
    TRect C{R.left + FLeftIndent, R.top + FTopIndent, R.right - FRightIndent, R.bottom};
    const std::string caption = FCaption.toStdString();

    // 4. Picture.
    if (hasImageSource()) {
        const int iw = IconWidth(), ih = IconHeight();
        const int th = canvas.textHeight(caption);
        const int top = C.top + (std::max(ih, th) - ih) / 2;
        int x = C.left;
        switch (FImageAlign) {
            case iaLeft: x = C.left, C.left += iw + 5; break;
            case iaRight: x = C.right - iw, C.right -= iw + 5; break;
            case iaTop: x = C.left + (C.right - C.left - iw) / 2, C.top += ih + 5; break;
        }
        const TPixmap picture = imagePixmap();
        if (!picture.isNull()) {
            if (s == State::Disabled)
                canvas.drawPixmap(x, top, GreyImage(picture), clWhite);
            else
                canvas.drawPixmap(x, top, picture, clNone);
        }
    }

    // 5. Caption, always top-aligned.
    canvas.setBrush({canvas.brush().color, TBrushStyle::bsClear});
    const unsigned flags = textFlags();
    TRect T{C.left, C.top + FVTO, C.right, G.bottom};
    if (FCaption.contains(QStringLiteral("\r\n"))) {
        canvas.drawText(caption, T, flags | dt::CalcRect);
        T.right = C.right;
    }
    canvas.drawText(caption, T, flags);

    // 6. Focus rectangle.
    if (hasFocus() && FDFR) canvas.drawFocusRect(F);
}

void TGradientBar::paintEvent(QPaintEvent*) {
    TPainterCanvas canvas(this);
    Paint(canvas);
}

}  // namespace vx
