#pragma once

// The base of layout-aware windows. With LayoutControl on, the window
// registers itself with its layout manager, restores the whole layout each
// time it is shown, and saves it when the user has finished moving or
// resizing it and when it is destroyed (saves are skipped while
// LayoutReadOnly). A window created while another layout-aware window is
// the main form takes over that form's storage and LayoutReadOnly.
//
// The window system here reports no end of an interactive move or resize,
// and does not tell the user's moves from the program's: the form saves
// once its geometry has been still for kSettleMs after any move or resize
// of the shown window (outside a restore).
//
// A refused write during these automatic saves leaves the file as it was
// and the program running (nobody could be told).
//
// Events this platform cannot give, and which are therefore never fired or
// never change: OnMouseClickOutside (no global mouse capture for ordinary
// windows), DPIChanging (the toolkit rescales by itself; stays false), and
// the hiding of a hidden owner window after system commands (there is none).
// OnMinimize, OnMaximize and OnRestore fire when the window state has
// changed, not before.

#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "persistence/layout_manager.h"

namespace vx {

class TLMForm : public QMainWindow, public ILayoutAwareForm {
    Q_OBJECT
public:
    static constexpr int kSettleMs = 400;

    using TNotifyEvent = std::function<void(QObject* sender)>;
    using TDropFilesEvent = std::function<void(QObject* sender, const QStringList& files)>;
    using TMonitorChangedEvent = std::function<void(QObject* sender, int oldMonitor, int newMonitor)>;

    explicit TLMForm(QWidget* parent = nullptr);
    ~TLMForm() override;

    TLayoutManager& LayoutManager() { return FLM; }
    const TLayoutManager& LayoutManager() const { return FLM; }
    bool LayoutControl() const { return FLC; }
    void SetLayoutControl(bool value);
    TLayoutManagerControlOptions LayoutOptions() const { return FLMCO; }
    void SetLayoutOptions(TLayoutManagerControlOptions options);
    bool LayoutReadOnly() const override { return FRO; }
    void SetLayoutReadOnly(bool value) override;
    bool AcceptFiles() const { return FAF; }
    void SetAcceptFiles(bool value);
    bool Closing() const { return FClosing; }
    bool DPIChanging() const { return false; }
    int MonitorNumber() const { return FMonNum; }

    void SetOnBeforeRestore(TLayoutNotifyEvent e) { FLM.OnBeforeRestore = std::move(e); }
    void SetOnAfterRestore(TLayoutNotifyEvent e) { FLM.OnAfterRestore = std::move(e); }
    void SetOnBeforeSave(TLayoutNotifyEvent e) { FLM.OnBeforeSave = std::move(e); }
    void SetOnAfterSave(TLayoutNotifyEvent e) { FLM.OnAfterSave = std::move(e); }
    TNotifyEvent OnDisplayChange, OnMinimize, OnMaximize, OnRestore, OnMouseClickOutside;
    TDropFilesEvent OnDropFiles;
    TMonitorChangedEvent OnMonitorChanged;

    // Centres on another window, or on the primary screen's work area.
    void CenterTo(const QWidget* form);
    // Centres on the rectangle that covers all screens.
    void CenterToDesktop();
    // Centres on screen number index; out of range: as CenterTo(nullptr).
    void CenterToMonitor(int index);

    // The first layout-aware window still alive: the program's main form.
    static TLMForm* MainForm();

    void setVisible(bool visible) override;
    void SetWindowFlagInPlace(Qt::WindowType flag, bool on) override;

    // Re-reads position, size and style, but not the window state, after the
    // screen arrangement changed; then fires OnDisplayChange.
    void DisplayChanged();

protected:
    // After SetWindowFlagInPlace: the window-manager states set by hand
    // (taskbar hints) are to be set again, as new flags rewrite them.
    virtual void WindowRecreated() {}
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void geometryChanged();
    // Puts the frame's top-left corner at `at` once the window manager has
    // framed the window (its frame is unknown until then).
    void keepFrameAt(QPoint at);
    void saveQuietly();
    void trackMonitor();
    static int monitorOf(const QWidget* w);

    TLayoutManager FLM;
    bool FLC = false;
    TLayoutManagerControlOptions FLMCO = kAllLayoutOptions;
    bool FAF = false;
    bool FRO = false;
    bool FClosing = false;
    int FMonNum = -1;
    Qt::WindowStates FLastState = Qt::WindowNoState;
    QTimer FSettle;
    QPoint FFrameTarget;
    int FFrameChecks = 0;
    QTimer FFrameKeeper;
};

}  // namespace vx
