#include "shell/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWindow>
#include <QScrollArea>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "about/about_dialog.h"
#include "netconfig/kernel_link_source.h"
#include "netconfig/uplink_link_source.h"
#include "remote/remote_host_settings.h"
#include "shell/desktop_session.h"
#include "shell/startup.h"
#include "shell/taskbar_hint.h"
#include "shell/tooltip_timing.h"
#include "watcher/adapter_info_dialog.h"
#include "watcher/display_helpers.h"
#include "watcher/interface_pictures.h"

namespace vx {

Twnd_vx_Main::Twnd_vx_Main(std::shared_ptr<ILinkSource> source, QWidget* parent)
    : TLMForm(parent), FLinks(source ? std::move(source) : std::make_shared<TKernelLinkSource>()) {
    // Before the child widgets exist: a style change makes every existing
    // widget polish itself again.
    InstallToolTipTiming();
    setObjectName(QStringLiteral("wnd_vx_Main"));
    setWindowTitle(QStringLiteral("Vantrix"));
    resize(kClientWidth, kClientHeight);

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Tree = new TInterfaceTree(client);
    Tree->setAccessibleName(tr("Interfaces"));
    Tree->setFixedHeight(kTreeHeight);
    Tree->hide();
    ScrollBox = new QScrollArea(client);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setFrameShape(QFrame::NoFrame);
    ScrollBox->setWidgetResizable(true);
    // No focus stop of its own: an invisible one between the list and the
    // watchers. Focused watcher controls are scrolled into view.
    ScrollBox->setFocusPolicy(Qt::NoFocus);
    FWatcherArea = new QWidget(ScrollBox);
    auto* stack = new QVBoxLayout(FWatcherArea);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addStretch(1);  // watchers stack at the top
    ScrollBox->setWidget(FWatcherArea);
    FWatcherArea->installEventFilter(this);
    FNoWatcherHint = new QLabel(tr(kNoWatcherHint), FWatcherArea);
    FNoWatcherHint->setObjectName(QStringLiteral("NoWatcherHint"));
    FNoWatcherHint->setAlignment(Qt::AlignCenter);
    FNoWatcherHint->setWordWrap(true);
    FNoWatcherHint->setAttribute(Qt::WA_TransparentForMouseEvents);  // the area still moves the window
    ScrollBox->viewport()->installEventFilter(this);
    layout->addWidget(Tree);
    layout->addWidget(ScrollBox, 1);
    setCentralWidget(client);

    createActions();
    createMenus();
    SetLayoutControl(true);
    SetLayoutReadOnly(true);

    // FormCreate
    CenterTo(nullptr);
    createTrayIcon();
    createUsage();
    // The uplink total ("All physical") is one more interface to the list,
    // its menu and the watchers.
    FNCC = std::make_unique<TNetworkConfiguration>(
        std::make_shared<TUplinkLinkSource>(FLinks));
    FNCN = std::make_unique<TNetworkChangeNotifier>();
    FNCN->OnChange = [this](QObject*, std::uint32_t) {
        FSnapshotFresh = false;
        RefreshData();
    };
    // Read once here, for the stored values of the interfaces; the first
    // list is built from the same reading when the window is restored.
    FNCC->RefreshData();
    FSnapshotFresh = true;
    if (LayoutStorage) LayoutManager().SetStorage(LayoutStorage);
    registerLayout();
    SetOnAfterRestore([this](TLayoutManager*) { FormAfterRestore(); });

    connect(Tree, &TInterfaceTree::RowChecked, this, &Twnd_vx_Main::TreeChecked);
    connect(Tree, &QTreeWidget::itemDoubleClicked, this, [this] { TreeDblClick(); });
    connect(&Timer, &QTimer::timeout, this, &Twnd_vx_Main::SyncRemoteHosts);
    connect(&Timer, &QTimer::timeout, this, &Twnd_vx_Main::UpdateTraffic);
    connect(&Timer, &QTimer::timeout, this, &Twnd_vx_Main::updateTrayToolTip);
    connect(&FTrayReadoutTimer, &QTimer::timeout, this, &Twnd_vx_Main::UpdateTrayReadout);
    Timer.StartOnBeat(kTrafficIntervalMs);
}

Twnd_vx_Main::~Twnd_vx_Main() {
    Timer.stop();
    if (FUsage) {
        FUsage->disconnect(this);  // nothing to tell a closing window
        FUsage->Flush();           // the traffic since the last write
    }
    FNCN.reset();  // no notification after this point
    for (Tfrm_vx_Watcher* w : FWatchers) w->StopSampling();
}

void Twnd_vx_Main::registerLayout() {
    TLayoutManager& lm = LayoutManager();
    lm.Add(Tree, {QStringLiteral("Visible"), QStringLiteral("Tag")});
    lm.Add(acPersistent, {QStringLiteral("Checked")});
    lm.Add(acCaption, {QStringLiteral("Checked")});
    lm.Add(acHideVirtual, {QStringLiteral("Checked")});
    lm.StoredValues().AddItem(QStringLiteral("Units"), 0);
    lm.StoredValues().AddItem(QStringLiteral("Period"), 1);
    lm.StoredValues().AddItem(QStringLiteral("TrayReadout"), QString());
    RegisterInterfaceValues();
}

void Twnd_vx_Main::RegisterInterfaceValues() {
    for (std::uint16_t i = 0; i < FNCC->AdapterCount(); ++i)
        LayoutManager().StoredValues().AddItem(QString::fromStdString(FNCC->Adapter(i).Name), false);
}

void Twnd_vx_Main::FormAfterRestore() {
    SetLayoutReadOnly(!acPersistent->isChecked());
    acIntfView->setChecked(!Tree->isHidden());
    acOnTop->setChecked(windowFlags() & Qt::WindowStaysOnTopHint);
    acOOI->setChecked(Tree->Tag() == 1);
    ApplyCaption(false);
    const QVariant units = LayoutManager().GetValueByName(QStringLiteral("Units"));
    const QVariant period = LayoutManager().GetValueByName(QStringLiteral("Period"));
    pmTransfer->setChecked(units.toLongLong() == 0);
    pmSpeed->setChecked(units.toLongLong() == 1);
    const TPeriod chosen = PeriodFromStored(period.toLongLong());
    pmFast->setChecked(chosen == TPeriod::Fast);
    pmNormal->setChecked(chosen == TPeriod::Normal);
    pmSlow->setChecked(chosen == TPeriod::Slow);
    if (!std::exchange(FRemoteLoaded, true)) {
        if (const ILayoutManagerStorageRef& storage = LayoutManager().Storage())
            FRemoteHosts = ReadRemoteHosts(*storage, *LayoutManager().StoredValues().Cipherer());
        startRemoteHosts();
    }
    RefreshData();
    applyTrayReadout();
}

void Twnd_vx_Main::RefreshData() {
    if (!std::exchange(FSnapshotFresh, false)) FNCC->RefreshData();
    ApplyMarks();
    BuildInterfaceList();
    BuildInterfaceMenu();
}

void Twnd_vx_Main::ApplyMarks() {
    TLayoutManagerValues& values = LayoutManager().StoredValues();
    for (int i = 0; i < values.Count(); ++i) {
        const TLayoutManagerValue* v = values.GetItem(i);
        const int a = FNCC->FindAdapter(v->Name().toStdString());
        if (a >= 0) FNCC->SetAdapterMark(static_cast<std::uint16_t>(a), v->Value().toLongLong() != 0);
    }
    for (std::uint16_t i = 0; i < FNCC->AdapterCount(); ++i) {
        FNCC->SetAdapterImageIndex(i, GetInterfaceImageIndex(FNCC->Adapter(i).IfType, FNCC->Adapter(i).IfOperStatus));
        const TAdapter a = FNCC->Adapter(i);
        if (a.Marked)
            AddWatcher(a);
        else
            RemoveWatcher(a);
    }
    UpdateWatcherImages();
}

// Marks an interface as watched or not, and keeps its list row and
// "Monitor" item in step, without raising their events.
void Twnd_vx_Main::SetMark(const TAdapter& adapter, bool marked) {
    const int i = FNCC->FindAdapter(static_cast<std::int64_t>(adapter.IntfIdx));
    if (i >= 0) FNCC->SetAdapterMark(static_cast<std::uint16_t>(i), marked);
    for (QAction* item : MonitorMenu->actions()) {
        if (item->data().toLongLong() >= 0 && item->data().toLongLong() == adapter.IntfIdx) {
            item->setChecked(marked);
            break;
        }
    }
    Tree->SetCheckedSilently(Tree->FindRow(adapter.IntfIdx), marked);
}

void Twnd_vx_Main::BuildInterfaceList() {
    const QTreeWidgetItem* focused = Tree->currentItem();
    const bool hadFocus = focused != nullptr;
    const std::uint32_t focusedIdx = TInterfaceTree::NodeData(focused).IntfIdx;
    const bool focusedLocal = TInterfaceTree::NodeData(focused).Host < 0;
    Tree->setUpdatesEnabled(false);
    Tree->clear();
    for (std::uint16_t i = 0; i < FNCC->AdapterCount(); ++i) {
        const TAdapter a = FNCC->Adapter(i);
        if (Tree->Tag() != 0 && a.IfOperStatus < 4) continue;
        if (acHideVirtual->isChecked() && !IsPhysical(a.Kind) && a.IntfIdx != kUplinkIndex) continue;
        auto* item = new QTreeWidgetItem;
        TInterfaceTree::SetNodeData(item, {a.IntfIdx, 0, 0, i});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setTextAlignment(TInterfaceTree::colDownload, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(TInterfaceTree::colUpload, Qt::AlignRight | Qt::AlignVCenter);
        Tree->addTopLevelItem(item);
        Tree->SetCheckedSilently(item, a.Marked);
        writeRowTexts(item);
    }
    buildRemoteRows();
    if (hadFocus && focusedLocal) {
        if (QTreeWidgetItem* row = Tree->FindRow(focusedIdx)) {
            Tree->setCurrentItem(row);
            Tree->scrollToItem(row);
        }
    }
    Tree->setUpdatesEnabled(true);
}

void Twnd_vx_Main::writeRowTexts(QTreeWidgetItem* item) {
    const TInterfaceNodeData node = TInterfaceTree::NodeData(item);
    const auto index = static_cast<std::uint16_t>(node.Index);
    if (node.Host >= 0 || index >= FNCC->AdapterCount()) return;
    const TAdapter a = FNCC->Adapter(index);
    // Only what changed is written: each write makes the view lay out and
    // repaint the row again.
    auto setText = [item](int column, const std::string& text) {
        const QString value = QString::fromStdString(text);
        if (item->text(column) != value) item->setText(column, value);
    };
    if (const QString name = ShownName(a.Name); item->text(TInterfaceTree::colInterface) != name)
        item->setText(TInterfaceTree::colInterface, name);
    setText(TInterfaceTree::colDownload, FormatSize(static_cast<double>(node.Received)));
    setText(TInterfaceTree::colUpload, FormatSize(static_cast<double>(node.Sent)));
    const auto image = static_cast<std::size_t>(FNCC->AdapterImageIndex(index));
    constexpr int kImageRole = Qt::UserRole + 16;
    const QVariant shown = item->data(TInterfaceTree::colInterface, kImageRole);
    if (!shown.isValid() || shown.toULongLong() != image) {
        item->setIcon(TInterfaceTree::colInterface, InterfaceIcon16(image));
        item->setData(TInterfaceTree::colInterface, kImageRole, QVariant::fromValue<qulonglong>(image));
    }
    const bool bold = node.IntfIdx == FNCC->BestInterfaceIdx();  // the way to the internet
    if (item->font(0).bold() != bold)
        for (int c = 0; c < Tree->columnCount(); ++c) {
            QFont f = Tree->font();
            f.setBold(bold);
            item->setFont(c, f);
        }
}

void Twnd_vx_Main::BuildInterfaceMenu() {
    MonitorMenu->clear();
    for (std::uint16_t i = 0; i < FNCC->AdapterCount(); ++i) {
        const TAdapter a = FNCC->Adapter(i);
        QAction* item = MonitorMenu->addAction(ShownName(a.Name));
        item->setCheckable(true);
        item->setChecked(a.Marked);
        item->setData(QVariant::fromValue<qlonglong>(a.IntfIdx));
    }
}

void Twnd_vx_Main::UpdateTraffic() {
    // Nobody sees the list while it (or the window) is hidden; it is brought
    // up to date when it shows again.
    if (Tree->isHidden() || !isVisible()) return;
    // Every row's counters from one reading of the kernel's counters.
    FNCC->ReadTraffic();
    for (int i = 0; i < Tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = Tree->topLevelItem(i);
        TInterfaceNodeData node = TInterfaceTree::NodeData(item);
        if (node.Host >= 0) {
            // A remote host's interfaces, from its latest reading.
            TNetworkConfiguration& config = *FRemoteViews[static_cast<std::size_t>(node.Host)].Config;
            config.ReadTraffic();
            for (int c = 0; c < item->childCount(); ++c) {
                QTreeWidgetItem* row = item->child(c);
                TInterfaceNodeData child = TInterfaceTree::NodeData(row);
                config.TrafficOf(child.IntfIdx, child.Received, child.Sent);
                TInterfaceTree::SetNodeData(row, child);
                writeRemoteRow(row);
            }
            continue;
        }
        FNCC->TrafficOf(node.IntfIdx, node.Received, node.Sent);
        TInterfaceTree::SetNodeData(item, node);
        writeRowTexts(item);
    }
}

// Written at once when the user checks an interface. A settings file that
// cannot be written must not end the program from inside a click handler:
// the choice then lives in memory for this run.
void Twnd_vx_Main::saveStoredValues() {
    try {
        LayoutManager().StoredValues().Save();
    } catch (const std::exception&) {
    }
}

void Twnd_vx_Main::TreeChecked(QTreeWidgetItem* item, bool checked) {
    if (TInterfaceTree::NodeData(item).Host >= 0) {
        remoteRowChecked(item, checked);
        return;
    }
    const auto index = static_cast<std::uint16_t>(TInterfaceTree::NodeData(item).Index);
    if (index >= FNCC->AdapterCount()) return;
    FNCC->SetAdapterMark(index, checked);
    const TAdapter a = FNCC->Adapter(index);
    LayoutManager().SetValueByName(QString::fromStdString(a.Name), checked);
    saveStoredValues();
    if (checked)
        AddWatcher(a);
    else
        RemoveWatcher(a);
}

void Twnd_vx_Main::cmIntfClick(QAction* item) {
    const qlonglong tag = item->data().toLongLong();
    if (tag < 0) return;
    const int i = FNCC->FindAdapter(static_cast<std::int64_t>(tag));
    if (i < 0) return;
    const TAdapter a = FNCC->Adapter(static_cast<std::uint16_t>(i));
    if (item->isChecked())
        AddWatcher(a);
    else
        RemoveWatcher(a);
    LayoutManager().SetValueByName(QString::fromStdString(a.Name), FNCC->AdapterMark(static_cast<std::uint16_t>(i)));
    saveStoredValues();
}

void Twnd_vx_Main::cmUnitsClick(QAction* item) { LayoutManager().SetValueByName(QStringLiteral("Units"), item->data()); }

void Twnd_vx_Main::TreeDblClick() {
    QTreeWidgetItem* row = Tree->currentItem();
    if (!row) return;
    const TInterfaceNodeData node = TInterfaceTree::NodeData(row);
    if (node.Host >= 0) {
        const TNetworkConfiguration& config = *FRemoteViews[static_cast<std::size_t>(node.Host)].Config;
        if (node.Index >= 0 && node.Index < config.AdapterCount())
            ShowAdapterInfo(config.Adapter(static_cast<std::uint16_t>(node.Index)), this);
        return;
    }
    const auto index = static_cast<std::uint16_t>(node.Index);
    if (index < FNCC->AdapterCount()) ShowAdapterInfo(FNCC->Adapter(index), this);
}

void Twnd_vx_Main::acOOIExecute() {
    Tree->SetTag(acOOI->isChecked() ? 1 : 0);
    RefreshData();
}

void Twnd_vx_Main::acIntfViewExecute() {
    const bool show = Tree->isHidden();
    Tree->setVisible(show);
    resize(width(), height() + (show ? Tree->height() : -Tree->height()));
    if (show) {
        UpdateTraffic();
        Tree->setFocus(Qt::ShortcutFocusReason);  // the keyboard goes on in the list
    }
}

void Twnd_vx_Main::acOnTopExecute() {
    SetWindowFlagInPlace(Qt::WindowStaysOnTopHint, !(windowFlags() & Qt::WindowStaysOnTopHint));
    acOnTop->setChecked(windowFlags() & Qt::WindowStaysOnTopHint);
}

void Twnd_vx_Main::acPersistentExecute() { SetLayoutReadOnly(!acPersistent->isChecked()); }

// Without its caption the window has neither title bar nor menu bar; every
// command stays in the context menu.
void Twnd_vx_Main::ApplyCaption(bool toggled) {
    const bool hasCaption = !(windowFlags() & Qt::FramelessWindowHint);
    const int menuHeight = menuBar()->sizeHint().height();
    if (acCaption->isChecked()) {
        if (hasCaption && menuBar()->isVisible()) return;
        menuBar()->show();
        SetWindowFlagInPlace(Qt::FramelessWindowHint, false);
        if (toggled) resize(width(), height() + menuHeight);
        return;
    }
    SetWindowFlagInPlace(Qt::FramelessWindowHint, true);
    menuBar()->hide();
    if (toggled) resize(width(), height() - menuHeight);
}

const char* const Twnd_vx_Main::kNoWatcherHint = QT_TRANSLATE_NOOP(
    "vx::Twnd_vx_Main", "No interface is being watched. Press Ctrl+I to show the interfaces, then check one to watch it.");

void Twnd_vx_Main::updateNoWatcherHint() { FNoWatcherHint->setVisible(FWatchers.empty()); }

bool Twnd_vx_Main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FWatcherArea && event->type() == QEvent::Resize)
        FNoWatcherHint->setGeometry(FWatcherArea->rect().adjusted(24, 0, -24, 0));
    // Dragging the watcher area moves the window. The move starts only once
    // the mouse has gone past the drag distance: a window manager takes the
    // pointer for the move, and clicks and double clicks (the session
    // totals, the graph) would never reach their controls.
    if (watched == FWatcherArea || watched == ScrollBox->viewport()) {
        const auto* mouse = dynamic_cast<QMouseEvent*>(event);
        switch (mouse ? event->type() : QEvent::None) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (mouse->button() == Qt::LeftButton) FDragFrom = mouse->globalPosition().toPoint();
            break;
        case QEvent::MouseMove:
            if (FDragFrom && (mouse->buttons() & Qt::LeftButton) &&
                (mouse->globalPosition().toPoint() - *FDragFrom).manhattanLength() >= QApplication::startDragDistance()) {
                FDragFrom.reset();
                if (QWindow* handle = windowHandle()) handle->startSystemMove();
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            FDragFrom.reset();
            break;
        default:
            break;
        }
    }
    return TLMForm::eventFilter(watched, event);
}

void Twnd_vx_Main::showEvent(QShowEvent* event) {
    TLMForm::showEvent(event);
    // The window manager takes state changes of mapped windows only, and
    // mapping follows the show: asked a moment later.
    applyTaskbarHint();
}

void Twnd_vx_Main::WindowRecreated() { applyTaskbarHint(); }

void Twnd_vx_Main::applyTaskbarHint() {
    QTimer::singleShot(100, this, [this] {
        if (isVisible()) SetSkipTaskbar(this, TrayIcon && QSystemTrayIcon::isSystemTrayAvailable());
    });
}

void Twnd_vx_Main::TrayIconClick() {
    if (!PlatformCanUnminimize() && isVisible() && !isActiveWindow()) {
        // The compositor neither says whether it minimised the window nor
        // takes a request to undo it: shown anew, the window comes up as a
        // new one, in front.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        hide();
    }
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

}  // namespace vx
