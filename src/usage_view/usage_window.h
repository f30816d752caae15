#pragma once

// The Usage window: for a chosen interface, the traffic of today,
// yesterday, this week, this month, last month and all time; its monthly
// allowance with the use so far and the projection to the period's end;
// bar charts of the last 31 days and the last 12 months; and the export of
// the whole history to CSV. It reads the history again after every write.

#include <QDialog>
#include <ctime>

#include "usage/usage_recorder.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace vx {

class TUsageBarChart;

class TUsageWindow : public QDialog {
    Q_OBJECT
public:
    enum { rowToday, rowYesterday, rowThisWeek, rowThisMonth, rowLastMonth, rowAllTime, rowCount };

    explicit TUsageWindow(TUsageRecorder& recorder, QWidget* parent = nullptr);

    // Reads the history again; keeps the chosen interface.
    void Refresh();
    // Chooses the interface by its current name; false when it has no history.
    bool SelectInterface(const QString& name);
    // Writes the history to a CSV file; "" when done, else what went wrong.
    QString ExportTo(const QString& path);

    QComboBox* cbInterface;
    QTreeWidget* Periods;
    QCheckBox* cbAllowance;
    QDoubleSpinBox* sbAllowance;
    QSpinBox* sbBillingDay;
    QLabel* lAllowance;
    QProgressBar* pbAllowance;
    TUsageBarChart* DaysChart;
    TUsageBarChart* MonthsChart;
    QLabel* lProblem;
    QPushButton* bExport;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Grows the window where the allowance text needs more lines than it
    // has (a longer language, larger fonts).
    void fitAllowanceText();
    std::int64_t selectedId() const;
    void showInterface();
    void showPeriods(std::int64_t id, int today);
    void showAllowance(std::int64_t id, int today);
    void showCharts(std::int64_t id, int today);
    void allowanceEdited();
    void exportClick();

    TUsageRecorder& FRecorder;
    bool FFilling = false;
};

}  // namespace vx
