#include "watcher/watcher_panel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include "canvas/painter_canvas.h"
#include "netconfig/kernel_link_source.h"
#include "sysinfo/format_settings.h"
#include "watcher/adapter_info_dialog.h"
#include "watcher/ask_yes_no.h"
#include "watcher/history_export.h"
#include "watcher/display_helpers.h"
#include "watcher/interface_pictures.h"

namespace vx {
namespace {

constexpr int kRowHeight = 18;

// A value cell: its size does not follow its text (room for the widest
// value a cell shows), so a new value never changes the panel's layout.
class TValueLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize sizeHint() const override {
        return {fontMetrics().horizontalAdvance(QStringLiteral("88888.88 Gbps")) + 6, minimumHeight()};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

// The panel's layout, which ignores the geometry changes its value cells
// announce while new values are set (they change no size; see TValueLabel):
// otherwise each new text has the whole panel laid out again.
class TPanelLayout : public QVBoxLayout {
public:
    TPanelLayout(QWidget* panel, const bool& settingValues) : QVBoxLayout(panel), FSettingValues(settingValues) {}
    void invalidate() override {
        if (!FSettingValues) QVBoxLayout::invalidate();
    }

private:
    const bool& FSettingValues;
};

QLabel* cell(QWidget* parent, TColor background, const QString& hint, bool bold = false, TColor text = clBlack,
             bool value = true) {
    auto* label = value ? new TValueLabel(parent) : new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->setFixedHeight(std::max(kRowHeight, label->fontMetrics().height() + 2));
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, toQColor(background));
    pal.setColor(QPalette::WindowText, toQColor(text));
    label->setPalette(pal);
    label->setToolTip(hint);
    QFont f = WithTabularFigures(label->font());
    f.setBold(bold);
    label->setFont(f);
    return label;
}

void setBackground(QLabel* label, TColor color) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, toQColor(color));
    label->setPalette(pal);
}

// A copy of a record whose address lists are its own.
TAdapter ownCopy(const TAdapter& a) {
    TAdapter copy = a;
    for (auto* list : {&copy.IPAddress, &copy.Gateways, &copy.DHCPServers, &copy.PrimaryWINS, &copy.SecondaryWINS,
                       &copy.DNSServers})
        *list = std::make_shared<TStringList>(*list ? **list : TStringList{});
    return copy;
}

// Flags as stored ("SFlags"): bit 0 vertical, 5 labels on the far side,
// 6/7 automatic range, 8 labels are times.
void designAxis(Tsp_Axis& axis, std::int32_t flags, int ticks, const char* format, bool gridShown) {
    for (int bit = 0; bit < 10; ++bit) axis.SetFlag(bit, (flags >> bit) & 1);
    axis.SetTicksCount(ticks);
    axis.SetLabelFormat(format);
    axis.SetMargin(4);
    axis.LineAttr().SetColor(clBlack);
    axis.GridAttr().SetColor(rgbColor(0x46, 0x46, 0x46));
    axis.GridAttr().SetVisible(gridShown);
}

}  // namespace

const std::vector<TPixmap>& InterfacePixmaps16() {
    static const std::vector<TPixmap> list = [] {
        std::vector<TPixmap> out;
        for (const QImage& img : InterfacePictures16()) out.push_back(fromQImage(img));
        return out;
    }();
    return list;
}

const std::vector<TPixmap>& InterfacePixmaps16x2() {
    static const std::vector<TPixmap> list = [] {
        std::vector<TPixmap> out;
        for (int i = 0; i < kInterfacePictureCount; ++i) {
            TPixmap picture = fromQImage(DrawInterfacePicture(i, 16, 2.0));
            if (i == 0 || i == 8 || i == 14) {  // empty in the list, as in the 16-pixel one
                picture = TPixmap(32, 32);
                picture.scale = 2;
            }
            out.push_back(std::move(picture));
        }
        return out;
    }();
    return list;
}

namespace {

// A watcher panel is a group of controls to assistive technologies (named
// after its interface), not an unnamed filler.
QAccessibleInterface* panelAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("vx::Tfrm_vx_Watcher") || !object || !object->isWidgetType()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
}

}  // namespace

// The series show the sampler's history, which goes first (members are
// destroyed in reverse order): they let go of it before.
Tfrm_vx_Watcher::~Tfrm_vx_Watcher() {
    sp_XYLine1.ShowPoints(nullptr);
    sp_XYLine2.ShowPoints(nullptr);
}

Tfrm_vx_Watcher::Tfrm_vx_Watcher(QWidget* parent, std::shared_ptr<ILinkSource> source, std::shared_ptr<IClock> clock)
    : QWidget(parent),
      FSource(source ? std::move(source) : std::make_shared<TKernelLinkSource>()),
      FClock(clock ? std::move(clock) : std::make_shared<TSystemClock>()),
      FSampler(*FSource, *FClock) {
    static const bool accessible = [] {
        QAccessible::installFactory(panelAccessible);
        return true;
    }();
    (void)accessible;
    resize(475, 200);
    // The panel's texts are small (8 points at 96 DPI) so that the cells hold them.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    auto* outer = new TPanelLayout(this, FSettingValues);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    Header = new TGradientBar(this);
    Header->setFixedHeight(29);
    Header->SetCaption(QStringLiteral("<interface_name>"));
    Header->SetTopIndent(7);
    TFontAttr captionFont;
    captionFont.height = -11;
    captionFont.bold = true;
    captionFont.color = clBlack;
    Header->SetFont(captionFont);
    Header->SetColors(clMoneyGreen, clMoneyGreen);
    Header->SetColor(TThemeBuffer::BorderColor, clBlack);
    Header->SetImages(&InterfacePixmaps16());
    Header->SetImages2x(&InterfacePixmaps16x2());
    auto* headerRow = new QHBoxLayout(Header);
    headerRow->setContentsMargins(0, 3, 2, 3);
    headerRow->addStretch(1);
    cbUnits = new QComboBox(Header);
    cbUnits->addItems({tr("Transfer"), tr("Speed")});
    // The designed sizes, or larger where the texts need it (larger fonts, other DPIs).
    cbUnits->setFixedSize(QSize(69, 21).expandedTo(cbUnits->sizeHint()));
    bProps = new QPushButton(tr("Properties..."), Header);
    bProps->setFixedSize(QSize(75, 23).expandedTo(
        QSize(bProps->fontMetrics().horizontalAdvance(bProps->text()) +
                  2 * bProps->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, bProps) + 4,
              bProps->fontMetrics().height() + 6)));
    bProps->setCursor(Qt::PointingHandCursor);
    headerRow->addWidget(cbUnits);
    headerRow->addWidget(bProps);
    outer->addWidget(Header);

    sp_XYPlot = new Tsp_XYPlot(this);
    sp_XYPlot->setCursor(Qt::CrossCursor);
    sp_XYPlot->SetPanCursor(Qt::ClosedHandCursor);
    sp_XYPlot->SetZoom(zpdNone);
    sp_XYPlot->SetFieldColor(clBlack);
    sp_XYPlot->SetBufferedDisplay(true);
    sp_XYPlot->setMouseTracking(true);
    designAxis(sp_XYPlot->LeftAxis(), 1, 6, "###0.##", true);
    designAxis(sp_XYPlot->RightAxis(), 33, 6, "###0.##", false);
    designAxis(sp_XYPlot->BottomAxis(), 448, 3, "hh:mm:ss", true);
    designAxis(sp_XYPlot->TopAxis(), 56, 5, "###0.##", false);
    sp_XYPlot->LeftAxis().SetMinMax(0, 10);
    sp_XYPlot->RightAxis().SetMinMax(0, 10);
    sp_XYPlot->TopAxis().SetMinMax(0, 10);
    sp_XYLine1.SetLegend("Download");
    sp_XYLine2.SetLegend("Upload");
    sp_XYLine1.SetPlot(sp_XYPlot);
    sp_XYLine2.SetPlot(sp_XYPlot);
    sp_XYPlot->installEventFilter(this);
    outer->addWidget(sp_XYPlot, 1);

    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    lDownload = cell(this, FDownloadColor, QString(), false, clBlack, false);
    lDownload->setText(tr("Download"));
    lDL = cell(this, clWhite, tr("Current"), true);
    lDLMax = cell(this, rgbColor(0xFF, 0xFB, 0xF0), tr("Max"));
    lDLTotal = cell(this, rgbColor(0xE0, 0xE0, 0xE0), tr("Total transfer"));
    lUpload = cell(this, FUploadColor, QString(), false, clBlack, false);
    lUpload->setText(tr("Upload"));
    lUL = cell(this, clWhite, tr("Current"), true);
    lULMax = cell(this, rgbColor(0xFF, 0xFB, 0xF0), tr("Max"));
    lULTotal = cell(this, rgbColor(0xE0, 0xE0, 0xE0), tr("Total transfer"));
    Panel1 = cell(this, clBlack, QString(), false, clWhite, false);
    Panel1->setText(tr("Session totals"));
    Panel1->installEventFilter(this);
    lTDL = cell(this, FDownloadColor, tr("Download"));
    lTUL = cell(this, FUploadColor, tr("Upload"));
    // Each value cell says what it holds; its text is the value.
    const std::pair<QLabel*, QString> named[] = {
        {lDL, tr("Current download")}, {lDLMax, tr("Highest download")}, {lDLTotal, tr("Total received")},
        {lUL, tr("Current upload")},   {lULMax, tr("Highest upload")},   {lULTotal, tr("Total sent")},
        {lTDL, tr("Session download")}, {lTUL, tr("Session upload")},
    };
    for (const auto& [label, what] : named) label->setAccessibleName(what);
    // The first column is 70 pixels wide, or as wide as its longest text.
    int firstWidth = 70;
    for (QLabel* first : {lDownload, lUpload, Panel1})
        firstWidth = std::max(firstWidth, first->fontMetrics().horizontalAdvance(first->text()) + 6);
    for (QLabel* first : {lDownload, lUpload, Panel1}) first->setFixedWidth(firstWidth);
    grid->addWidget(lDownload, 0, 0);
    grid->addWidget(lDL, 0, 1);
    grid->addWidget(lDLMax, 0, 2);
    grid->addWidget(lDLTotal, 0, 3);
    grid->addWidget(lUpload, 1, 0);
    grid->addWidget(lUL, 1, 1);
    grid->addWidget(lULMax, 1, 2);
    grid->addWidget(lULTotal, 1, 3);
    auto* sessions = new QHBoxLayout;
    sessions->setSpacing(0);
    sessions->addWidget(lTDL, 1);
    sessions->addWidget(lTUL, 1);
    grid->addWidget(Panel1, 2, 0);
    grid->addLayout(sessions, 2, 1, 1, 3);
    outer->addLayout(grid);

    ApplyColors();
    connect(cbUnits, &QComboBox::currentIndexChanged, this, [this] {
        applyUnits(cbUnits->currentIndex());
        sp_XYPlotDblClick();
    });
    connect(bProps, &QPushButton::clicked, this, &Tfrm_vx_Watcher::bPropsClick);
    acExportHistory = new QAction(tr("&Export history..."), this);
    acExportHistory->setObjectName(QStringLiteral("acExportHistory"));
    connect(acExportHistory, &QAction::triggered, this, &Tfrm_vx_Watcher::acExportHistoryExecute);
    // The double click on "Session totals" as a command, for the keyboard.
    acClearSession = new QAction(tr("Clear session &totals..."), this);
    acClearSession->setObjectName(QStringLiteral("acClearSession"));
    connect(acClearSession, &QAction::triggered, this, &Tfrm_vx_Watcher::Panel1DblClick);
    // The graph takes the focus (Tab), so its menu opens from the keyboard
    // too (the Menu key, Shift+F10).
    sp_XYPlot->setFocusPolicy(Qt::StrongFocus);
    Timer.setInterval(PeriodMs(FPeriod));
    connect(&Timer, &QTimer::timeout, this, &Tfrm_vx_Watcher::TimerTimer);
}

void Tfrm_vx_Watcher::StartSampling(TPeriod period) {
    FPeriod = period;
    Timer.stop();
    Timer.StartOnBeat(PeriodMs(period));
}

QList<QWidget*> Tfrm_vx_Watcher::FocusChain() const { return {cbUnits, bProps, sp_XYPlot}; }

void Tfrm_vx_Watcher::SetMenus(QMenu* captionMenu, const QList<QAction*>& graphItems) {
    Header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Header, &QWidget::customContextMenuRequested, this,
            [this, captionMenu](const QPoint& at) { captionMenu->popup(Header->mapToGlobal(at)); });
    delete FGraphMenu;
    FGraphMenu = new QMenu(this);
    FGraphMenu->setObjectName(QStringLiteral("GraphMenu"));
    FGraphMenu->addAction(acExportHistory);
    FGraphMenu->addAction(acClearSession);
    FGraphMenu->addActions(graphItems);
    sp_XYPlot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sp_XYPlot, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { FGraphMenu->popup(sp_XYPlot->mapToGlobal(at)); });
}

void Tfrm_vx_Watcher::SetAdapter(const TAdapter& adapter) {
    FSampler.Adapter = ownCopy(adapter);
    // What a screen reader says of the panel and its controls: the
    // interface's name is painted on the caption bar, so it is named here.
    const QString name = ShownName(adapter.Name);
    Header->SetCaption(name);
    Header->setToolTip(QString::fromStdString(adapter.Alias));
    setAccessibleName(tr("%1 traffic").arg(name));
    cbUnits->setAccessibleName(tr("Units of %1").arg(name));
    cbUnits->setAccessibleDescription(cbUnits->accessibleName());  // on Linux the name is the value
    bProps->setAccessibleName(tr("Properties of %1").arg(name));
    sp_XYPlot->setAccessibleName(tr("%1 graph").arg(name));
}

// The panel's and the graph's descriptions for screen readers: the current
// and highest rates, and the last minute's average and peak. Made only
// while an assistive technology listens.
void Tfrm_vx_Watcher::describe() {
    if (!QAccessible::isActive()) return;
    setAccessibleDescription(tr("Download %1, highest %2. Upload %3, highest %4.")
                                 .arg(lDL->text(), lDLMax->text(), lUL->text(), lULMax->text()));
    const auto lastMinute = [this](const Tsp_XYDataSeries& series) {
        const TDateTime from = FClock->Now() - 60.0 / 86400;
        double sum = 0, peak = 0;
        int n = 0;
        for (int i = series.Count() - 1; i >= 0 && series.GetX(i) >= from; --i, ++n) {
            sum += series.GetY(i);
            peak = std::max(peak, series.GetY(i));
        }
        return std::pair{n ? sum / n : 0.0, peak};
    };
    const auto [downAverage, downPeak] = lastMinute(sp_XYLine1);
    const auto [upAverage, upPeak] = lastMinute(sp_XYLine2);
    const QString unit = Units() == 1 ? QStringLiteral("kbps") : QStringLiteral("KB/s");
    const auto number = [](double v) { return QString::fromStdString(FormatFixed(v, 2)); };
    sp_XYPlot->setAccessibleDescription(
        tr("Last minute: download average %1 %5, peak %2 %5; upload average %3 %5, peak %4 %5.")
            .arg(number(downAverage), number(downPeak), number(upAverage), number(upPeak), unit));
}

int Tfrm_vx_Watcher::Units() const { return cbUnits->currentIndex(); }

void Tfrm_vx_Watcher::SetUnits(int units) {
    const QSignalBlocker quiet(cbUnits);
    cbUnits->setCurrentIndex(units >= 0 && units < cbUnits->count() ? units : -1);
    applyUnits(cbUnits->currentIndex());
}

// The points already drawn are converted: the graph goes on in the new
// unit, and an export has every row in the unit its header names.
void Tfrm_vx_Watcher::applyUnits(int units) {
    const double factor = FSampler.ChangeUnits(units);
    if (factor != 1) {
        sp_XYLine1.PointsChanged();
        sp_XYLine2.PointsChanged();
    }
}

void Tfrm_vx_Watcher::ApplyColors() {
    sp_XYLine1.LineAttr().SetColor(FDownloadColor);
    sp_XYLine2.LineAttr().SetColor(FUploadColor);
    setBackground(lTDL, FDownloadColor);
    setBackground(lTUL, FUploadColor);
}

void Tfrm_vx_Watcher::TimerTimer() {
    const TTrafficGraph graph{sp_XYPlot->BottomAxis(), sp_XYPlot->LeftAxis(), sp_XYPlot->RightAxis(), sp_XYLine1,
                              sp_XYLine2};
    const TTrafficFigures f = FSampler.TimerTimer(graph);
    const int u = Units();
    auto text = [](const std::string& s) { return QString::fromStdString(s); };
    FSettingValues = true;
    // A remote host not reached has no rate and no counters to show: a
    // dash, never a zero.
    const QString none = QStringLiteral("\u2013");
    lDL->setText(f.Unavailable ? none : text(FormatValue(u, f.DownloadRate)));
    lUL->setText(f.Unavailable ? none : text(FormatValue(u, f.UploadRate)));
    lDLMax->setText(text(FormatValue(u, f.MaxDownload)));
    lULMax->setText(text(FormatValue(u, f.MaxUpload)));
    lDLTotal->setText(f.Unavailable ? none : text(FormatValue(0, static_cast<double>(f.Received))));
    lULTotal->setText(f.Unavailable ? none : text(FormatValue(0, static_cast<double>(f.Sent))));
    lTDL->setText(text(FormatValue(0, static_cast<double>(f.SessionReceived))));
    lTUL->setText(text(FormatValue(0, static_cast<double>(f.SessionSent))));
    FSettingValues = false;
    describe();
}

void Tfrm_vx_Watcher::sp_XYPlotMouseMove(int x, int y) {
    const int u = Units();
    const double value = sp_XYPlot->LeftAxis().P2V(y);
    QString valueText;
    if (u == 0) valueText = QString::fromStdString(FormatFixed(value, 2)) + QStringLiteral(" KB");
    if (u == 1) valueText = QString::fromStdString(FormatFixed(value, 2)) + QStringLiteral(" kbps");
    const double when = sp_XYPlot->BottomAxis().P2V(x);
    QString timeText;
    if (const auto p = DecodeDateTime(when)) {
        const QLocale locale = QLocale::system();
        timeText = locale.toString(QDate(p->year, p->month, p->day), QLocale::ShortFormat);
        if (p->hour || p->minute || p->second || p->millisecond) {
            QString format = locale.timeFormat(QLocale::LongFormat);
            format.remove(QLatin1Char('t')).replace(QStringLiteral("  "), QStringLiteral(" "));
            timeText += QLatin1Char(' ') + locale.toString(QTime(p->hour, p->minute, p->second), format.trimmed());
        }
    }
    // A line break as this system writes it.
    sp_XYPlot->setToolTip(tr("Timestamp: %1\nValue: %2").arg(timeText, valueText));
}

void Tfrm_vx_Watcher::sp_XYPlotDblClick() {
    sp_XYPlot->LeftAxis().SetMinMax(0, FSampler.PeakSinceRescale());
    const TDateTime now = FClock->Now();
    sp_XYPlot->BottomAxis().SetMinMax(now, now + FSampler.ViewLength() / 86400.0);
}

void Tfrm_vx_Watcher::Panel1DblClick() {
    if (AskYesNo(tr("Clear session totals?"))) FSampler.ResetSessionTotals();
}

QString Tfrm_vx_Watcher::ExportHistoryTo(const QString& path) const {
    return QString::fromStdString(ExportHistoryCsv(sp_XYLine1, sp_XYLine2, Units(), path.toStdString()));
}

void Tfrm_vx_Watcher::acExportHistoryExecute() {
    const QString suggested = QStringLiteral("vantrix-%1-%2.csv")
                                  .arg(QString::fromStdString(Adapter().Name),
                                       QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path = QFileDialog::getSaveFileName(window(), tr("Export history"),
                                                      QDir::home().filePath(suggested),
                                                      tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty()) return;
    const QString problem = ExportHistoryTo(path);
    if (!problem.isEmpty()) QMessageBox::warning(window(), tr("Export history"), problem);
}

void Tfrm_vx_Watcher::bPropsClick() { ShowAdapterInfo(FSampler.Adapter, window()); }

bool Tfrm_vx_Watcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sp_XYPlot && event->type() == QEvent::KeyPress) {
        // The graph's menu from the keyboard: the Menu key and Shift+F10,
        // under the middle of the graph.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && (key->modifiers() & Qt::ShiftModifier))) {
            emit sp_XYPlot->customContextMenuRequested(sp_XYPlot->rect().center());
            return true;
        }
    }
    if (watched == sp_XYPlot && event->type() == QEvent::MouseMove) {
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        sp_XYPlotMouseMove(p.x(), p.y());
    } else if (watched == sp_XYPlot && event->type() == QEvent::MouseButtonDblClick) {
        sp_XYPlotDblClick();
    } else if (watched == Panel1 && event->type() == QEvent::MouseButtonDblClick) {
        Panel1DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vx
