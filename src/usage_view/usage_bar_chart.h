#pragma once

// A bar chart of download and upload per day or month: a pair of bars per
// period in the watcher colours on the graph's black field, with the sizes
// at the left and the period labels below. Texts outside the field take
// the palette's colours, so the chart reads in light and dark themes.

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

#include "usage/usage_records.h"

namespace vx {

struct TUsageBar {
    QString Label;    // below the bars ("10", "Dec")
    QString Caption;  // in the tool tip ("10 December 2026")
    TUsageBytes Bytes;
};

class TUsageBarChart : public QWidget {
    Q_OBJECT
public:
    explicit TUsageBarChart(const QString& title, QWidget* parent = nullptr);

    void SetBars(std::vector<TUsageBar> bars);
    const std::vector<TUsageBar>& Bars() const { return FBars; }
    void SetColors(const QColor& download, const QColor& upload);
    QSize sizeHint() const override { return {520, 150}; }
    QSize minimumSizeHint() const override { return {260, 110}; }
    // The bar under a point of the widget; -1 outside the bars.
    int BarAt(const QPoint& at) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect field() const;
    std::uint64_t scaleMax() const;

    QString FTitle;
    std::vector<TUsageBar> FBars;
    QColor FDownload{0xA6, 0xCA, 0xF0}, FUpload{0x00, 0xFF, 0x00};
};

}  // namespace vx
