// The main window's actions, main menu, context menu and tray icon.
#include <QActionGroup>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSystemTrayIcon>
#include <QTimer>

#include "about/about_dialog.h"
#include "persistence/desktop_metrics.h"
#include "shell/autostart.h"
#include "shell/desktop_session.h"
#include "shell/main_window.h"
#include "watcher/display_helpers.h"
#include "shell/settings_location.h"
#include "sysinfo/version_info.h"
#include "watcher/interface_pictures.h"

namespace vx {

void Twnd_vx_Main::createActions() {
    auto make = [this](const char* name, const QString& caption, QKeySequence key, bool checkable, bool checked) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) a->setShortcut(key);
        a->setCheckable(checkable);
        a->setChecked(checked);
        addAction(a);  // shortcuts work without the menu bar too
        return a;
    };
    acExit = make("acExit", tr("E&xit"), {}, false, false);
    acExit->setToolTip(tr("Exit"));
    acExit->setStatusTip(tr("Quits the application"));
    acAbout = make("acAbout", tr("&About..."), QKeySequence(Qt::Key_F1), false, false);
    acOnTop = make("acOnTop", tr("Always &Visible"), {}, true, false);
    acIntfView = make("acIntfView", tr("&Interface View"), QKeySequence(Qt::CTRL | Qt::Key_I), true, false);
    acCaption = make("acCaption", tr("Window &Caption"), QKeySequence(Qt::CTRL | Qt::Key_W), true, true);
    acHide = make("acHide", tr("&Hide"), {}, false, false);
    acOOI = make("acOOI", tr("&Only Operational Interfaces"), {}, true, true);
    acRefresh = make("acRefresh", tr("&Refresh"), QKeySequence(Qt::Key_F5), false, false);
    acPersistent = make("acPersistent", tr("Persistent &layout and settings"), {}, true, false);
    acAutostart = make("acAutostart", tr("Start with the &desktop"), {}, true, TAutostart::Enabled());
    acUsage = make("acUsage", tr("&Usage..."), QKeySequence(Qt::CTRL | Qt::Key_U), false, false);
    acUsage->setStatusTip(tr("Traffic per day and month, and the monthly allowance"));
    acHideVirtual = make("acHideVirtual", tr("Hide Virtual Inter&faces"), {}, true, false);
    acHideVirtual->setStatusTip(tr("Lists only the physical interfaces and their total"));
    acRemoteHosts = make("acRemoteHosts", tr("Remote Host&s..."), {}, false, false);
    acApplications = make("acApplications", tr("Traffic &by Application..."), {}, false, false);
    acApplications->setStatusTip(tr("Which application uses the network"));
    acRemoteHosts->setStatusTip(tr("Other machines whose interfaces are listed, read from their node exporter"));

    connect(acExit, &QAction::triggered, this, &QWidget::close);
    connect(acAbout, &QAction::triggered, this, [] { ShowAboutDialog(); });
    connect(acOnTop, &QAction::triggered, this, &Twnd_vx_Main::acOnTopExecute);
    connect(acIntfView, &QAction::triggered, this, &Twnd_vx_Main::acIntfViewExecute);
    connect(acCaption, &QAction::triggered, this, [this] { ApplyCaption(true); });
    connect(acHide, &QAction::triggered, this, &Twnd_vx_Main::acHideExecute);
    connect(acOOI, &QAction::triggered, this, &Twnd_vx_Main::acOOIExecute);
    connect(acRefresh, &QAction::triggered, this, &Twnd_vx_Main::RefreshData);
    connect(acPersistent, &QAction::triggered, this, &Twnd_vx_Main::acPersistentExecute);
    connect(acAutostart, &QAction::triggered, this, &Twnd_vx_Main::acAutostartExecute);
    connect(acUsage, &QAction::triggered, this, [this] { ShowUsage(); });
    connect(acHideVirtual, &QAction::triggered, this, &Twnd_vx_Main::BuildInterfaceList);
    connect(acRemoteHosts, &QAction::triggered, this, &Twnd_vx_Main::acRemoteHostsExecute);
    connect(acApplications, &QAction::triggered, this, [this] { ShowApplications(); });
    updateOnTopAvailability();
}

// Always Visible is greyed where it cannot work, with the reason where the
// user sees it: the menus show their tooltips, and the status tip says it
// too. Asked again whenever a menu with it opens, since the window manager
// may change while Vantrix runs.
void Twnd_vx_Main::updateOnTopAvailability() {
    const QString reason = StayOnTopUnavailableReason();
    acOnTop->setEnabled(reason.isEmpty());
    acOnTop->setToolTip(reason);  // empty: the text, as for any action
    acOnTop->setStatusTip(reason);
}

// The check mark is whether the entry exists (the user may remove it by hand).
void Twnd_vx_Main::acAutostartExecute() {
    const std::string program = ProgramFileName();
    if (acAutostart->isChecked()) {
        const std::string why = TAutostart::Enable(program, TStorageQuery{}.IsPortableLocation(program));
        if (!why.empty())
            QMessageBox::warning(this, tr("Start with the desktop"),
                                 tr("Vantrix cannot be started with the desktop from where it is: %1")
                                     .arg(QString::fromStdString(why)));
    } else {
        TAutostart::Disable();
    }
    acAutostart->setChecked(TAutostart::Enabled());
}

void Twnd_vx_Main::createMenus() {
    QMenuBar* bar = menuBar();
    MainMenuFile = bar->addMenu(tr("&File"));
    MainMenuFile->addAction(acRefresh);
    MainMenuFile->addAction(acRemoteHosts);
    MainMenuFile->addSeparator();
    MainMenuFile->addAction(acPersistent);
    MainMenuFile->addAction(acAutostart);
    MainMenuFile->addSeparator();
    MainMenuFile->addAction(acExit);
    MonitorMenu = bar->addMenu(tr("&Monitor"));
    connect(MonitorMenu, &QMenu::triggered, this, &Twnd_vx_Main::cmIntfClick);

    QMenu* view = bar->addMenu(tr("&View"));
    view->setToolTipsVisible(true);
    connect(view, &QMenu::aboutToShow, this, &Twnd_vx_Main::updateOnTopAvailability);
    view->addAction(acIntfView);
    view->addAction(acOOI);
    view->addAction(acHideVirtual);
    view->addAction(acUsage);
    view->addAction(acApplications);
    view->addSeparator();
    view->addAction(acOnTop);
    view->addAction(acCaption);
    view->addSeparator();
    auto radio = [](QMenu* menu, QActionGroup* group, const char* name, const QString& caption, int tag) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(true);
        a->setData(tag);
        group->addAction(a);
        return a;
    };
    QMenu* units = view->addMenu(tr("Default U&nits"));
    auto* unitGroup = new QActionGroup(this);
    pmTransfer = radio(units, unitGroup, "pmTransfer", tr("&Transfer"), 0);
    pmSpeed = radio(units, unitGroup, "pmSpeed", tr("&Speed"), 1);
    pmTransfer->setChecked(true);
    connect(unitGroup, &QActionGroup::triggered, this, &Twnd_vx_Main::cmUnitsClick);
    QMenu* period = view->addMenu(tr("Update &Period"));
    auto* periodGroup = new QActionGroup(this);
    std::vector<QAction*> periods;
    for (const TPeriodInfo& p : kPeriods)
        periods.push_back(radio(period, periodGroup, p.ObjectName, tr(p.MenuText), static_cast<int>(p.Period)));
    pmFast = periods[static_cast<int>(TPeriod::Fast)];
    pmNormal = periods[static_cast<int>(TPeriod::Normal)];
    pmSlow = periods[static_cast<int>(TPeriod::Slow)];
    pmNormal->setChecked(true);
    connect(periodGroup, &QActionGroup::triggered, this, &Twnd_vx_Main::cmPeriod);
    TrayReadoutMenu = view->addMenu(tr("Tra&y Readout"));
    TrayReadoutMenu->setObjectName(QStringLiteral("TrayReadoutMenu"));
    connect(TrayReadoutMenu, &QMenu::aboutToShow, this, &Twnd_vx_Main::fillTrayReadoutMenu);
    fillTrayReadoutMenu();
    bar->addMenu(tr("&Help"))->addAction(acAbout);

    // The context and tray menu: every command of the main menu, so that
    // nothing is out of reach while the caption (and the menu bar) is hidden.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->setToolTipsVisible(true);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &Twnd_vx_Main::updateOnTopAvailability);
    for (QAction* a : {acIntfView, acOOI, acHideVirtual, acUsage, acApplications}) PopupMenu1->addAction(a);
    PopupMenu1->addMenu(MonitorMenu);
    PopupMenu1->addSeparator();
    for (QAction* a : {acOnTop, acCaption}) PopupMenu1->addAction(a);
    PopupMenu1->addMenu(units);
    PopupMenu1->addMenu(period);
    PopupMenu1->addMenu(TrayReadoutMenu);
    PopupMenu1->addSeparator();
    for (QAction* a : {acRefresh, acRemoteHosts, acPersistent, acAutostart}) PopupMenu1->addAction(a);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(acAbout);
    PopupMenu1->addSeparator();
    for (QAction* a : {acHide, acExit}) PopupMenu1->addAction(a);
    // Hide while the window is up, Show while it is hidden or minimised.
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { acHide->setText(windowIsAway() ? tr("&Show") : tr("&Hide")); });
    for (QMenu* menu : {MainMenuFile, PopupMenu1})
        connect(menu, &QMenu::aboutToShow, this, [this] { acAutostart->setChecked(TAutostart::Enabled()); });
    for (QWidget* w : {static_cast<QWidget*>(Tree), static_cast<QWidget*>(ScrollBox)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { PopupMenu1->popup(w->mapToGlobal(at)); });
    }
}

// The tray icon is the way back to a hidden window. Where the desktop has no
// tray, hiding would lose the window for good: it is minimised instead.
void Twnd_vx_Main::acHideExecute() {
    if (windowIsAway()) {
        TrayIconClick();
        return;
    }
    if (TrayIcon && QSystemTrayIcon::isSystemTrayAvailable())
        hide();
    else
        showMinimized();
}

bool Twnd_vx_Main::windowIsAway() const { return !isVisible() || isMinimized(); }

// The tray's tooltip: the current rates of every watched interface, as
// their panels show them.
void Twnd_vx_Main::updateTrayToolTip() {
    if (!TrayIcon) return;
    QString tip = QApplication::applicationName();
    for (auto it = FWatchers.rbegin(); it != FWatchers.rend(); ++it) {
        const Tfrm_vx_Watcher* w = *it;
        tip += tr("\n%1: Download %2, Upload %3")
                   .arg(ShownName(w->Adapter().Name), w->DownloadRateText(), w->UploadRateText());
    }
    if (TrayIcon->toolTip() != tip) TrayIcon->setToolTip(tip);
}

void Twnd_vx_Main::createTrayIcon() {
    // The picture drawn here at once. The installed theme icon (the same
    // picture, in more sizes, unless the desktop's icon theme has its own)
    // replaces it once the window is painted: looking through the icon
    // themes takes a good part of a start, and a copy run from a folder or
    // a USB stick finds none.
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(DrawInterfacePicture(kProgramIconPicture, 16)));
    icon.addPixmap(QPixmap::fromImage(DrawInterfacePicture(kProgramIconPicture, 32)));
    FPlainIcon = icon;
    setWindowIcon(icon);
    if (qApp) qApp->setWindowIcon(icon);
    // Looking for the desktop's tray (over D-Bus or XEmbed) takes a good
    // part of a start too; it happens just after the window is up. Where
    // there is none yet (a panel that starts after Vantrix, or none at all)
    // it is looked for again now and then, and the icon appears with it.
    FTrayWatch.setInterval(kTrayWatchMs);
    connect(&FTrayWatch, &QTimer::timeout, this, &Twnd_vx_Main::followTray);
    QTimer::singleShot(0, this, &Twnd_vx_Main::followTray);
    QTimer::singleShot(kDeferredStartDelayMs, this, [this] {
        const QIcon themed = QIcon::fromTheme(QStringLiteral(VX_APP_ID));
        if (themed.isNull()) return;
        setWindowIcon(themed);
        if (qApp) qApp->setWindowIcon(themed);
        FPlainIcon = themed;
        if (TrayIcon && TrayReadoutInterface().isEmpty()) TrayIcon->setIcon(themed);
    });
}

void Twnd_vx_Main::followTray() {
    if (TrayIcon || !QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!TrayIcon && !FTrayWatch.isActive()) FTrayWatch.start();
        return;
    }
    FTrayWatch.stop();
    TrayIcon = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon->setContextMenu(PopupMenu1);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) TrayIconClick();
    });
    updateTrayToolTip();
    FTrayReadout = {};  // drawn anew into the new icon
    UpdateTrayReadout();
    TrayIcon->show();
    applyTaskbarHint();  // with a tray, no taskbar button
}

}  // namespace vx
