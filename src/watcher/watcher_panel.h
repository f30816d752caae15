#pragma once

// The panel that shows one watched interface: a caption bar with its name,
// picture, unit selector and "Properties..." button; a graph of the download
// and upload rates over the last five minutes; and three rows of figures
// (current, maximum and interface total per direction, and the session
// totals). Its timer samples the interface (TTrafficSampler).

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "controls/gradient_bar.h"
#include "plot/xy_plot.h"
#include "watcher/beat_timer.h"
#include "watcher/traffic_sampler.h"
#include "watcher/watcher_period.h"

class QAction;
class QComboBox;
class QMenu;
class QPushButton;

namespace vx {

class Tfrm_vx_Watcher : public QWidget {
    Q_OBJECT
public:
    static constexpr int kOpenHeight = 210;

    // source and clock: the links and the time the panel samples
    // with; the application's when none are given.
    explicit Tfrm_vx_Watcher(QWidget* parent = nullptr, std::shared_ptr<ILinkSource> source = nullptr,
                             std::shared_ptr<IClock> clock = nullptr);
    ~Tfrm_vx_Watcher() override;

    void Initialize() { FSampler.Initialize(); }
    // The panel's own copy of its interface's record (its lists copied too).
    const TAdapter& Adapter() const { return FSampler.Adapter; }
    // Also names the panel: the caption, its tooltip (the alias) and what
    // screen readers say.
    void SetAdapter(const TAdapter& adapter);
    int Units() const;
    void SetUnits(int units);
    // Samples every period from now on, on the beat all timers of that
    // period share; the first sample at the next beat.
    void StartSampling(TPeriod period);
    void StopSampling() { Timer.stop(); }
    TPeriod Period() const { return FPeriod; }
    // The caption bar's picture: an index into the interface pictures.
    void SetImageIndex(int index) { Header->SetImageIndex(index); }
    // The menu the caption bar pops up, and the items the graph's menu
    // shows after its own (export, clear session totals).
    void SetMenus(QMenu* captionMenu, const QList<QAction*>& graphItems);
    // The rates as the panel shows them now.
    QString DownloadRateText() const { return lDL->text(); }
    QString UploadRateText() const { return lUL->text(); }
    // Its controls in Tab order.
    QList<QWidget*> FocusChain() const;
    TColor DownloadColor() const { return FDownloadColor; }
    TColor UploadColor() const { return FUploadColor; }
    // The download and upload colours go to the graph lines and session cells.
    void ApplyColors();
    // One sample now (what the timer does).
    void TimerTimer();

    void sp_XYPlotMouseMove(int x, int y);
    void sp_XYPlotDblClick();
    void Panel1DblClick();
    void bPropsClick();
    // The graph's points to a CSV file; "" when done, else what went wrong.
    QString ExportHistoryTo(const QString& path) const;
    // Asks where, then exports.
    void acExportHistoryExecute();

    TGradientBar* Header;
    QComboBox* cbUnits;
    QPushButton* bProps;
    Tsp_XYPlot* sp_XYPlot;
    Tsp_XYLine sp_XYLine1, sp_XYLine2;
    QLabel *lDL, *lDLMax, *lDLTotal, *lUL, *lULMax, *lULTotal, *lTDL, *lTUL, *Panel1;
    QLabel *lDownload, *lUpload;
    QAction* acExportHistory;  // "Export history...", for the graph's context menu
    QAction* acClearSession;   // "Clear session totals...", likewise
    TBeatTimer Timer;
    TTrafficSampler& Sampler() { return FSampler; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyUnits(int units);
    void describe();
    std::shared_ptr<ILinkSource> FSource;
    std::shared_ptr<IClock> FClock;
    TTrafficSampler FSampler;
    TPeriod FPeriod = TPeriod::Normal;
    bool FSettingValues = false;  // new values go into the cells (no layout change)
    QMenu* FGraphMenu = nullptr;
    TColor FDownloadColor = rgbColor(0xA6, 0xCA, 0xF0);
    TColor FUploadColor = rgbColor(0x00, 0xFF, 0x00);
};

// The 16-pixel interface pictures as the caption bar draws them.
const std::vector<TPixmap>& InterfacePixmaps16();
// The same with twice the pixels, for HiDPI screens.
const std::vector<TPixmap>& InterfacePixmaps16x2();

}  // namespace vx
