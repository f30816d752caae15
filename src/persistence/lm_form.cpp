#include "persistence/lm_form.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <exception>
#include <vector>

namespace vx {
namespace {

std::vector<TLMForm*>& liveForms() {
    static std::vector<TLMForm*> forms;
    return forms;
}

QPoint centred(const QRect& area, const QSize& size) {
    // Integer division truncates toward zero, as the placement rule asks.
    return {area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2};
}

QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files.append(url.toLocalFile());
    return files;
}

}  // namespace

TLMForm::TLMForm(QWidget* parent) : QMainWindow(parent) {
    FLM.SetOwner(this);
    if (TLMForm* main = MainForm(); main && main != this && !FLM.Storage()) {
        FLM.SetStorage(main->LayoutManager().Storage());
        SetLayoutReadOnly(main->LayoutReadOnly());
    }
    liveForms().push_back(this);
    CenterTo(nullptr);
    setAcceptDrops(FAF);

    FSettle.setSingleShot(true);
    FSettle.setInterval(kSettleMs);
    connect(&FSettle, &QTimer::timeout, this, [this] { saveQuietly(); });
    FFrameKeeper.setInterval(20);
    connect(&FFrameKeeper, &QTimer::timeout, this, [this] {
        // A maximised or minimised window is where the window manager put it.
        if (windowState() != Qt::WindowNoState) {
            FFrameKeeper.stop();
            return;
        }
        // Wait for the frame (a framed window's frame differs from its
        // client area), then correct once more in case the manager moved it.
        const bool framed = frameGeometry() != geometry() || (windowFlags() & Qt::FramelessWindowHint);
        if (framed && frameGeometry().topLeft() != FFrameTarget) move(FFrameTarget);
        if (--FFrameChecks <= 0 || (framed && frameGeometry().topLeft() == FFrameTarget && FFrameChecks < 20))
            FFrameKeeper.stop();
    });
    auto displayChanged = [this] { DisplayChanged(); };
    connect(qApp, &QGuiApplication::screenAdded, this, displayChanged);
    connect(qApp, &QGuiApplication::screenRemoved, this, displayChanged);
    if (QScreen* primary = QGuiApplication::primaryScreen())
        connect(primary, &QScreen::virtualGeometryChanged, this, displayChanged);
}

TLMForm::~TLMForm() {
    FClosing = true;
    FSettle.stop();
    auto& forms = liveForms();
    std::erase(forms, this);
    FLM.KeepSectionNames(true);
    saveQuietly();
}

// Saves from the event loop and from the destructor cannot hand a refused
// write to anyone: an exception there would end the program. The layout is
// then simply not saved, and the settings file stays as it was.
void TLMForm::saveQuietly() {
    if (!FLC) return;
    try {
        FLM.Save();
    } catch (const std::exception&) {
    }
}

TLMForm* TLMForm::MainForm() { return liveForms().empty() ? nullptr : liveForms().front(); }

void TLMForm::SetLayoutControl(bool value) {
    if (value == FLC) return;
    FLC = value;
    if (FLC)
        FLM.Add(this, {}, nullptr, FLMCO);
    else
        FLM.Delete(this);
}

void TLMForm::SetLayoutOptions(TLayoutManagerControlOptions options) {
    FLMCO = options;
    FLM.SetOptions(this, options);
}

void TLMForm::SetLayoutReadOnly(bool value) {
    FRO = value;
    FLM.SetReadOnly(value);
}

void TLMForm::SetAcceptFiles(bool value) {
    FAF = value;
    setAcceptDrops(value);
}

void TLMForm::CenterTo(const QWidget* form) {
    if (form) {
        move(form->x() + (form->width() - width()) / 2, form->y() + (form->height() - height()) / 2);
        return;
    }
    if (const QScreen* primary = QGuiApplication::primaryScreen()) move(centred(primary->availableGeometry(), size()));
}

void TLMForm::CenterToDesktop() {
    if (const QScreen* primary = QGuiApplication::primaryScreen()) move(centred(primary->virtualGeometry(), size()));
}

void TLMForm::CenterToMonitor(int index) {
    const auto screens = QGuiApplication::screens();
    if (index < 0 || index >= screens.size()) {
        CenterTo(nullptr);
        return;
    }
    move(centred(screens.at(index)->geometry(), size()));
}

int TLMForm::monitorOf(const QWidget* w) {
    const QScreen* nearest = QGuiApplication::screenAt(w->geometry().center());
    if (!nearest) nearest = w->screen();
    return static_cast<int>(QGuiApplication::screens().indexOf(const_cast<QScreen*>(nearest)));
}

void TLMForm::setVisible(bool visible) {
    const bool restore = visible && !isVisible() && FLC;
    if (restore) FLM.Restore();
    const QPoint restored = pos();
    QMainWindow::setVisible(visible);
    // Before the first show the window system does not know the frame yet
    // and may place the frame off by its border: put it where it was.
    if (restore && isVisible() && windowState() == Qt::WindowNoState) keepFrameAt(restored);
    if (visible) {
        FMonNum = monitorOf(this);
        FLastState = windowState();
    }
}

void TLMForm::keepFrameAt(QPoint at) {
    FFrameTarget = at;
    FFrameChecks = 50;  // a second at most
    if (pos() != at) move(at);
    FFrameKeeper.start();
}

void TLMForm::SetWindowFlagInPlace(Qt::WindowType flag, bool on) {
    if (bool(windowFlags() & flag) == on) return;
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(flag, on);
    QWindow* handle = windowHandle();
    if (!handle || !isVisible()) {
        setWindowFlags(flags);  // not on screen: the next show maps it with these
        WindowRecreated();
        return;
    }
    // A shown window keeps its native window: the new hints (frame, stay on
    // top) go to it while it stays mapped. Hiding it to re-create it races
    // the window manager, which may miss the map that follows an unmap and
    // leave the window withdrawn with no way back.
    const QPoint frameAt = frameGeometry().topLeft();
    const bool normal = windowState() == Qt::WindowNoState;
    overrideWindowFlags(flags);
    handle->setFlags(flags);
    if (normal) keepFrameAt(frameAt);
    WindowRecreated();
}

void TLMForm::DisplayChanged() {
    if (FLC) {
        // Re-read where the window goes on the new arrangement, but leave a
        // maximized window maximized and a normal one normal.
        struct PutBack {
            TLMForm* form;
            ~PutBack() { form->FLM.SetOptions(form, form->FLMCO); }
        } putBack{this};
        FLM.SetOptions(this, Without(FLMCO, loState));
        FLM.Restore(this);
    }
    if (OnDisplayChange) OnDisplayChange(this);
}

void TLMForm::trackMonitor() {
    if (FMonNum < 0) return;
    const int now = monitorOf(this);
    if (now != FMonNum && now >= 0) {
        const int old = FMonNum;
        FMonNum = now;
        if (OnMonitorChanged) OnMonitorChanged(this, old, now);
    }
}

void TLMForm::geometryChanged() {
    trackMonitor();
    if (FLC && isVisible() && !FLM.Restoring()) FSettle.start();
}

void TLMForm::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    geometryChanged();
}

void TLMForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    geometryChanged();
}

void TLMForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const Qt::WindowStates now = windowState();
    if ((now & Qt::WindowMinimized) && !(FLastState & Qt::WindowMinimized)) {
        if (OnMinimize) OnMinimize(this);
    } else if ((now & Qt::WindowMaximized) && !(FLastState & Qt::WindowMaximized)) {
        if (OnMaximize) OnMaximize(this);
    } else if (now == Qt::WindowNoState && FLastState != Qt::WindowNoState) {
        if (OnRestore) OnRestore(this);
    }
    FLastState = now;
}

void TLMForm::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    FClosing = event->isAccepted() && testAttribute(Qt::WA_DeleteOnClose);
}

void TLMForm::dragEnterEvent(QDragEnterEvent* event) {
    if (FAF && !localFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TLMForm::dropEvent(QDropEvent* event) {
    const QStringList files = localFiles(event->mimeData());
    if (!FAF || files.isEmpty()) return;
    event->acceptProposedAction();
    if (OnDropFiles) OnDropFiles(this, files);
}

}  // namespace vx
