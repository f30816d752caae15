#pragma once

// A caption strip: a colour gradient (or plain fill), a border on chosen
// edges, an optional picture and a caption, each in one of four states
// (normal, hot, selected, disabled) with its own colours and font. It can
// hold child widgets, act as a button (momentary, toggle or radio group),
// move its window when dragged, size itself to its caption, follow the
// application palette, and follow a QAction's checked state.
//
// Colours are platform colour values (TColor); clNone in a buffer or colour
// pair passed in means "not given". Painting goes through the canvas layer
// (Paint), so tests can watch it on a recording canvas.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "canvas/canvas.h"
#include "controls/gradient.h"

class QAction;

namespace vx {

struct TThemeBuffer {
    enum Entry {
        BorderColor, ColorFrom, ColorTo, DisabledColorFrom, DisabledColorTo, SelectedColorFrom, SelectedColorTo,
        HotColorFrom, HotColorTo, SelectionBarColor, FontColor, DisabledFontColor, SelectedFontColor, HotFontColor,
        Count
    };
    std::array<TColor, Count> colors{};
    TColor& operator[](int i) { return colors[static_cast<std::size_t>(i)]; }
    TColor operator[](int i) const { return colors[static_cast<std::size_t>(i)]; }
    friend bool operator==(const TThemeBuffer&, const TThemeBuffer&) = default;
};

enum TBorderEdge { beLeft, beTop, beRight, beBottom };
using TBorderEdges = std::uint8_t;  // bit n for edge n
inline constexpr TBorderEdges kAllBorderEdges = 0x0F;
enum TImageAlign { iaLeft, iaRight, iaTop };
enum TWordWrapMode { wwmNone, wwmBreak, wwmPathEllipsis, wwmWordEllipsis, wwmEndEllipsis };
enum TSelectionBarPosition { sbpLeft, sbpRight, sbpTop, sbpBottom, sbpLeftRight, sbpTopBottom };
enum TTextAlignment { taLeftJustify, taRightJustify, taCenter };

class TGradientBar : public QWidget {
    Q_OBJECT
public:
    explicit TGradientBar(QWidget* parent = nullptr);

    // Caption and fonts.
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    const TFontAttr& Font() const { return FFont; }
    void SetFont(const TFontAttr& font);  // its colour becomes FontColor
    const TFontAttr& SelectedFont() const { return FSelectedFont; }
    const TFontAttr& DisabledFont() const { return FDisabledFont; }
    const TFontAttr& HotFont() const { return FHotFont; }
    void SetSelectedFont(const TFontAttr& font);
    void SetDisabledFont(const TFontAttr& font);
    void SetHotFont(const TFontAttr& font);

    // Colours: the ten indexed ones read and write the theme buffer.
    TColor Color(TThemeBuffer::Entry entry) const { return FThemeBuffer[entry]; }
    void SetColor(TThemeBuffer::Entry entry, TColor color);
    void SetColors(TColor from, TColor to);
    void SetHotColors(TColor from, TColor to);
    void SetSelectedColors(TColor from, TColor to);
    // Entries that are not clNone replace the current ones, never the
    // selection bar colour, and not the selected colours when excluded.
    void SetThemeBuffer(const TThemeBuffer& buffer, bool excludeSelectedColor);
    void GetThemeBuffer(TThemeBuffer& buffer) const { buffer = FThemeBuffer; }
    void RestoreThemeBuffer();
    void BackupThemeBuffer();
    // What the control's own background follows: the start colour of its state.
    TColor StateColor() const { return FStateColor; }

    // Appearance.
    bool Border() const { return FBorder; }
    void SetBorder(bool on);
    TBorderEdges BorderEdges() const { return FBorderEdges; }
    void SetBorderEdges(TBorderEdges edges);
    TGradientDirection Direction() const { return FDirection; }
    void SetDirection(TGradientDirection d);
    int ColorCount() const { return FColorCount; }
    void SetColorCount(int count);  // 0 becomes 1
    int LuminosityScale() const { return FLum; }
    void SetLuminosityScale(int value);  // clamped to -1000..999
    TTextAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TTextAlignment a);
    int LeftIndent() const { return FLeftIndent; }
    void SetLeftIndent(int v);
    int RightIndent() const { return FRightIndent; }
    void SetRightIndent(int v);
    int TopIndent() const { return FTopIndent; }
    void SetTopIndent(int v);
    int VertTextOffset() const { return FVTO; }
    void SetVertTextOffset(int v);
    TWordWrapMode WordWrapMode() const { return FWWM; }
    void SetWordWrapMode(TWordWrapMode m);
    bool SelectionBar() const { return FSelectionBar; }
    void SetSelectionBar(bool on);
    TSelectionBarPosition SelectionBarPosition() const { return FSelectionBarPos; }
    void SetSelectionBarPosition(TSelectionBarPosition p);
    int SelectionBarWidth() const { return FSelectionBarWidth; }
    void SetSelectionBarWidth(int w);
    bool DrawFocusRect() const { return FDFR; }
    void SetDrawFocusRect(bool on);

    // Picture: an image list entry, the application icon or the window icon.
    void SetImages(const std::vector<TPixmap>* images);
    // The same pictures with twice the pixels (scale 2), drawn instead on
    // screens of device pixel ratio 1.5 and more; the same count and order.
    void SetImages2x(const std::vector<TPixmap>* images) { FImages2x = images; update(); }
    const std::vector<TPixmap>* Images() const { return FImages; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    TImageAlign ImageAlign() const { return FImageAlign; }
    void SetImageAlign(TImageAlign a);
    bool UseApplicationIcon() const { return FUAI; }
    void SetUseApplicationIcon(bool on);
    bool UseWindowIcon() const { return FUWI; }
    void SetUseWindowIcon(bool on);
    int UseApplicationIconSize() const { return FIconSize; }
    void SetUseApplicationIconSize(int size);
    int IconWidth() const;
    int IconHeight() const;

    // Behaviour.
    bool Selected() const { return FSelected; }
    void SetSelected(bool selected);
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool on) { FButtonMode = on; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int g) { FGroupIndex = g; }
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool on) { FHotTrack = on; }
    bool Hot() const { return FHot; }
    bool MoveForm() const { return FMoveForm; }
    void SetMoveForm(bool on) { FMoveForm = on; }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool on);
    bool AutoWidth() const { return FAutoWidth; }
    void SetAutoWidth(bool on);
    bool StyleAware() const { return FStyleAware; }
    void SetStyleAware(bool on);
    void AdjustWidth();
    void ResetWidth();
    void DisableControls();
    void EnableControls();
    // Follows the action's checked state and triggers it on a click.
    void SetAction(QAction* action);

    // Paints the whole bar on a canvas of the bar's size.
    void Paint(Canvas& canvas);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class State { Normal, Hot, Selected, Disabled };
    State state() const;
    TFontAttr stateFont(State s, const TThemeBuffer& tb) const;
    unsigned textFlags() const;
    bool hasImageSource() const;
    TPixmap imagePixmap() const;
    void SyncColor();
    bool HasGroupSiblings() const;
    void ApplyStyleColors();
    void updateMargins();
    TSize measureCaption(const TFontAttr& font, unsigned flags, int width);

    QString FCaption;
    TFontAttr FFont, FSelectedFont, FDisabledFont, FHotFont;
    TThemeBuffer FThemeBuffer, FBakThemeBuffer;
    TColor FStateColor = clNone;
    bool FBorder = false;
    TBorderEdges FBorderEdges = kAllBorderEdges;
    TGradientDirection FDirection = gdTopToBottom;
    int FColorCount = 255;
    int FLum = 0;
    TTextAlignment FAlignment = taLeftJustify;
    int FLeftIndent = 5, FRightIndent = 5, FTopIndent = 5, FVTO = 0;
    TWordWrapMode FWWM = wwmNone;
    bool FSelectionBar = false;
    TSelectionBarPosition FSelectionBarPos = sbpLeft;
    int FSelectionBarWidth = 3;
    bool FDFR = true;
    const std::vector<TPixmap>* FImages = nullptr;
    const std::vector<TPixmap>* FImages2x = nullptr;
    int FImageIndex = -1;
    TImageAlign FImageAlign = iaLeft;
    bool FUAI = false, FUWI = false;
    int FIconSize = 32;
    bool FSelected = false, FButtonMode = false, FHotTrack = false, FHot = false;
    bool FMoveForm = false, FMoving = false, FTabStop = false, FAutoWidth = false, FStyleAware = true;
    int FGroupIndex = 0;
    bool FPressed = false;
    QPointer<QAction> FAction;
};

}  // namespace vx
