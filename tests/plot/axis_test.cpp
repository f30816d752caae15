#include <gtest/gtest.h>

#include "plot/axis.h"

namespace vx {
namespace {

struct FakePlot : ITsp_AxisOwner {
    int all = 0, aroundAndField = 0, field = 0;
    bool hasData = false;
    void AxisInvalidateAll() override { ++all; }
    void AxisInvalidateAroundAndField() override { ++aroundAndField; }
    void AxisInvalidateField() override { ++field; }
    bool AxisAutoScale(Tsp_Axis&) override { return hasData; }
    void AxisTickLabel(Tsp_Axis&, int index, double, std::string& text) override {
        if (index == 0) text = "first";
    }
};

TEST(AxisTest, RangeOperationsAndNotifications) {
    FakePlot plot;
    Tsp_Axis axis(sf::AutoMin | sf::AutoMax);
    axis.SetPlot(&plot);
    axis.SetMax(axis.Max());  // the same maximum: AutoMax cleared, no invalidation
    EXPECT_FALSE(axis.AutoMax());
    EXPECT_TRUE(axis.AutoMin());
    EXPECT_EQ(plot.all, 0);
    axis.SetMin(20);  // above the maximum: swapped
    EXPECT_EQ(axis.Min(), 10);
    EXPECT_EQ(axis.Max(), 20);
    EXPECT_EQ(plot.all, 1);
    axis.SetMinMax(10, 20);  // the same range still invalidates
    EXPECT_EQ(plot.all, 2);
    axis.MoveMinMax(1);
    EXPECT_EQ(axis.Min(), 11);
    EXPECT_EQ(plot.aroundAndField, 1);
    axis.GridAttr().SetVisible(true);
    EXPECT_EQ(plot.field, 1);
    axis.LineAttr().SetColor(clRed);
    EXPECT_EQ(plot.all, 3);
}

TEST(AxisTest, TicksCountAndLabels) {
    FakePlot plot;
    Tsp_Axis axis(0);
    axis.SetPlot(&plot);
    axis.SetTicksCount(40);
    EXPECT_EQ(axis.RequestedTicks(), 31);
    axis.SetTicksCount(6);
    axis.SetMinMax(0, 12.3);
    EXPECT_EQ(axis.TicksCount(), 7);  // the effective count
    std::string text;
    axis.GetTickLabel(0, text);
    EXPECT_EQ(text, "first");  // the plot's hook has the last word
    axis.GetTickLabel(1, text);
    EXPECT_EQ(text, "2");
}

TEST(AxisTest, SavedRangeAndAutoFlags) {
    FakePlot plot;
    Tsp_Axis axis(0);
    axis.SetPlot(&plot);
    axis.SetMinMax(0, 10);
    axis.StoreMinMax();
    axis.ChangeMinMax(2, 3);
    axis.StoreMinMax();  // a second store keeps the first range
    axis.RestoreMinMax();
    EXPECT_EQ(axis.Min(), 0);
    EXPECT_EQ(axis.Max(), 10);
    EXPECT_FALSE(axis.MinMaxStored());

    const int before = plot.all;
    axis.SetAutoMax(true);  // no data: nothing to redraw
    EXPECT_EQ(plot.all, before);
    plot.hasData = true;
    axis.SetAutoMin(true);
    EXPECT_EQ(plot.all, before + 1);
    axis.SetCaption("  ");
    EXPECT_FALSE(axis.DrawCaption());
    axis.SetCaption("kB/s");
    EXPECT_TRUE(axis.DrawCaption());
}

TEST(AxisTest, AssignCopiesTheAxis) {
    Tsp_Axis source(sf::Vertical | sf::FarSide);
    source.SetLine(424, 93, 84);
    source.SetMinMax(0, 10);
    source.SetMargin(7);
    source.GridAttr().SetColor(4605510);
    FakePlot plot;
    Tsp_Axis copy(0);
    copy.SetPlot(&plot);
    copy.Assign(source);
    EXPECT_EQ(copy.Flags(), source.Flags());
    EXPECT_EQ(copy.OX(), 424);
    EXPECT_EQ(copy.Margin(), 7);
    EXPECT_EQ(copy.GridAttr().Color(), 4605510);
    copy.GridAttr().SetVisible(true);  // the copy reports to its own plot
    EXPECT_EQ(plot.field, 1);
}

}  // namespace
}  // namespace vx
