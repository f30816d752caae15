#include "plot/axis.h"

#include <algorithm>

namespace vx {

Tsp_Axis::Tsp_Axis(std::int32_t flags) : Tsp_Scale(flags) {
    // Grey and hidden until a plot asks for grid lines.
    Tsp_LineAttr grey;
    grey.SetColor(0x808080);
    grey.SetVisible(false);
    fGrid.Assign(grey);
    installCallbacks();
}

Tsp_Axis::~Tsp_Axis() {
    fLineAttr.fOnChange = nullptr;
    fGrid.fOnChange = nullptr;
}

void Tsp_Axis::installCallbacks() {
    fLineAttr.fOnChange = [this](Tsp_CustomLineAttr*) { invalidateAll(); };
    fGrid.fOnChange = [this](Tsp_CustomLineAttr*) {
        if (fPlot) fPlot->AxisInvalidateField();
    };
}

void Tsp_Axis::SetMin(double v) {
    fFlags &= ~sf::AutoMin;
    fMinMaxStored = false;
    if (v != fMin) {
        ChangeMinMax(v, fMax);
        invalidateAll();
    }
}

void Tsp_Axis::SetMax(double v) {
    fFlags &= ~sf::AutoMax;
    fMinMaxStored = false;
    if (v != fMax) {
        ChangeMinMax(fMin, v);
        invalidateAll();
    }
}

void Tsp_Axis::SetMinMax(double aMin, double aMax) {
    if (aMin != fMin || aMax != fMax) ChangeMinMax(aMin, aMax);
    fFlags &= ~(sf::AutoMin | sf::AutoMax);
    fMinMaxStored = false;
    invalidateAll();
}

void Tsp_Axis::MoveMinMax(double delta) {
    MoveBy(false, 0, delta);
    fFlags &= ~(sf::AutoMin | sf::AutoMax);
    fMinMaxStored = false;
    if (fPlot) fPlot->AxisInvalidateAroundAndField();
}

void Tsp_Axis::SetTicksCount(int count) {
    count = std::clamp(count, 0, kMaxTicks);
    if (count == fTicksCount) return;
    fTicksCount = static_cast<std::uint8_t>(count);
    CalcTicksValues();
    CalcTicksPos();
    invalidateAll();
}

void Tsp_Axis::SetLabelFormat(const std::string& format) {
    if (format == fLabelFormat) return;
    fLabelFormat = format;
    invalidateAll();
}

void Tsp_Axis::SetMargin(int margin) {
    if (margin == fMargin) return;
    fMargin = margin;
    invalidateAll();
}

void Tsp_Axis::SetCaption(const std::string& caption) {
    if (caption == fCaption) return;
    fCaption = caption;
    fDrawCaption = std::any_of(caption.begin(), caption.end(), [](char c) { return static_cast<unsigned char>(c) > 0x20; });
    invalidateAll();
}

void Tsp_Axis::SetLineAttr(const Tsp_LineAttr& attr) {
    if (!fLineAttr.IsSame(attr)) fLineAttr.Assign(attr);
}

void Tsp_Axis::SetGridAttr(const Tsp_LineAttr& attr) {
    if (!fGrid.IsSame(attr)) fGrid.Assign(attr);
}

void Tsp_Axis::StoreMinMax() {
    if (fMinMaxStored) return;
    sMin = fMin;
    sMax = fMax;
    fMinMaxStored = true;
}

void Tsp_Axis::RestoreMinMax() {
    if (!fMinMaxStored) return;
    ChangeMinMax(sMin, sMax);
    fMinMaxStored = false;
}

void Tsp_Axis::Assign(const Tsp_Axis& source) {
    fFlags = source.fFlags;
    fO = source.fO;
    fLen = source.fLen;
    fTicksCount = source.fTicksCount;
    fLabelFormat = source.fLabelFormat;
    fMargin = source.fMargin;
    fCaption = source.fCaption;
    fDrawCaption = source.fDrawCaption;
    fMinMaxStored = false;
    ChangeMinMax(source.fMin, source.fMax);
    fLineAttr.Assign(source.fLineAttr);
    fGrid.Assign(source.fGrid);
    installCallbacks();
}

void Tsp_Axis::GetTickLabel(int index, std::string& text) {
    Tsp_Scale::GetTickLabel(index, text);
    if (fPlot) fPlot->AxisTickLabel(*this, index, TickValue(index), text);
}

void Tsp_Axis::FlagChanged(int index, bool) {
    switch (index) {
        case 1:
            CalcScaleFactor();
            CalcTicksValues();
            CalcTicksPos();
            invalidateAll();
            break;
        case 3:
        case 4:
        case 9:
            CalcTicksValues();
            CalcTicksPos();
            invalidateAll();
            break;
        case 6:
        case 7:
            if (fPlot && fPlot->AxisAutoScale(*this)) fPlot->AxisInvalidateAll();
            break;
        default: invalidateAll(); break;
    }
}

}  // namespace vx
