#pragma once

#include <algorithm>
#include <vector>

#include "plot/axis.h"
#include "plot/data_series.h"

namespace vx::test {

// A plot stand-in for series tests: four real axes laid out on a 200 x 100
// field at (20, 10), a canvas to draw on, and counters of what it was told.
struct TFakePlot : ITsp_SeriesOwner {
    Tsp_Axis bottom{0}, top{sf::FarSide}, left{sf::Vertical}, right{sf::Vertical | sf::FarSide};
    std::vector<Tsp_DataSeries*> series;
    Canvas* canvas = nullptr;
    TRect field{20, 10, 220, 110};
    int changed = 0, fieldInvalidated = 0, invalidated = 0, updates = 0, bufferInvalidated = 0;

    TFakePlot() {
        bottom.SetLine(20, 109, 199);
        top.SetLine(20, 10, 199);
        left.SetLine(20, 109, 99);
        right.SetLine(219, 109, 99);
    }
    // As the real plot does, attached series are told when it goes.
    ~TFakePlot() override {
        for (Tsp_DataSeries* s : series) s->PlotDestroyed();
    }
    void AddSeries(Tsp_DataSeries* s) override { series.push_back(s); }
    void RemoveSeries(Tsp_DataSeries* s) override { std::erase(series, s); }
    void SeriesChanged(Tsp_DataSeries*) override { ++changed; }
    void InvalidateField() override { ++fieldInvalidated; }
    void Invalidate() override { ++invalidated; }
    void Update() override { ++updates; }
    void InvalidateBuffer() override { ++bufferInvalidated; }
    bool AutoScaleAxis(Tsp_Axis&) override { return false; }
    Tsp_Axis& BottomAxis() override { return bottom; }
    Tsp_Axis& TopAxis() override { return top; }
    Tsp_Axis& LeftAxis() override { return left; }
    Tsp_Axis& RightAxis() override { return right; }
    Canvas* DCanvas() override { return canvas; }
    TRect FieldRect() const override { return field; }
    void MoveSeries(Tsp_DataSeries* s, bool toFront) override {
        std::erase(series, s);
        if (toFront)
            series.push_back(s);
        else
            series.insert(series.begin(), s);
    }
};

}  // namespace vx::test
