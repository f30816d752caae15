#pragma once

// The main window: the interface list with its byte totals, the area that
// holds the watcher panels, the menus, the tray icon and the stored
// settings. It owns the network snapshot and the change notifier and
// rebuilds everything that depends on the snapshot in RefreshData.

#include <QActionGroup>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <chrono>
#include <map>
#include <optional>

#include "netconfig/network_change_notifier.h"
#include "netconfig/network_configuration.h"
#include "persistence/lm_form.h"
#include "remote/remote_link_source.h"
#include "shell/interface_tree.h"
#include "usage/usage_recorder.h"
#include "watcher/tray_readout.h"
#include "watcher/watcher_panel.h"

class QMenu;
class QScrollArea;
class QLabel;
class QSystemTrayIcon;

namespace vx {

class TUsageWindow;
class TApplicationsWindow;

class Twnd_vx_Main : public TLMForm {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 475;
    static constexpr int kClientHeight = 429;
    static constexpr int kTreeHeight = 115;
    static constexpr int kTrafficIntervalMs = 1000;

    // helper: the network layer; nullptr is the system's.
    explicit Twnd_vx_Main(std::shared_ptr<ILinkSource> source = nullptr, QWidget* parent = nullptr);
    ~Twnd_vx_Main() override;

    void RefreshData();

    TNetworkConfiguration& Configuration() { return *FNCC; }
    // The open watcher panels, in the order they were opened.
    const std::vector<Tfrm_vx_Watcher*>& Watchers() const { return FWatchers; }
    void AddWatcher(const TAdapter& adapter);
    void RemoveWatcher(std::uint32_t intfIdx);
    void RemoveWatcher(const TAdapter& adapter) { RemoveWatcher(adapter.IntfIdx); }
    TInterfaceTree* Tree;
    QScrollArea* ScrollBox;
    QMenu* MonitorMenu;
    QMenu* PopupMenu1;
    static const char* const kNoWatcherHint;
    QAction *acExit, *acAbout, *acOnTop, *acIntfView, *acCaption, *acHide, *acOOI, *acRefresh, *acPersistent;
    QAction* acAutostart;  // "Start with the desktop": the XDG autostart entry
    QAction* acUsage;      // "Usage...": the usage history window
    QAction* acHideVirtual;  // the list without virtual interfaces (the uplink total stays)
    QAction* acRemoteHosts;  // "Remote Hosts...": other machines' exporters, listed under their names
    QAction* acApplications;  // the Applications window: traffic per application
    QMenu* TrayReadoutMenu;  // which interface's rates the tray icon shows, or none
    QAction *pmTransfer, *pmSpeed, *pmFast, *pmNormal, *pmSlow;
    TBeatTimer Timer;  // the list's once-a-second update

    // How often the usage history is written (tests shorten it).
    static inline int UsageIntervalMs = TUsageRecorder::kIntervalMs;
    // Start-up work nobody needs at once (the usage history, the theme's
    // icon) waits this long, so that the window is up and painted first.
    static constexpr int kDeferredStartDelayMs = 500;
    // The usage history; null when no settings location is known.
    TUsageRecorder* Usage() const { return FUsage; }
    // Opens (or raises) the Usage window, on `interfaceName` when given.
    TUsageWindow* ShowUsage(const QString& interfaceName = {});
    // Opens (or raises) the Applications window.
    TApplicationsWindow* ShowApplications();

    // The list's totals are read every second by the timer.
    void UpdateTraffic();
    // Back from the tray (or from a second start): shown in the state it
    // had (maximised stays maximised), raised and focused.
    void TrayIconClick();
    // The tray icon; null while the desktop has no tray.
    QSystemTrayIcon* Tray() const { return TrayIcon; }
    // The interface whose rates the tray icon shows ("" for none), and the
    // readout as last drawn (its texts; empty while off).
    QString TrayReadoutInterface() const;
    void SetTrayReadoutInterface(const QString& name);
    const TTrayReadout& LastTrayReadout() const { return FTrayReadout; }
    // One tick of the readout (the timer runs it at the watcher period).
    void UpdateTrayReadout();

    // Remote hosts: the list as stored, each host polled at the watcher
    // period, its interfaces listed under its name and watched like local
    // ones. SetRemoteHosts replaces the list (stored at once) and polls
    // anew; SyncRemoteHosts takes the hosts' latest readings into the list
    // and opens the watchers of interfaces that became known (the list's
    // timer runs it).
    const std::vector<TRemoteHost>& RemoteHosts() const { return FRemoteHosts; }
    void SetRemoteHosts(std::vector<TRemoteHost> hosts);
    void SyncRemoteHosts();
    // A host's interfaces as last reached (empty before the first reading).
    const TNetworkConfiguration& RemoteConfiguration(std::size_t host) const { return *FRemoteViews[host].Config; }
    // The row of a host (under which its interfaces are), or nullptr.
    QTreeWidgetItem* RemoteHostRow(std::size_t host) const;
    // The host a watcher shows an interface of; nothing for a local one.
    std::optional<std::size_t> RemoteHostOf(const Tfrm_vx_Watcher* w) const;
    void AddRemoteWatcher(std::size_t host, const TAdapter& adapter);
    void RemoveRemoteWatcher(std::size_t host, const std::string& device);

protected:
    // A left press on the empty watcher area moves the window (the way to
    // move it while its title bar is hidden).
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Every time the window is mapped: no taskbar button while a tray exists.
    void showEvent(QShowEvent* event) override;
    void WindowRecreated() override;
    void applyTaskbarHint();

private:
    void createActions();
    void createMenus();
    void createTrayIcon();
    void followTray();
    void updateOnTopAvailability();
    void updateTabOrder();
    void registerLayout();
    void RegisterInterfaceValues();
    void FormAfterRestore();
    void ApplyMarks();
    void SetMark(const TAdapter& adapter, bool marked);
    void UpdateWatcherImages();
    TPeriod period() const;
    void BuildInterfaceList();
    void BuildInterfaceMenu();
    void TreeChecked(QTreeWidgetItem* item, bool checked);
    void TreeDblClick();
    void cmIntfClick(QAction* item);
    void cmUnitsClick(QAction* item);
    void cmPeriod(QAction* item);
    void acOOIExecute();
    void fillTrayReadoutMenu();
    void applyTrayReadout();  // the stored choice: timer started or stopped, icon drawn
    void setTrayIcon(const QIcon& icon);
    void acIntfViewExecute();
    void acOnTopExecute();
    void acPersistentExecute();
    void acAutostartExecute();
    void acHideExecute();
    bool windowIsAway() const;
    void updateTrayToolTip();
    void ApplyCaption(bool toggled);
    void writeRowTexts(QTreeWidgetItem* item);
    // A new panel on `source`'s interface, on top of the others.
    Tfrm_vx_Watcher* openWatcher(std::shared_ptr<ILinkSource> source, const TAdapter& adapter, const QString& objectName);
    void closeWatcher(Tfrm_vx_Watcher* w);
    // The remote hosts' part of the list, their rows' texts and states.
    void startRemoteHosts();
    void buildRemoteRows();
    void writeRemoteRow(QTreeWidgetItem* item);
    void remoteRowChecked(QTreeWidgetItem* item, bool checked);
    void storeRemoteHosts();
    void acRemoteHostsExecute();
    void saveStoredValues();
    void createUsage();
    // A message for the user where it does not block: the tray's balloon,
    // else a window of its own.
    void notify(const QString& message, bool warning);

    std::shared_ptr<ILinkSource> FLinks;  // the machine's links; the list adds the uplink total to them
    std::unique_ptr<TNetworkConfiguration> FNCC;
    bool FSnapshotFresh = false;  // FNCC was read at start and not used since
    std::unique_ptr<TNetworkChangeNotifier> FNCN;
    QSystemTrayIcon* TrayIcon = nullptr;  // only while the desktop has a tray
    QTimer FTrayWatch;                    // looks for a tray while there is none
    static constexpr int kTrayWatchMs = 3000;
    QMenu* MainMenuFile = nullptr;
    QWidget* FWatcherArea = nullptr;
    std::optional<QPoint> FDragFrom;  // where a left press in the watcher area began
    // Shown in the watcher area while no watcher is open.
    QLabel* FNoWatcherHint = nullptr;
    void updateNoWatcherHint();
    std::vector<Tfrm_vx_Watcher*> FWatchers;
    TUsageRecorder* FUsage = nullptr;
    QPointer<TUsageWindow> FUsageWindow;
    QPointer<TApplicationsWindow> FApplicationsWindow;
    TBeatTimer FTrayReadoutTimer;  // at the watcher period while the readout is on
    TTrayReadout FTrayReadout;
    struct TReadoutCounters {
        std::uint32_t index = 0;
        std::uint64_t received = 0, sent = 0;
        std::chrono::steady_clock::time_point at;
    };
    std::optional<TReadoutCounters> FReadoutLast;
    QIcon FPlainIcon;  // the program's picture, shown while the readout is off

    struct TRemoteView {
        std::shared_ptr<TRemoteLinkSource> Source;
        std::unique_ptr<TNetworkConfiguration> Config;  // as last reached
        std::uint64_t Seen = 0;       // scrapes and failures taken in
        bool Reached = false;
        bool Started = false;         // a first answer (or failure) came
        std::string Error;
        std::vector<std::string> Devices;  // as last listed
    };
    std::vector<TRemoteHost> FRemoteHosts;
    bool FRemoteLoaded = false;  // the stored list was read
    std::shared_ptr<TRemotePoller> FRemotePoller;
    std::vector<TRemoteView> FRemoteViews;
    struct TRemoteWatch {
        std::size_t Host = 0;
        std::string Device;
    };
    std::map<const Tfrm_vx_Watcher*, TRemoteWatch> FRemoteWatchers;  // what a remote watcher shows
};

}  // namespace vx
