#pragma once

// The XY plot: four axes around a field in which series and markers draw.
// It lays the field out from the room its axes need, paints the
// surroundings (background bands, axes, ticks, labels, captions, border)
// and the field (background, grids, markers, series) through the canvas
// layer, optionally into an off-screen buffer so that a change of the field
// alone repaints only the field. It re-derives automatic axis ranges from
// the series' data and copies its picture to the clipboard.

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "plot/axis.h"
#include "plot/data_series.h"
#include "plot/mem_bitmap.h"
#include "plot/plot_marker.h"

namespace vx {

enum Tsp_BorderStyle { bs_None, bs_Raised, bs_Lowered, bs_Gutter, bs_BlackRect, bs_BoldRect, bs_FocusRect };
enum Tsp_zpDirections { zpdNone, zpdHorizontal, zpdVertical, zpdBoth };
// Modifier keys that start a zoom or a pan (together with the left button).
enum Tsp_ShiftKey : std::uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using Tsp_ShiftKeys = std::uint8_t;

struct Tsp_ZoomData {
    TRect R;
    std::uint8_t State = 0;  // 0 idle, 1 zoom pressed, 2 zoom rectangle shown, 3 pan pressed, 4 panning
};

class Tsp_XYPlot : public QWidget, public ITsp_AxisOwner, public ITsp_SeriesOwner {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(Tsp_XYPlot* sender)>;
    using TGetTickLabelEvent = std::function<void(Tsp_XYPlot* sender, Tsp_Axis& axis, int index, double value, std::string& text)>;

    explicit Tsp_XYPlot(QWidget* parent = nullptr);
    ~Tsp_XYPlot() override;

    Tsp_Axis& LeftAxis() override { return LA; }
    Tsp_Axis& RightAxis() override { return RA; }
    Tsp_Axis& BottomAxis() override { return BA; }
    Tsp_Axis& TopAxis() override { return TA; }
    void SetLeftAxis(const Tsp_Axis& a) { if (&a != &LA) LA.Assign(a); }
    void SetRightAxis(const Tsp_Axis& a) { if (&a != &RA) RA.Assign(a); }
    void SetBottomAxis(const Tsp_Axis& a) { if (&a != &BA) BA.Assign(a); }
    void SetTopAxis(const Tsp_Axis& a) { if (&a != &TA) TA.Assign(a); }

    TRect FieldRect() const override { return FR; }
    Canvas* DCanvas() override { return fDCanvas; }
    int DWidth() const { return fDWidth; }
    int DHeight() const { return fDHeight; }
    const TFontAttr& PlotFont() const { return FFont; }
    void SetPlotFont(const TFontAttr& font);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TColor FieldColor() const { return FBColor; }
    void SetFieldColor(TColor color);
    Tsp_BorderStyle BorderStyle() const { return fFrameStyle; }
    void SetBorderStyle(Tsp_BorderStyle style);
    bool BufferedDisplay() const { return fBuffered; }
    void SetBufferedDisplay(bool on);
    bool ValidArrange() const { return fValidArrange; }
    bool ValidAround() const { return fValidAround; }
    bool ValidField() const { return fValidField; }

    int SeriesCount() const { return static_cast<int>(fSeries.size()); }
    Tsp_DataSeries* GetSeriesPtr(int i) const { return fSeries.at(static_cast<std::size_t>(i)); }

    // Invalidation: the layout, the surroundings, the field.
    void InvalidateParts(bool arrange, bool around, bool field);
    void Invalidate() override { InvalidateParts(true, true, true); }
    void BufferIsInvalid() { fValidAround = fValidField = false; }

    // Draws the whole plot on a foreign canvas of W x H (at least 10 x 10).
    void DrawPlot(Canvas* canvas, int w, int h);
    QImage RenderImage();
    void CopyToClipboardBitmap();
    // The clipboard gets the same picture as an image: Qt has no metafile.
    void CopyToClipboardMetafile();

    // Series and markers.
    void AddSeries(Tsp_DataSeries* series) override;
    void RemoveSeries(Tsp_DataSeries* series) override;
    void SeriesChanged(Tsp_DataSeries* series) override;
    bool AutoScaleAxis(Tsp_Axis& axis) override;
    void MoveSeries(Tsp_DataSeries* series, bool toFront) override;
    void AddMarker(Tsp_PlotMarker* marker, TMarkerWhen when);
    void RemoveMarker(Tsp_PlotMarker* marker, TMarkerWhen when);
    void MoveMarker(Tsp_PlotMarker* marker, TMarkerWhen when, bool toFront);

    TNotifyEvent OnFieldDraw, OnDrawEnd;
    TGetTickLabelEvent OnGetTickLabel;
    using TZoomAxisEvent = std::function<void(Tsp_XYPlot* sender, Tsp_Axis& axis, double& min, double& max, bool& canZoom)>;
    TZoomAxisEvent OnAxisZoom;

    // Mouse gestures: a drag with the zoom keys zooms to the rubber
    // rectangle, a click with them undoes the zoom, a drag with the pan keys
    // moves the ranges with the pointer.
    Tsp_zpDirections Zoom() const { return fZoomEnabled; }
    void SetZoom(Tsp_zpDirections d) { fZoomEnabled = d; }
    Tsp_zpDirections Pan() const { return fPanEnabled; }
    void SetPan(Tsp_zpDirections d) { fPanEnabled = d; }
    Tsp_ShiftKeys ZoomShiftKeys() const { return fZoomShift; }
    void SetZoomShiftKeys(Tsp_ShiftKeys keys) { fZoomShift = keys; }
    Tsp_ShiftKeys PanShiftKeys() const { return fPanShift; }
    void SetPanShiftKeys(Tsp_ShiftKeys keys) { fPanShift = keys; }
    Qt::CursorShape PanCursor() const { return fPanCursor; }
    void SetPanCursor(Qt::CursorShape c) { fPanCursor = c; }
    const Tsp_ZoomData& ZoomData() const { return fZoomData; }
    void ApplyPan();
    void ApplyZoom(TRect r, Tsp_zpDirections direction);

    // The vertical cursor line at a value of the bottom axis. It is drawn as
    // an overlay with an inverting pen over each freshly painted picture, which
    // looks the same as drawing it on the window and erasing it by redrawing.
    bool XCursorOn() const { return fXCursOn; }
    void SetXCursorOn(bool on);
    double XCursorVal() const { return fXCursVal; }
    void SetXCursorVal(double value);
    int XCursorPos() const { return fXCursPos; }

    // The plot's paint, on its own surface (also what paintEvent does).
    void PaintOn(Canvas& widgetCanvas);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    virtual void DoDrawEnd();
    virtual void DoFieldDraw();
    // The cursor line and the zoom rectangle, drawn last on the control's surface.
    virtual void DrawOverlay(Canvas& canvas);
    void DrawXCursor(Canvas& canvas);
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    void Arrange(int fntWidth, int fntHeight);
    void arrangeWithFont();
    void DrawAll();
    void DrawAround();
    void DrawAxes();
    void DrawField();
    void DrawBorder();

private:
    // ITsp_AxisOwner / ITsp_SeriesOwner plumbing.
    void AxisInvalidateAll() override { Invalidate(); }
    void AxisInvalidateAroundAndField() override { InvalidateParts(false, true, true); }
    void AxisInvalidateField() override { InvalidateParts(false, false, true); }
    bool AxisAutoScale(Tsp_Axis& axis) override { return AutoScaleAxis(axis); }
    void AxisTickLabel(Tsp_Axis& axis, int index, double value, std::string& text) override;
    void InvalidateField() override { InvalidateParts(false, false, true); }
    // Queued: the changes of one tick (points added and dropped, axes
    // moved) are painted together, once.
    void Update() override { update(); }
    void InvalidateBuffer() override { BufferIsInvalid(); }

    Tsp_Axis LA{sf::Vertical}, RA{0x39}, BA{0}, TA{0x38};
    TRect FR{0, 0, 0, 0};
    Canvas* fDCanvas = nullptr;
    int fDWidth = 0, fDHeight = 0;
    std::unique_ptr<Tsp_MemBitmap> fDDBBuf;
    bool fBuffered = false;
    TFontAttr FFont;
    TFontAttr VFont;
    Tsp_BorderStyle fFrameStyle = bs_None;
    TColor FColor = clBtnFace;
    TColor FBColor = clWhite;
    std::vector<Tsp_DataSeries*> fSeries;
    std::vector<Tsp_PlotMarker*> fBSML, fASML;
    bool fValidArrange = false, fValidField = false, fValidAround = false;

    void zoomAxis(Tsp_Axis& axis, int p1, int p2);
    void storeAll();
    Qt::CursorShape fPanCursor = Qt::ArrowCursor;
    Tsp_zpDirections fZoomEnabled = zpdBoth, fPanEnabled = zpdBoth;
    Tsp_ShiftKeys fZoomShift = ssShift, fPanShift = ssCtrl;
    Tsp_ZoomData fZoomData;
    // Where the gesture's button went down (the zoom threshold is measured
    // from here), and the control's own cursor to return to afterwards.
    TPoint fPressPoint{0, 0};
    std::optional<QCursor> fOwnCursor;
    bool fXCursOn = false;
    double fXCursVal = 0;
    int fXCursPos = 0;
};

}  // namespace vx
