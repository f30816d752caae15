#pragma once

// An axis: a scale that belongs to a plot. It adds a grid line attribute, a
// margin, a caption, a saved range for undoing a zoom or pan, the two
// automatic-range bits, and it tells its plot when it changed.

#include <functional>
#include <string>

#include "plot/scale.h"

namespace vx {

class Tsp_Axis;

// What an axis needs from the plot that owns it.
class ITsp_AxisOwner {
public:
    virtual ~ITsp_AxisOwner() = default;
    // Layout, surroundings and field all need redrawing.
    virtual void AxisInvalidateAll() = 0;
    // Surroundings and field, keeping the layout (a moved range).
    virtual void AxisInvalidateAroundAndField() = 0;
    // Only the field (a grid attribute changed).
    virtual void AxisInvalidateField() = 0;
    // Re-derives the axis's automatic range; true when a series had data.
    virtual bool AxisAutoScale(Tsp_Axis& axis) = 0;
    // The plot's tick label hook, when it has one.
    virtual void AxisTickLabel(Tsp_Axis& axis, int index, double value, std::string& text) = 0;
};

class Tsp_Axis : public Tsp_Scale {
public:
    explicit Tsp_Axis(std::int32_t flags);
    ~Tsp_Axis() override;

    void SetPlot(ITsp_AxisOwner* plot) { fPlot = plot; }
    ITsp_AxisOwner* Plot() const { return fPlot; }

    void SetMin(double v);
    void SetMax(double v);
    void SetMinMax(double aMin, double aMax);
    void MoveMinMax(double delta);
    // Reading gives the effective count; writing the requested one (<= 31).
    int TicksCount() const { return rTksCount; }
    void SetTicksCount(int count);
    void SetLabelFormat(const std::string& format);
    int Margin() const { return fMargin; }
    void SetMargin(int margin);
    const std::string& Caption() const { return fCaption; }
    void SetCaption(const std::string& caption);
    bool DrawCaption() const { return fDrawCaption; }
    Tsp_LineAttr& GridAttr() { return fGrid; }
    void SetLineAttr(const Tsp_LineAttr& attr);
    void SetGridAttr(const Tsp_LineAttr& attr);
    bool AutoMin() const { return Flag(6); }
    void SetAutoMin(bool v) { SetFlag(6, v); }
    bool AutoMax() const { return Flag(7); }
    void SetAutoMax(bool v) { SetFlag(7, v); }

    void StoreMinMax();
    void RestoreMinMax();
    bool MinMaxStored() const { return fMinMaxStored; }
    double SavedMin() const { return sMin; }
    double SavedMax() const { return sMax; }
    void Assign(const Tsp_Axis& source);

    void GetTickLabel(int index, std::string& text) override;

protected:
    void FlagChanged(int index, bool value) override;

private:
    void installCallbacks();
    void invalidateAll() {
        if (fPlot) fPlot->AxisInvalidateAll();
    }

    double sMin = 0, sMax = 0;
    int fMargin = 4;
    std::string fCaption;
    bool fDrawCaption = false;
    ITsp_AxisOwner* fPlot = nullptr;
    Tsp_LineAttr fGrid;
    bool fMinMaxStored = false;
};

}  // namespace vx
