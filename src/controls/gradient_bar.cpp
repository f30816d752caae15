#include "controls/gradient_bar.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QWindow>

#include "canvas/color_luma.h"
#include "canvas/painter_canvas.h"

namespace vx {
namespace {

TColor fromQColor(const QColor& c) { return rgbColor(c.red(), c.green(), c.blue()); }

bool hasEdge(TBorderEdges set, TBorderEdge e) { return (set >> e) & 1u; }

}  // namespace

TGradientBar::TGradientBar(QWidget* parent) : QWidget(parent) {
    FThemeBuffer[TThemeBuffer::BorderColor] = 0x211713;
    FThemeBuffer[TThemeBuffer::ColorFrom] = 0x63524B;
    FThemeBuffer[TThemeBuffer::ColorTo] = 0x443631;
    const TColor from = FThemeBuffer[TThemeBuffer::ColorFrom];
    const TColor to = FThemeBuffer[TThemeBuffer::ColorTo];
    FThemeBuffer[TThemeBuffer::DisabledColorFrom] = AdjustLuma(from, -200);
    FThemeBuffer[TThemeBuffer::DisabledColorTo] = AdjustLuma(from, -200);
    FThemeBuffer[TThemeBuffer::SelectedColorFrom] = AdjustLuma(from, -200);
    FThemeBuffer[TThemeBuffer::SelectedColorTo] = AdjustLuma(to, -200);
    FThemeBuffer[TThemeBuffer::HotColorFrom] = AdjustLuma(from, 200);
    FThemeBuffer[TThemeBuffer::HotColorTo] = AdjustLuma(to, 200);
    FThemeBuffer[TThemeBuffer::SelectionBarColor] = 0x277FFF;
    FThemeBuffer[TThemeBuffer::FontColor] = clWhite;
    FThemeBuffer[TThemeBuffer::DisabledFontColor] = 0x808080;
    FThemeBuffer[TThemeBuffer::SelectedFontColor] = clWhite;
    FThemeBuffer[TThemeBuffer::HotFontColor] = clWhite;
    FFont.color = clWhite;
    FSelectedFont = FHotFont = FFont;
    FDisabledFont = FFont;
    FDisabledFont.color = 0x808080;
    resize(200, 30);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    BackupThemeBuffer();
    if (FStyleAware) ApplyStyleColors();
    SyncColor();
    AdjustWidth();
}

// --- colours -------------------------------------------------------------

void TGradientBar::SetColor(TThemeBuffer::Entry entry, TColor color) {
    FThemeBuffer[entry] = color;
    SyncColor();
    update();
}

void TGradientBar::SetColors(TColor from, TColor to) {
    if (from != clNone) SetColor(TThemeBuffer::ColorFrom, from);
    if (to != clNone) SetColor(TThemeBuffer::ColorTo, to);
}

void TGradientBar::SetHotColors(TColor from, TColor to) {
    if (from != clNone) SetColor(TThemeBuffer::HotColorFrom, from);
    if (to != clNone) SetColor(TThemeBuffer::HotColorTo, to);
}

void TGradientBar::SetSelectedColors(TColor from, TColor to) {
    if (from != clNone) SetColor(TThemeBuffer::SelectedColorFrom, from);
    if (to != clNone) SetColor(TThemeBuffer::SelectedColorTo, to);
}

void TGradientBar::SetThemeBuffer(const TThemeBuffer& buffer, bool excludeSelectedColor) {
    for (int i = 0; i < TThemeBuffer::Count; ++i) {
        if (buffer[i] == clNone || i == TThemeBuffer::SelectionBarColor) continue;
        if (excludeSelectedColor && (i == TThemeBuffer::SelectedColorFrom || i == TThemeBuffer::SelectedColorTo))
            continue;
        FThemeBuffer[i] = buffer[i];
    }
    SyncColor();
    update();
}

void TGradientBar::BackupThemeBuffer() {
    FThemeBuffer[TThemeBuffer::FontColor] = FFont.color;
    FThemeBuffer[TThemeBuffer::DisabledFontColor] = FDisabledFont.color;
    FThemeBuffer[TThemeBuffer::SelectedFontColor] = FSelectedFont.color;
    FThemeBuffer[TThemeBuffer::HotFontColor] = FHotFont.color;
    FBakThemeBuffer = FThemeBuffer;
}

void TGradientBar::RestoreThemeBuffer() {
    FFont.color = FBakThemeBuffer[TThemeBuffer::FontColor];
    FDisabledFont.color = FBakThemeBuffer[TThemeBuffer::DisabledFontColor];
    FSelectedFont.color = FBakThemeBuffer[TThemeBuffer::SelectedFontColor];
    FHotFont.color = FBakThemeBuffer[TThemeBuffer::HotFontColor];
    FThemeBuffer = FBakThemeBuffer;
}

// The application's own palette counts as the system style; a palette set
// on top of it (a theme) supplies the bar's colours instead.
void TGradientBar::ApplyStyleColors() {
    const QPalette app = QApplication::palette();
    if (!qApp || app == QApplication::style()->standardPalette()) {
        RestoreThemeBuffer();
        return;
    }
    const TColor panel = fromQColor(app.color(QPalette::Window));
    const TColor window = fromQColor(app.color(QPalette::Base));
    FThemeBuffer[TThemeBuffer::BorderColor] = fromQColor(app.color(QPalette::Dark));
    FThemeBuffer[TThemeBuffer::ColorFrom] = FThemeBuffer[TThemeBuffer::ColorTo] = panel;
    if (FButtonMode) {
        const TColor pressed = fromQColor(app.color(QPalette::Mid));
        const TColor hot = AdjustLuma(fromQColor(app.color(QPalette::Button)), 100);
        FThemeBuffer[TThemeBuffer::DisabledColorFrom] = FThemeBuffer[TThemeBuffer::DisabledColorTo] = panel;
        FThemeBuffer[TThemeBuffer::SelectedColorFrom] = FThemeBuffer[TThemeBuffer::SelectedColorTo] = pressed;
        FThemeBuffer[TThemeBuffer::HotColorFrom] = FThemeBuffer[TThemeBuffer::HotColorTo] = hot;
        FThemeBuffer[TThemeBuffer::FontColor] = fromQColor(app.color(QPalette::ButtonText));
        FThemeBuffer[TThemeBuffer::DisabledFontColor] = fromQColor(app.color(QPalette::Disabled, QPalette::ButtonText));
        FThemeBuffer[TThemeBuffer::SelectedFontColor] = fromQColor(app.color(QPalette::ButtonText));
        FThemeBuffer[TThemeBuffer::HotFontColor] = fromQColor(app.color(QPalette::ButtonText));
    } else {
        const TColor disabledPanel = fromQColor(app.color(QPalette::Disabled, QPalette::Window));
        FThemeBuffer[TThemeBuffer::DisabledColorFrom] = FThemeBuffer[TThemeBuffer::DisabledColorTo] = disabledPanel;
        FThemeBuffer[TThemeBuffer::SelectedColorFrom] = FThemeBuffer[TThemeBuffer::SelectedColorTo] = window;
        FThemeBuffer[TThemeBuffer::HotColorFrom] = FThemeBuffer[TThemeBuffer::HotColorTo] = window;
        FThemeBuffer[TThemeBuffer::FontColor] = fromQColor(app.color(QPalette::WindowText));
        FThemeBuffer[TThemeBuffer::DisabledFontColor] = fromQColor(app.color(QPalette::Disabled, QPalette::WindowText));
        FThemeBuffer[TThemeBuffer::SelectedFontColor] = fromQColor(app.color(QPalette::Text));
        FThemeBuffer[TThemeBuffer::HotFontColor] = fromQColor(app.color(QPalette::Text));
    }
    FFont.color = FThemeBuffer[TThemeBuffer::FontColor];
    FDisabledFont.color = FThemeBuffer[TThemeBuffer::DisabledFontColor];
    FSelectedFont.color = FThemeBuffer[TThemeBuffer::SelectedFontColor];
    FHotFont.color = FThemeBuffer[TThemeBuffer::HotFontColor];
}

void TGradientBar::SetStyleAware(bool on) {
    if (on == FStyleAware) return;
    FStyleAware = on;
    if (on) {
        BackupThemeBuffer();
        ApplyStyleColors();
    } else {
        RestoreThemeBuffer();
    }
    SyncColor();
    update();
}

// Child widgets that take their parent's colour match the start of the gradient.
void TGradientBar::SyncColor() {
    if (!isEnabled())
        FStateColor = FThemeBuffer[TThemeBuffer::DisabledColorFrom];
    else if (FSelected)
        FStateColor = FThemeBuffer[TThemeBuffer::SelectedColorFrom];
    else
        FStateColor = FThemeBuffer[TThemeBuffer::ColorFrom];
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(FStateColor));
    setPalette(pal);
}

// --- fonts, caption, appearance ------------------------------------------

void TGradientBar::SetCaption(const QString& caption) {
    FCaption = caption;
    update();
    AdjustWidth();
}

void TGradientBar::SetFont(const TFontAttr& font) {
    FFont = font;
    FThemeBuffer[TThemeBuffer::FontColor] = font.color;
    AdjustWidth();
    update();
}

void TGradientBar::SetSelectedFont(const TFontAttr& font) {
    FThemeBuffer[TThemeBuffer::SelectedFontColor] = font.color;
    FSelectedFont = font;
    AdjustWidth();
    update();
}

void TGradientBar::SetDisabledFont(const TFontAttr& font) {
    FThemeBuffer[TThemeBuffer::DisabledFontColor] = font.color;
    FDisabledFont = font;
    AdjustWidth();
    update();
}

void TGradientBar::SetHotFont(const TFontAttr& font) {
    FThemeBuffer[TThemeBuffer::HotFontColor] = font.color;
    FHotFont = font;
    AdjustWidth();
    update();
}

void TGradientBar::updateMargins() {
    const int b = FBorder ? 1 : 0;
    setContentsMargins(hasEdge(FBorderEdges, beLeft) ? b : 0, hasEdge(FBorderEdges, beTop) ? b : 0,
                       hasEdge(FBorderEdges, beRight) ? b : 0, hasEdge(FBorderEdges, beBottom) ? b : 0);
}

void TGradientBar::SetBorder(bool on) {
    FBorder = on;
    updateMargins();
    AdjustWidth();
    update();
}

void TGradientBar::SetBorderEdges(TBorderEdges edges) {
    if (edges == FBorderEdges) return;
    FBorderEdges = edges;
    updateMargins();
    AdjustWidth();
    update();
}

void TGradientBar::SetDirection(TGradientDirection d) { FDirection = d, update(); }
void TGradientBar::SetColorCount(int count) { FColorCount = count <= 0 ? 1 : std::min(count, 65535), update(); }
void TGradientBar::SetLuminosityScale(int value) {
    value = std::clamp(value, -1000, 999);
    if (value == FLum) return;
    FLum = value;
    update();
}
void TGradientBar::SetAlignment(TTextAlignment a) { FAlignment = a, update(); }
void TGradientBar::SetLeftIndent(int v) { FLeftIndent = v, AdjustWidth(), update(); }
void TGradientBar::SetRightIndent(int v) { FRightIndent = v, AdjustWidth(), update(); }
void TGradientBar::SetTopIndent(int v) { FTopIndent = v, update(); }
void TGradientBar::SetVertTextOffset(int v) { FVTO = v, update(); }
void TGradientBar::SetWordWrapMode(TWordWrapMode m) { FWWM = m, update(); }
void TGradientBar::SetSelectionBar(bool on) { FSelectionBar = on, update(); }
void TGradientBar::SetSelectionBarPosition(TSelectionBarPosition p) { FSelectionBarPos = p, update(); }
void TGradientBar::SetSelectionBarWidth(int w) { FSelectionBarWidth = w, update(); }
void TGradientBar::SetDrawFocusRect(bool on) { FDFR = on, update(); }

void TGradientBar::SetImages(const std::vector<TPixmap>* images) {
    if (images == FImages) return;
    FImages = images;
    AdjustWidth();
    update();
}
void TGradientBar::SetImageIndex(int index) { FImageIndex = index, AdjustWidth(), update(); }
void TGradientBar::SetImageAlign(TImageAlign a) { FImageAlign = a, AdjustWidth(), update(); }
void TGradientBar::SetUseApplicationIconSize(int size) { FIconSize = size, AdjustWidth(), update(); }
void TGradientBar::SetUseApplicationIcon(bool on) {
    FUAI = on;
    if (on) FUWI = false;
    AdjustWidth();
    update();
}
void TGradientBar::SetUseWindowIcon(bool on) {
    FUWI = on;
    if (on) FUAI = false;
    AdjustWidth();
    update();
}

void TGradientBar::SetTabStop(bool on) {
    FTabStop = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void TGradientBar::SetAutoWidth(bool on) {
    if (on == FAutoWidth) return;
    FAutoWidth = on;
    AdjustWidth();
}

void TGradientBar::DisableControls() {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setEnabled(false);
}

void TGradientBar::EnableControls() {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setEnabled(true);
}

// --- width ---------------------------------------------------------------

TSize TGradientBar::measureCaption(const TFontAttr& font, unsigned flags, int width) {
    QImage scratch(1, 1, QImage::Format_RGB32);
    TPainterCanvas canvas(&scratch);
    canvas.setFont(font);
    TRect r{0, 0, width, 0};
    canvas.drawText(FCaption.toStdString(), r, flags | dt::CalcRect);
    return {r.width(), r.height()};
}

void TGradientBar::AdjustWidth() {
    if (!FAutoWidth) return;
    const TSize text = measureCaption(stateFont(state(), FThemeBuffer), textFlags(), contentsRect().width());
    const int clientLeft = contentsRect().left();
    int w = text.cx + FLeftIndent + clientLeft + FRightIndent + 5;
    if (hasImageSource()) {
        if (FImageAlign == iaTop)
            w = std::max(w, IconWidth() + FLeftIndent + clientLeft + FRightIndent);
        else
            w += IconWidth() + 5;
    }
    const bool rightAligned = (FAlignment == taRightJustify) != (layoutDirection() == Qt::RightToLeft);
    const int left = rightAligned ? x() + (width() - w) : x();
    setGeometry(left, y(), w, height());
}

void TGradientBar::ResetWidth() {
    const TSize text = measureCaption(FFont, textFlags(), 0x7FFF);
    int w = text.cx + FLeftIndent + FRightIndent;
    if (hasImageSource()) {
        if (FImageAlign == iaTop)
            w = std::max(w, IconWidth() + FLeftIndent + FRightIndent);
        else
            w += IconWidth();
    }
    resize(w, height());
}

// --- behaviour -----------------------------------------------------------

bool TGradientBar::HasGroupSiblings() const {
    if (!parentWidget() || FGroupIndex <= 0) return false;
    for (auto* sibling : parentWidget()->findChildren<TGradientBar*>(Qt::FindDirectChildrenOnly))
        if (sibling != this && sibling->FGroupIndex == FGroupIndex) return true;
    return false;
}

void TGradientBar::SetSelected(bool selected) {
    if (!FButtonMode) {
        FSelected = selected;
    } else {
        const bool grouped = HasGroupSiblings();
        if (FSelected && FGroupIndex > 0 && !grouped)
            FSelected = false;  // a lone group button toggles
        else
            FSelected = selected;
    }
    SyncColor();
    update();
    if (FButtonMode && FGroupIndex > 0 && FSelected && HasGroupSiblings()) {
        for (auto* sibling : parentWidget()->findChildren<TGradientBar*>(Qt::FindDirectChildrenOnly)) {
            if (sibling == this || sibling->FGroupIndex != FGroupIndex) continue;
            sibling->FSelected = false;
            sibling->SyncColor();
            sibling->update();
        }
    }
}

void TGradientBar::SetAction(QAction* action) {
    FAction = action;
    if (!action) return;
    if (const QVariant image = action->property("ImageIndex"); image.isValid()) SetImageIndex(image.toInt());
    if (const QVariant group = action->property("GroupIndex"); group.isValid()) FGroupIndex = group.toInt();
    if (action->isCheckable()) FSelected = action->isChecked(), SyncColor();
    connect(action, &QAction::toggled, this, [this](bool on) {
        if (FSelected != on) {
            FSelected = on;
            SyncColor();
            update();
        }
    });
    connect(this, &TGradientBar::clicked, action, &QAction::trigger);
}

void TGradientBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (FTabStop && focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
        if (FButtonMode) SetSelected(true);
        if (FMoveForm) FMoving = true;
        FPressed = true;
    }
    QWidget::mousePressEvent(event);
}

void TGradientBar::mouseMoveEvent(QMouseEvent* event) {
    if (FMoving && window()) {
        FMoving = false;
        FPressed = false;
        if (QWindow* handle = window()->windowHandle()) handle->startSystemMove();
    }
    QWidget::mouseMoveEvent(event);
}

void TGradientBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        FMoving = false;
        if (FButtonMode && FGroupIndex == 0) SetSelected(false);  // a momentary button
        const bool click = FPressed && rect().contains(event->position().toPoint());
        FPressed = false;
        if (click) emit clicked();
    }
    QWidget::mouseReleaseEvent(event);
}

void TGradientBar::enterEvent(QEnterEvent* event) {
    FHot = true;
    update();
    QWidget::enterEvent(event);
}

void TGradientBar::leaveEvent(QEvent* event) {
    FHot = false;
    update();
    QWidget::leaveEvent(event);
}

void TGradientBar::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TGradientBar::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (!FTabStop) {
        focusNextChild();
        return;
    }
    update();
}

void TGradientBar::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TGradientBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    switch (event->type()) {
        case QEvent::EnabledChange:
            if (!isEnabled()) FSelected = false;
            SyncColor();
            update();
            break;
        case QEvent::ApplicationPaletteChange:
        case QEvent::StyleChange:
            if (FStyleAware) {
                ApplyStyleColors();
                SyncColor();
                update();
            }
            break;
        default: break;
    }
}

}  // namespace vx
