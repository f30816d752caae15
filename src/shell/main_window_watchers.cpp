// The main window's watcher panels: opened, updated, retimed and closed in
// step with the marks of the interfaces.
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/main_window.h"
#include "watcher/display_helpers.h"

namespace vx {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

}  // namespace

TPeriod Twnd_vx_Main::period() const {
    return PeriodFromStored(LayoutManager().GetValueByName(QStringLiteral("Period")).toLongLong());
}

void Twnd_vx_Main::AddWatcher(const TAdapter& adapter) {
    Tfrm_vx_Watcher* found = nullptr;
    for (Tfrm_vx_Watcher* w : FWatchers)
        if (!FRemoteWatchers.count(w) && sameName(w->Adapter().Name, adapter.Name)) {
            found = w;
            break;
        }
    if (found) {
        found->SetAdapter(adapter);
        found->SetImageIndex(adapter.ImageIndex);
    }
    const int i = FNCC->FindAdapter(static_cast<std::int64_t>(adapter.IntfIdx));
    if (i >= 0) FNCC->SetAdapterMark(static_cast<std::uint16_t>(i), true);
    if (!found) openWatcher(FNCC->Source(), adapter, QStringLiteral("Watcher_%1").arg(adapter.IntfIdx));
    SetMark(adapter, true);
}

Tfrm_vx_Watcher* Twnd_vx_Main::openWatcher(std::shared_ptr<ILinkSource> source, const TAdapter& adapter,
                                           const QString& objectName) {
    auto* w = new Tfrm_vx_Watcher(FWatcherArea, std::move(source));
    FWatchers.push_back(w);
    w->Initialize();
    w->setFixedHeight(Tfrm_vx_Watcher::kOpenHeight);
    w->setObjectName(objectName);
    static_cast<QVBoxLayout*>(FWatcherArea->layout())->insertWidget(0, w);  // the newest on top
    w->SetImageIndex(adapter.ImageIndex);
    w->SetAdapter(adapter);
    // The graph's menu adds what concerns its own interface.
    QString shownName = ShownName(adapter.Name);
    shownName.replace(QLatin1Char('&'), QStringLiteral("&&"));  // a name's & is no access key
    auto* usage = new QAction(tr("Usa&ge of %1...").arg(shownName), w);
    connect(usage, &QAction::triggered, this, [this, w] { ShowUsage(QString::fromStdString(w->Adapter().Name)); });
    usage->setEnabled(FUsage != nullptr);
    auto* separator = new QAction(w);
    separator->setSeparator(true);
    w->SetMenus(PopupMenu1, QList<QAction*>{usage, separator} + PopupMenu1->actions());
    w->ApplyColors();
    w->SetUnits(static_cast<int>(LayoutManager().GetValueByName(QStringLiteral("Units")).toLongLong()));
    w->StartSampling(period());
    w->show();
    updateNoWatcherHint();
    updateTabOrder();
    return w;
}

void Twnd_vx_Main::closeWatcher(Tfrm_vx_Watcher* w) {
    FWatchers.erase(std::find(FWatchers.begin(), FWatchers.end(), w));
    FRemoteWatchers.erase(w);
    delete w;
    updateNoWatcherHint();
    updateTabOrder();
}

void Twnd_vx_Main::RemoveWatcher(std::uint32_t intfIdx) {
    const auto it = std::find_if(FWatchers.begin(), FWatchers.end(), [this, intfIdx](Tfrm_vx_Watcher* w) {
        return !FRemoteWatchers.count(w) && w->Adapter().IntfIdx == intfIdx;
    });
    const int i = FNCC->FindAdapter(static_cast<std::int64_t>(intfIdx));
    if (i >= 0) FNCC->SetAdapterMark(static_cast<std::uint16_t>(i), false);
    if (it == FWatchers.end()) return;
    closeWatcher(*it);
    TAdapter gone;
    gone.IntfIdx = intfIdx;
    SetMark(gone, false);
}

// Tab goes through the list, then each watcher from the top down (the
// newest is on top, so creation order would run bottom up).
void Twnd_vx_Main::updateTabOrder() {
    QWidget* previous = Tree;
    auto* stack = static_cast<QVBoxLayout*>(FWatcherArea->layout());
    for (int i = 0; i < stack->count(); ++i) {
        auto* w = qobject_cast<Tfrm_vx_Watcher*>(stack->itemAt(i)->widget());
        if (!w) continue;
        for (QWidget* next : w->FocusChain()) {
            setTabOrder(previous, next);
            previous = next;
        }
    }
}

void Twnd_vx_Main::UpdateWatcherImages() {
    for (Tfrm_vx_Watcher* w : FWatchers) {
        if (FRemoteWatchers.count(w)) continue;
        const int i = FNCC->FindAdapter(w->Adapter().Name);
        w->SetImageIndex(i >= 0 ? FNCC->AdapterImageIndex(static_cast<std::uint16_t>(i)) : 0);
    }
}

void Twnd_vx_Main::cmPeriod(QAction* item) {
    LayoutManager().SetValueByName(QStringLiteral("Period"), item->data());
    if (FTrayReadoutTimer.isActive()) FTrayReadoutTimer.StartOnBeat(PeriodMs(period()));
    for (Tfrm_vx_Watcher* w : FWatchers) w->StartSampling(period());
    if (FRemotePoller) FRemotePoller->SetPeriod(std::chrono::milliseconds(PeriodMs(period())));
}

}  // namespace vx
