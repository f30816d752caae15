// The main window's remote hosts: each host's exporter polled at the
// watcher period, its interfaces listed under the host's name, watched with
// the same panels as local ones, and the list of hosts edited and stored.
#include <QApplication>
#include <QPalette>
#include <algorithm>

#include "remote/remote_host_settings.h"
#include "remote_view/remote_hosts_dialog.h"
#include "shell/main_window.h"
#include "watcher/display_helpers.h"
#include "watcher/interface_pictures.h"

namespace vx {

namespace {

// What a host's latest reading says, copied out under the poller's lock.
struct THostSnapshot {
    std::uint64_t Seen = 0;
    bool Reached = false;
    std::string Error;
    std::vector<std::string> Devices;
};

// How a watcher names a remote interface: the host, then the device. A
// colon never appears in a Linux interface name, so no local name is the same.
std::string remoteName(const TRemoteHost& host, const std::string& device) { return host.Name + ": " + device; }

}  // namespace

void Twnd_vx_Main::SetRemoteHosts(std::vector<TRemoteHost> hosts) {
    if (hosts.size() > kMaxRemoteHosts) hosts.resize(kMaxRemoteHosts);
    FRemoteHosts = std::move(hosts);
    storeRemoteHosts();
    startRemoteHosts();
    BuildInterfaceList();
}

// Written at once, like the marks of local interfaces. A file that cannot
// be written is said: the hosts then live in memory for this run.
void Twnd_vx_Main::storeRemoteHosts() {
    const ILayoutManagerStorageRef& storage = LayoutManager().Storage();
    if (!storage) return;
    try {
        WriteRemoteHosts(*storage, *LayoutManager().StoredValues().Cipherer(), FRemoteHosts);
    } catch (const std::exception& e) {
        notify(tr("The remote hosts could not be stored: %1").arg(QString::fromLocal8Bit(e.what())), true);
    }
}

void Twnd_vx_Main::startRemoteHosts() {
    // The panels read through the old poller: they go first.
    for (const auto& [w, watch] : std::map(FRemoteWatchers)) closeWatcher(const_cast<Tfrm_vx_Watcher*>(w));
    if (FUsage) {
        FUsage->Flush();  // the old hosts' traffic up to now; their successors start anew
        FUsage->CounterSource().SetRemoteLinks({});
    }
    FRemoteViews.clear();
    FRemotePoller.reset();  // aborts transfers under way and ends its threads
    if (FRemoteHosts.empty()) return;
    FRemotePoller = std::make_shared<TRemotePoller>(FRemoteHosts, std::chrono::milliseconds(PeriodMs(period())));
    for (std::size_t h = 0; h < FRemoteHosts.size(); ++h) {
        TRemoteView view;
        view.Source = std::make_shared<TRemoteLinkSource>(FRemotePoller, h);
        view.Config = std::make_unique<TNetworkConfiguration>(view.Source);
        FRemoteViews.push_back(std::move(view));
    }
    // The usage history records the hosts' interfaces too.
    if (FUsage) {
        std::vector<TUsageCounterSource::TRemoteLinks> links;
        for (std::size_t h = 0; h < FRemoteHosts.size(); ++h)
            links.push_back({FRemoteHosts[h].Name, FRemoteViews[h].Source});
        FUsage->CounterSource().SetRemoteLinks(std::move(links));
    }
}

void Twnd_vx_Main::SyncRemoteHosts() {
    bool relist = false;
    // A host is asked every period only while its figures are on screen:
    // in the list, or in one of its watchers.
    const bool listShown = isVisible() && !isMinimized() && !Tree->isHidden();
    for (std::size_t h = 0; h < FRemoteViews.size(); ++h) {
        TRemoteView& view = FRemoteViews[h];
        const bool watched = std::any_of(FRemoteWatchers.begin(), FRemoteWatchers.end(),
                                         [h](const auto& w) { return w.second.Host == h; });
        FRemotePoller->SetActive(h, listShown || watched);
        const THostSnapshot now = FRemotePoller->WithState(h, [](const TRemoteState& state) {
            THostSnapshot s{state.Scrapes + state.Failures, state.Reached, state.Error, {}};
            if (state.Reached)
                for (const TRemoteInterface& i : state.Reading.Interfaces) s.Devices.push_back(i.Device);
            return s;
        });
        if (now.Seen == view.Seen) continue;
        view.Seen = now.Seen;
        const bool changed = !view.Started || now.Reached != view.Reached || now.Error != view.Error;
        view.Started = true;
        view.Reached = now.Reached;
        view.Error = now.Error;
        // The interfaces are read again only when the host lists others;
        // a host not reached keeps those it had, greyed.
        if (now.Reached && now.Devices != view.Devices) {
            view.Devices = now.Devices;
            view.Config->RefreshData();
            for (std::uint16_t i = 0; i < view.Config->AdapterCount(); ++i) {
                const TAdapter a = view.Config->Adapter(i);
                view.Config->SetAdapterImageIndex(i, GetInterfaceImageIndex(a.IfType, a.IfOperStatus));
            }
            relist = true;
            for (const std::string& device : FRemoteHosts[h].Watched) {
                const int i = view.Config->FindAdapter(device);
                if (i >= 0) AddRemoteWatcher(h, view.Config->Adapter(static_cast<std::uint16_t>(i)));
            }
        }
        if (changed && !relist)
            if (QTreeWidgetItem* row = RemoteHostRow(h)) {
                writeRemoteRow(row);
                for (int c = 0; c < row->childCount(); ++c) writeRemoteRow(row->child(c));
            }
    }
    if (relist) BuildInterfaceList();
}

QTreeWidgetItem* Twnd_vx_Main::RemoteHostRow(std::size_t host) const {
    for (int i = Tree->topLevelItemCount() - 1; i >= 0; --i) {
        const TInterfaceNodeData node = TInterfaceTree::NodeData(Tree->topLevelItem(i));
        if (node.Host < 0) break;  // the local rows come first
        if (static_cast<std::size_t>(node.Host) == host) return Tree->topLevelItem(i);
    }
    return nullptr;
}

std::optional<std::size_t> Twnd_vx_Main::RemoteHostOf(const Tfrm_vx_Watcher* w) const {
    const auto found = FRemoteWatchers.find(w);
    if (found == FRemoteWatchers.end()) return std::nullopt;
    return found->second.Host;
}

void Twnd_vx_Main::AddRemoteWatcher(std::size_t host, const TAdapter& adapter) {
    if (host >= FRemoteViews.size()) return;
    const TRemoteHost& h = FRemoteHosts[host];
    TAdapter shown = adapter;
    shown.Name = remoteName(h, adapter.Name);
    shown.Alias = h.Url;  // the caption's tooltip: where the figures come from
    for (auto& [w, watch] : FRemoteWatchers)
        if (watch.Host == host && watch.Device == adapter.Name) {
            auto* panel = const_cast<Tfrm_vx_Watcher*>(w);
            panel->SetAdapter(shown);  // the device may have a new index after the host came back
            panel->SetImageIndex(adapter.ImageIndex);
            return;
        }
    Tfrm_vx_Watcher* w = openWatcher(FRemoteViews[host].Source, shown,
                                     QStringLiteral("RemoteWatcher_%1_%2").arg(host).arg(QString::fromStdString(adapter.Name)));
    FRemoteWatchers[w] = {host, adapter.Name};
}

void Twnd_vx_Main::RemoveRemoteWatcher(std::size_t host, const std::string& device) {
    for (auto& [w, watch] : FRemoteWatchers)
        if (watch.Host == host && watch.Device == device) {
            closeWatcher(const_cast<Tfrm_vx_Watcher*>(w));
            return;
        }
}

void Twnd_vx_Main::buildRemoteRows() {
    for (std::size_t h = 0; h < FRemoteViews.size(); ++h) {
        const TNetworkConfiguration& config = *FRemoteViews[h].Config;
        const std::vector<std::string>& watched = FRemoteHosts[h].Watched;
        auto* hostRow = new QTreeWidgetItem;
        TInterfaceTree::SetNodeData(hostRow, {0, 0, 0, -1, static_cast<std::int32_t>(h)});
        hostRow->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        Tree->addTopLevelItem(hostRow);
        for (std::uint16_t i = 0; i < config.AdapterCount(); ++i) {
            const TAdapter a = config.Adapter(i);
            if (Tree->Tag() != 0 && a.IfOperStatus < 4) continue;
            auto* row = new QTreeWidgetItem;
            TInterfaceTree::SetNodeData(row, {a.IntfIdx, 0, 0, i, static_cast<std::int32_t>(h)});
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setTextAlignment(TInterfaceTree::colDownload, Qt::AlignRight | Qt::AlignVCenter);
            row->setTextAlignment(TInterfaceTree::colUpload, Qt::AlignRight | Qt::AlignVCenter);
            hostRow->addChild(row);
            Tree->SetCheckedSilently(row, std::find(watched.begin(), watched.end(), a.Name) != watched.end());
        }
        hostRow->setExpanded(true);
        writeRemoteRow(hostRow);
        for (int c = 0; c < hostRow->childCount(); ++c) writeRemoteRow(hostRow->child(c));
    }
}

// A host's row says its state; an interface's row its counters while the
// host answers. Not reached, the rows are greyed, the counters are a dash
// (never zero) and the tooltip says why.
void Twnd_vx_Main::writeRemoteRow(QTreeWidgetItem* item) {
    const TInterfaceNodeData node = TInterfaceTree::NodeData(item);
    if (node.Host < 0 || static_cast<std::size_t>(node.Host) >= FRemoteViews.size()) return;
    const TRemoteView& view = FRemoteViews[static_cast<std::size_t>(node.Host)];
    const auto setText = [item](int column, const QString& text) {
        if (item->text(column) != text) item->setText(column, text);
    };
    const QString dash = QStringLiteral("\u2013");
    if (node.Index < 0) {
        setText(TInterfaceTree::colInterface, QString::fromStdString(FRemoteHosts[static_cast<std::size_t>(node.Host)].Name));
        setText(TInterfaceTree::colDownload, view.Reached ? QString() : view.Started ? tr("unreachable") : tr("connecting"));
        if (item->icon(TInterfaceTree::colInterface).isNull())
            item->setIcon(TInterfaceTree::colInterface, InterfaceIcon16(static_cast<std::size_t>(kProgramIconPicture)));
    } else {
        const auto index = static_cast<std::uint16_t>(node.Index);
        if (index >= view.Config->AdapterCount()) return;
        const TAdapter a = view.Config->Adapter(index);
        setText(TInterfaceTree::colInterface, QString::fromStdString(a.Name));
        setText(TInterfaceTree::colDownload,
                view.Reached ? QString::fromStdString(FormatSize(static_cast<double>(node.Received))) : dash);
        setText(TInterfaceTree::colUpload,
                view.Reached ? QString::fromStdString(FormatSize(static_cast<double>(node.Sent))) : dash);
        if (item->icon(TInterfaceTree::colInterface).isNull())
            item->setIcon(TInterfaceTree::colInterface,
                          InterfaceIcon16(static_cast<std::size_t>(view.Config->AdapterImageIndex(index))));
    }
    const QString tip = view.Reached || !view.Started ? QString()
                                                       : tr("Not reached: %1").arg(QString::fromStdString(view.Error));
    const QBrush ink = view.Reached ? QBrush() : Tree->palette().brush(QPalette::Disabled, QPalette::Text);
    for (int c = 0; c < Tree->columnCount(); ++c) {
        if (item->toolTip(c) != tip) item->setToolTip(c, tip);
        if (item->foreground(c) != ink) item->setForeground(c, ink);
    }
}

void Twnd_vx_Main::remoteRowChecked(QTreeWidgetItem* item, bool checked) {
    const TInterfaceNodeData node = TInterfaceTree::NodeData(item);
    const auto host = static_cast<std::size_t>(node.Host);
    if (node.Index < 0 || host >= FRemoteViews.size()) return;
    const TNetworkConfiguration& config = *FRemoteViews[host].Config;
    if (static_cast<std::uint16_t>(node.Index) >= config.AdapterCount()) return;
    const TAdapter a = config.Adapter(static_cast<std::uint16_t>(node.Index));
    std::vector<std::string>& watched = FRemoteHosts[host].Watched;
    watched.erase(std::remove(watched.begin(), watched.end(), a.Name), watched.end());
    if (checked) {
        watched.push_back(a.Name);
        AddRemoteWatcher(host, a);
    } else {
        RemoveRemoteWatcher(host, a.Name);
    }
    storeRemoteHosts();
}

void Twnd_vx_Main::acRemoteHostsExecute() {
    TRemoteHostsDialog dialog(this);
    dialog.SetHosts(FRemoteHosts);
    if (dialog.exec() == QDialog::Accepted) SetRemoteHosts(dialog.Hosts());
}

}  // namespace vx
