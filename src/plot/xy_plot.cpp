#include "plot/xy_plot.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QPaintEvent>
#include <algorithm>
#include <cstdlib>

namespace vx {

namespace {

// A plot is a chart to assistive technologies, not an unnamed filler; its
// owner gives it a name and a description of what it shows.
QAccessibleInterface* plotAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("vx::Tsp_XYPlot") || !object || !object->isWidgetType()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
}

}  // namespace

Tsp_XYPlot::Tsp_XYPlot(QWidget* parent) : QWidget(parent) {
    static const bool accessible = [] {
        QAccessible::installFactory(plotAccessible);
        return true;
    }();
    (void)accessible;
    LA.GridAttr().SetVisible(true);
    BA.GridAttr().SetVisible(true);
    for (Tsp_Axis* a : {&LA, &RA, &BA, &TA}) a->SetPlot(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FFont.color = clBlack;
    SetPlotFont(FFont);
    resize(180, 120);
    fDWidth = width();
    fDHeight = height();
    fValidArrange = fValidField = fValidAround = false;
}

Tsp_XYPlot::~Tsp_XYPlot() {
    for (Tsp_DataSeries* s : fSeries) s->PlotDestroyed();
    for (auto* list : {&fBSML, &fASML})
        for (Tsp_PlotMarker* m : *list) m->PlotDestroyed();
    for (Tsp_Axis* a : {&LA, &RA, &BA, &TA}) a->SetPlot(nullptr);
}

void Tsp_XYPlot::SetPlotFont(const TFontAttr& font) {
    FFont = font;
    VFont = font;  // upward and bold, for the left and right captions
    VFont.escapement = 900;
    VFont.bold = true;
    fValidArrange = fValidAround = fValidField = false;
    update();
}

void Tsp_XYPlot::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Invalidate();
}

void Tsp_XYPlot::SetFieldColor(TColor color) {
    if (color == FBColor) return;
    FBColor = color;
    InvalidateParts(false, false, true);
}

void Tsp_XYPlot::SetBorderStyle(Tsp_BorderStyle style) {
    if (style == fFrameStyle) return;
    fFrameStyle = style;
    if (fBuffered) BufferIsInvalid();
    update();
}

void Tsp_XYPlot::SetBufferedDisplay(bool on) {
    if (on == fBuffered) return;
    if (on)
        fDDBBuf = std::make_unique<Tsp_MemBitmap>(width(), height(), devicePixelRatioF());
    else
        fDDBBuf.reset();
    fBuffered = fDDBBuf != nullptr;
    Invalidate();
}

void Tsp_XYPlot::InvalidateParts(bool arrange, bool around, bool field) {
    if (arrange) fValidArrange = false;
    if (around) fValidAround = false;
    if (field) fValidField = false;
    update();
}

// --- series and markers --------------------------------------------------

void Tsp_XYPlot::AddSeries(Tsp_DataSeries* series) {
    if (!series) return;
    if (std::find(fSeries.begin(), fSeries.end(), series) == fSeries.end()) fSeries.push_back(series);
    if (series->Active()) SeriesChanged(series);
}

void Tsp_XYPlot::RemoveSeries(Tsp_DataSeries* series) {
    const auto it = std::find(fSeries.begin(), fSeries.end(), series);
    if (it == fSeries.end()) return;
    fSeries.erase(it);
    if (series->Active()) SeriesChanged(series);
}

void Tsp_XYPlot::MoveSeries(Tsp_DataSeries* series, bool toFront) {
    const auto it = std::find(fSeries.begin(), fSeries.end(), series);
    if (it == fSeries.end()) return;
    if (toFront && it + 1 == fSeries.end()) return;
    if (!toFront && it == fSeries.begin()) return;
    fSeries.erase(it);
    if (toFront)
        fSeries.push_back(series);
    else
        fSeries.insert(fSeries.begin(), series);
    InvalidateParts(false, false, true);
}

void Tsp_XYPlot::SeriesChanged(Tsp_DataSeries* series) {
    Tsp_Axis& x = series->XAxis() == dsxTop ? TA : BA;
    Tsp_Axis& y = series->YAxis() == dsyRight ? RA : LA;
    const bool a = AutoScaleAxis(x);
    const bool b = AutoScaleAxis(y);
    if (a || b)
        Invalidate();
    else
        InvalidateParts(false, false, true);
}

bool Tsp_XYPlot::AutoScaleAxis(Tsp_Axis& axis) {
    const bool autoMin = axis.AutoMin(), autoMax = axis.AutoMax();
    if (!autoMin && !autoMax) return false;
    const bool vertical = axis.Flags() & sf::Vertical;
    bool foundMin = false, foundMax = false;
    double lo = 0, hi = 0;
    for (Tsp_DataSeries* s : fSeries) {
        if (!s->Active()) continue;
        const bool uses = vertical ? (s->YAxis() == dsyLeft) == (&axis == &LA)
                                   : (s->XAxis() == dsxBottom) == (&axis == &BA);
        if (!uses) continue;
        double v;
        if (autoMin && (vertical ? s->GetYMin(v) : s->GetXMin(v))) {
            lo = foundMin ? std::min(lo, v) : v;
            foundMin = true;
        }
        if (autoMax && (vertical ? s->GetYMax(v) : s->GetXMax(v))) {
            hi = foundMax ? std::max(hi, v) : v;
            foundMax = true;
        }
    }
    if (!foundMin && !foundMax) return false;
    if (!foundMin) lo = axis.Min();
    if (!foundMax) hi = axis.Max();
    const double margin = (hi - lo) * 0.025;
    if (foundMin) lo -= margin;
    if (foundMax) hi += margin;
    if (lo != axis.Min() || hi != axis.Max()) axis.ChangeMinMax(lo, hi);
    return true;
}

void Tsp_XYPlot::AddMarker(Tsp_PlotMarker* marker, TMarkerWhen when) {
    if (!marker) return;
    auto& list = when == dmBeforeSeries ? fBSML : fASML;
    if (std::find(list.begin(), list.end(), marker) == list.end()) list.push_back(marker);
    InvalidateParts(false, false, true);
}

void Tsp_XYPlot::RemoveMarker(Tsp_PlotMarker* marker, TMarkerWhen when) {
    auto& list = when == dmBeforeSeries ? fBSML : fASML;
    std::erase(list, marker);
    InvalidateParts(false, false, true);
}

void Tsp_XYPlot::MoveMarker(Tsp_PlotMarker* marker, TMarkerWhen when, bool toFront) {
    auto& list = when == dmBeforeSeries ? fBSML : fASML;
    const auto it = std::find(list.begin(), list.end(), marker);
    if (it == list.end()) return;
    list.erase(it);
    if (toFront)
        list.push_back(marker);
    else
        list.insert(list.begin(), marker);
    InvalidateParts(false, false, true);
}

void Tsp_XYPlot::AxisTickLabel(Tsp_Axis& axis, int index, double value, std::string& text) {
    if (OnGetTickLabel) OnGetTickLabel(this, axis, index, value, text);
}

void Tsp_XYPlot::DoDrawEnd() {
    if (OnDrawEnd) OnDrawEnd(this);
}

void Tsp_XYPlot::DoFieldDraw() {
    if (OnFieldDraw) OnFieldDraw(this);
}

// --- layout ----------------------------------------------------------------

void Tsp_XYPlot::arrangeWithFont() {
    fDCanvas->setFont(FFont);
    Arrange(fDCanvas->textWidth("0"), std::abs(FFont.height));
}

void Tsp_XYPlot::Arrange(int fw, int fh) {
    FR = {0, 0, fDWidth, fDHeight};
    const int left = std::max({LA.BandWidth(fw, fh), BA.OrgIndent(fw, fh), TA.OrgIndent(fw, fh)}) + LA.Margin();
    const int bottom = std::max({BA.BandWidth(fw, fh), LA.OrgIndent(fw, fh), RA.OrgIndent(fw, fh)}) + BA.Margin();
    const int right = std::max({RA.BandWidth(fw, fh), BA.EndIndent(fw, fh), TA.EndIndent(fw, fh)}) + RA.Margin();
    const int top = std::max({TA.BandWidth(fw, fh), LA.EndIndent(fw, fh), RA.EndIndent(fw, fh)}) + TA.Margin();
    FR.left += left;
    FR.right -= right;
    FR.bottom -= bottom;
    FR.top += top;
    if (FR.right < FR.left + 3) FR.right = FR.left + 3;
    if (FR.bottom < FR.top + 3) FR.bottom = FR.top + 3;
    LA.SetLine(FR.left - 1, FR.bottom - 1, FR.bottom - FR.top - 1);
    RA.SetLine(FR.right, FR.bottom - 1, FR.bottom - FR.top - 1);
    BA.SetLine(FR.left, FR.bottom, FR.right - FR.left - 1);
    TA.SetLine(FR.left, FR.top - 1, FR.right - FR.left - 1);
    fValidArrange = true;
}

// --- painting ----------------------------------------------------------------

void Tsp_XYPlot::paintEvent(QPaintEvent*) {
    TPainterCanvas canvas(this);
    PaintOn(canvas);
}

void Tsp_XYPlot::PaintOn(Canvas& widgetCanvas) {
    // A widget can only be drawn on during its paint: outside it the plot
    // has no surface, and nothing may keep pointing at this paint's canvas.
    struct EndOfPaint {
        Tsp_XYPlot* plot;
        ~EndOfPaint() { plot->fDCanvas = nullptr; }
    } endOfPaint{this};
    fDWidth = width();
    fDHeight = height();
    fDCanvas = &widgetCanvas;
    if (fBuffered && fDDBBuf && fDDBBuf->Valid()) {
        // A new size, or a screen with another pixel ratio: a new picture.
        if (fDDBBuf->Width() != fDWidth || fDDBBuf->Height() != fDHeight || fDDBBuf->Ratio() != devicePixelRatioF()) {
            fDDBBuf->Recreate(fDWidth, fDHeight, devicePixelRatioF());
            fValidArrange = fValidAround = fValidField = false;
        }
    }
    if (fBuffered && fDDBBuf && fDDBBuf->Valid()) {
        fDCanvas = &fDDBBuf->GetCanvas();
        if (!fValidArrange) arrangeWithFont();
        if (!fValidAround) {
            DrawAround();
            fValidAround = true;
        }
        if (!fValidField) {
            DrawField();
            fValidField = true;
        }
        DoDrawEnd();
        DrawBorder();
        fDCanvas = &widgetCanvas;
        // On the widget the buffer is drawn as it is; other canvases (a
        // recording one in tests) take it as a picture.
        if (auto* painter = dynamic_cast<TPainterCanvas*>(&widgetCanvas))
            painter->drawImage(0, 0, fDDBBuf->Image());
        else
            widgetCanvas.drawPixmap(0, 0, fromQImage(fDDBBuf->Image()), clNone);
    } else {
        DrawAll();
    }
    DrawOverlay(widgetCanvas);
}

void Tsp_XYPlot::DrawAll() {
    if (!fValidArrange) arrangeWithFont();
    DrawAround();
    DrawField();
    DoDrawEnd();
    DrawBorder();
}

void Tsp_XYPlot::DrawPlot(Canvas* canvas, int w, int h) {
    if (!canvas || w < 10 || h < 10) return;
    struct RestoreSurface {
        Tsp_XYPlot* plot;
        ~RestoreSurface() {
            plot->fValidArrange = false;
            plot->fDCanvas = nullptr;
            plot->fDWidth = plot->width();
            plot->fDHeight = plot->height();
        }
    } restore{this};
    fDCanvas = canvas;
    fDWidth = w;
    fDHeight = h;
    fValidArrange = false;
    DrawAll();
}

QImage Tsp_XYPlot::RenderImage() {
    TImageCanvas image(width(), height(), FColor);
    DrawPlot(&image.canvas(), width(), height());
    return image.finish();
}

void Tsp_XYPlot::CopyToClipboardBitmap() { QApplication::clipboard()->setImage(RenderImage()); }

void Tsp_XYPlot::CopyToClipboardMetafile() { CopyToClipboardBitmap(); }

void Tsp_XYPlot::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Invalidate();
}

void Tsp_XYPlot::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange) {
        // System colours may have changed: the buffered picture is redrawn.
        fValidArrange = fValidAround = fValidField = false;
        update();
    }
}

}  // namespace vx
