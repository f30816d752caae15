#include "usage_view/usage_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "usage/allowance.h"
#include "usage/usage_csv.h"
#include "usage/usage_day.h"
#include "usage_view/usage_bar_chart.h"
#include "watcher/display_helpers.h"

namespace vx {

namespace {

QString sizeText(std::uint64_t bytes) { return QString::fromStdString(FormatSize(static_cast<double>(bytes))); }

QDate dateOf(int day) { return QDate(YearOf(day), MonthOf(day), DayOfMonthOf(day)); }

QString dayText(int day) { return QLocale::system().toString(dateOf(day), QLocale::ShortFormat); }

const char* const kPeriodNames[] = {QT_TRANSLATE_NOOP("vx::TUsageWindow", "Today"),      QT_TRANSLATE_NOOP("vx::TUsageWindow", "Yesterday"),
                                    QT_TRANSLATE_NOOP("vx::TUsageWindow", "This week"),  QT_TRANSLATE_NOOP("vx::TUsageWindow", "This month"),
                                    QT_TRANSLATE_NOOP("vx::TUsageWindow", "Last month"), QT_TRANSLATE_NOOP("vx::TUsageWindow", "All time")};

}  // namespace

TUsageWindow::TUsageWindow(TUsageRecorder& recorder, QWidget* parent) : QDialog(parent), FRecorder(recorder) {
    setObjectName(QStringLiteral("UsageWindow"));
    setWindowTitle(tr("Usage"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* outer = new QVBoxLayout(this);
    auto* chooser = new QHBoxLayout;
    auto* interfaceLabel = new QLabel(tr("&Interface:"), this);
    chooser->addWidget(interfaceLabel);
    cbInterface = new QComboBox(this);
    interfaceLabel->setBuddy(cbInterface);  // read with its label, reached by Alt+I
    cbInterface->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    chooser->addWidget(cbInterface);
    chooser->addStretch(1);
    outer->addLayout(chooser);

    auto* top = new QHBoxLayout;
    Periods = new QTreeWidget(this);
    Periods->setObjectName(QStringLiteral("Periods"));
    Periods->setRootIsDecorated(false);
    Periods->setHeaderLabels({tr("Period"), tr("Download"), tr("Upload"),
                              tr("Total")});
    for (const char* name : kPeriodNames) {
        auto* row = new QTreeWidgetItem(Periods, {tr(name)});
        for (int c = 1; c <= 3; ++c) row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    Periods->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Periods->header()->setStretchLastSection(false);
    Periods->setSelectionMode(QAbstractItemView::NoSelection);
    // Focusable (Tab), so that a screen reader user can read the totals.
    Periods->setFocusPolicy(Qt::StrongFocus);
    Periods->setAccessibleName(tr("Totals per period"));
    const int rowHeight = Periods->sizeHintForRow(0) > 0 ? Periods->sizeHintForRow(0) : fontMetrics().height() + 4;
    Periods->setFixedHeight(Periods->header()->sizeHint().height() + rowHeight * rowCount + 2 * Periods->frameWidth() + 2);
    top->addWidget(Periods, 3);

    auto* allowance = new QGroupBox(tr("Monthly allowance"), this);
    auto* form = new QFormLayout(allowance);
    cbAllowance = new QCheckBox(tr("Limit"), allowance);
    sbAllowance = new QDoubleSpinBox(allowance);
    sbAllowance->setRange(0.1, 1000000);
    sbAllowance->setDecimals(1);
    sbAllowance->setSuffix(QStringLiteral(" GB"));
    sbAllowance->setValue(50);
    sbAllowance->setToolTip(tr("Download and upload together; 1 GB is 1024 MB"));
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(cbAllowance);
    limitRow->addWidget(sbAllowance, 1);
    form->addRow(limitRow);
    sbBillingDay = new QSpinBox(allowance);
    sbBillingDay->setRange(1, 31);
    sbBillingDay->setToolTip(tr("The day of the month a period starts; in shorter months, their last day"));
    form->addRow(tr("Billing day:"), sbBillingDay);
    pbAllowance = new QProgressBar(allowance);
    pbAllowance->setRange(0, 100);
    pbAllowance->setTextVisible(true);
    form->addRow(pbAllowance);
    lAllowance = new QLabel(allowance);
    lAllowance->setWordWrap(true);
    form->addRow(lAllowance);
    top->addWidget(allowance, 2);
    outer->addLayout(top);

    DaysChart = new TUsageBarChart(tr("Last 31 days"), this);
    MonthsChart = new TUsageBarChart(tr("Last 12 months"), this);
    outer->addWidget(DaysChart, 1);
    outer->addWidget(MonthsChart, 1);

    lProblem = new QLabel(this);
    lProblem->setWordWrap(true);
    lProblem->hide();
    outer->addWidget(lProblem);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    bExport = buttons->addButton(tr("Export..."), QDialogButtonBox::ActionRole);
    bExport->setToolTip(tr("Every interface's daily traffic as a CSV file"));
    outer->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(bExport, &QPushButton::clicked, this, &TUsageWindow::exportClick);

    connect(cbInterface, &QComboBox::currentIndexChanged, this, [this] {
        if (!FFilling) showInterface();
    });
    connect(cbAllowance, &QCheckBox::toggled, this, [this] {
        sbAllowance->setEnabled(cbAllowance->isChecked());
        sbBillingDay->setEnabled(cbAllowance->isChecked());
        allowanceEdited();
    });
    connect(sbAllowance, &QDoubleSpinBox::valueChanged, this, &TUsageWindow::allowanceEdited);
    connect(sbBillingDay, &QSpinBox::valueChanged, this, &TUsageWindow::allowanceEdited);
    connect(&FRecorder, &TUsageRecorder::Recorded, this, [this] {
        if (isVisible()) Refresh();
    });
    resize(640, 560);
    Refresh();
}

std::int64_t TUsageWindow::selectedId() const { return cbInterface->currentData().toLongLong(); }

void TUsageWindow::Refresh() {
    const std::int64_t chosen = selectedId();
    FFilling = true;
    cbInterface->clear();
    for (const TUsageInterface& i : FRecorder.Store().Interfaces())
        cbInterface->addItem(ShownName(i.Name), QVariant::fromValue<qlonglong>(i.Id));
    const int at = cbInterface->findData(QVariant::fromValue<qlonglong>(chosen));
    cbInterface->setCurrentIndex(at >= 0 ? at : (cbInterface->count() ? 0 : -1));
    FFilling = false;
    const QString problem = QString::fromStdString(FRecorder.Store().Problem());
    lProblem->setText(FRecorder.Store().IsOpen() ? problem : tr("No usage history is kept: ") + problem);
    lProblem->setVisible(!problem.isEmpty());
    showInterface();
}

bool TUsageWindow::SelectInterface(const QString& name) {
    const int at = cbInterface->findText(ShownName(name.toStdString()));
    if (at < 0) return false;
    cbInterface->setCurrentIndex(at);
    return true;
}

void TUsageWindow::showInterface() {
    const std::int64_t id = selectedId();
    const int today = FRecorder.Today();
    const bool any = id != 0;
    cbAllowance->setEnabled(any);
    bExport->setEnabled(FRecorder.Store().IsOpen());
    showPeriods(id, today);
    showAllowance(id, today);
    showCharts(id, today);
}

void TUsageWindow::showPeriods(std::int64_t id, int today) {
    TUsageStore& store = FRecorder.Store();
    const int weekStart = WeekStart(today, static_cast<int>(QLocale::system().firstDayOfWeek()));
    const int monthStart = MonthStart(today);
    const std::pair<int, int> ranges[rowCount] = {
        {today, AddDays(today, 1)},           {AddDays(today, -1), today},
        {weekStart, AddDays(today, 1)},       {monthStart, AddDays(today, 1)},
        {AddMonths(today, -1), monthStart},   {0, 99991231},
    };
    for (int r = 0; r < rowCount; ++r) {
        const TUsageBytes b = id ? store.Sum(id, ranges[r].first, ranges[r].second) : TUsageBytes{};
        QTreeWidgetItem* row = Periods->topLevelItem(r);
        row->setText(1, sizeText(b.Received));
        row->setText(2, sizeText(b.Sent));
        row->setText(3, sizeText(b.Total()));
    }
}

void TUsageWindow::showAllowance(std::int64_t id, int today) {
    const auto i = id ? FRecorder.Store().Interface(id) : std::nullopt;
    const bool limited = i && i->AllowanceGB > 0;
    {
        const QSignalBlocker a(cbAllowance), b(sbAllowance), c(sbBillingDay);
        cbAllowance->setChecked(limited);
        if (limited) sbAllowance->setValue(i->AllowanceGB);
        sbBillingDay->setValue(i ? std::clamp(i->BillingDay, 1, 31) : 1);
        sbAllowance->setEnabled(limited);
        sbBillingDay->setEnabled(limited);
    }
    pbAllowance->setVisible(limited);
    if (!limited) {
        lAllowance->setText(i ? tr("No allowance set.") : QString());
        return;
    }
    const TBillingPeriod period = BillingPeriodOf(today, i->BillingDay);
    const std::uint64_t used = FRecorder.Store().Sum(id, period.Start, period.End).Total();
    const std::uint64_t allowance = AllowanceBytes(i->AllowanceGB);
    const double percent = 100.0 * static_cast<double>(used) / static_cast<double>(allowance);
    pbAllowance->setValue(static_cast<int>(std::min(100.0, percent)));
    pbAllowance->setFormat(QStringLiteral("%1 %").arg(QLocale::system().toString(percent, 'f', 1)));
    lAllowance->setText(tr("%1 of %2 used from %3 to %4. At this pace: %5 by the end.")
                            .arg(sizeText(used), sizeText(allowance), dayText(period.Start),
                                 dayText(AddDays(period.End, -1)),
                                 sizeText(ProjectedUse(used, period, FRecorder.NowTime()))));
    fitAllowanceText();
}

void TUsageWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fitAllowanceText();
}

void TUsageWindow::fitAllowanceText() {
    if (!isVisible() || !lAllowance->isVisible()) return;
    layout()->activate();
    const int missing = lAllowance->heightForWidth(lAllowance->width()) - lAllowance->height();
    if (missing > 0) resize(width(), height() + missing);
}

void TUsageWindow::showCharts(std::int64_t id, int today) {
    TUsageStore& store = FRecorder.Store();
    const QLocale locale = QLocale::system();
    std::vector<TUsageBar> days;
    const int firstDay = AddDays(today, -30);
    std::vector<TDayUsage> stored = id ? store.Days(id, firstDay, AddDays(today, 1)) : std::vector<TDayUsage>{};
    auto next = stored.begin();
    for (int d = firstDay; d <= today; d = AddDays(d, 1)) {
        TUsageBar bar{QString::number(DayOfMonthOf(d)), locale.toString(dateOf(d), QLocale::LongFormat), {}};
        if (next != stored.end() && next->Day == d) bar.Bytes = (next++)->Bytes;
        days.push_back(bar);
    }
    DaysChart->SetBars(id ? std::move(days) : std::vector<TUsageBar>{});

    std::vector<TUsageBar> months;
    const int firstMonth = AddMonths(today, -11);
    stored = id ? store.Months(id, firstMonth, AddDays(today, 1)) : std::vector<TDayUsage>{};
    next = stored.begin();
    for (int m = firstMonth; m <= today; m = AddMonths(m, 1)) {
        TUsageBar bar{locale.monthName(MonthOf(m), QLocale::ShortFormat),
                      locale.monthName(MonthOf(m), QLocale::LongFormat) + QLatin1Char(' ') + QString::number(YearOf(m)),
                      {}};
        if (next != stored.end() && next->Day == m / 100) bar.Bytes = (next++)->Bytes;
        months.push_back(bar);
    }
    MonthsChart->SetBars(id ? std::move(months) : std::vector<TUsageBar>{});
}

void TUsageWindow::allowanceEdited() {
    const std::int64_t id = selectedId();
    if (!id || FFilling) return;
    const double gigabytes = cbAllowance->isChecked() ? sbAllowance->value() : 0.0;
    const auto before = FRecorder.Store().Interface(id);
    if (before && before->AllowanceGB == gigabytes && before->BillingDay == sbBillingDay->value()) return;
    // A new allowance is announced anew when it is reached.
    if (!FRecorder.Store().SetAllowance(id, gigabytes, sbBillingDay->value()) ||
        !FRecorder.Store().SetNotified(id, 0, 0)) {
        // Said, and the controls show what is stored, not what was asked.
        QString why = QString::fromStdString(FRecorder.Store().Problem());
        if (!FRecorder.Store().IsOpen()) why = tr("the usage history is not open");
        showAllowance(id, FRecorder.Today());
        QMessageBox::warning(this, tr("Usage"),
                             tr("The allowance could not be saved: %1. Try again in a moment.").arg(why));
        return;
    }
    showAllowance(id, FRecorder.Today());
}

QString TUsageWindow::ExportTo(const QString& path) {
    return QString::fromStdString(ExportUsageCsv(FRecorder.Store(), path.toStdString()));
}

void TUsageWindow::exportClick() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Export usage"),
                                                      QDir::home().filePath(QStringLiteral("vantrix-usage.csv")),
                                                      tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty()) return;
    const QString problem = ExportTo(path);
    if (!problem.isEmpty()) QMessageBox::warning(this, tr("Export usage"), problem);
}

}  // namespace vx
