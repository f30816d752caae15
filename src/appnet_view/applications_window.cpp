#include "appnet_view/applications_window.h"

#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <fstream>
#include <sstream>

#include "appnet/cgroup_owner.h"
#include "watcher/display_helpers.h"

namespace vx {
namespace {

constexpr int kSortRole = Qt::UserRole + 1;

// Sorts by the number behind a cell, where there is one.
class TNumberedItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant a = data(column, kSortRole), b = other.data(column, kSortRole);
        if (a.isValid() && b.isValid()) return a.toDouble() < b.toDouble();
        return text(column).localeAwareCompare(other.text(column)) < 0;
    }
};

std::string cgroupRoot() {
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    return CgroupV2Root(text.str()).value_or("");
}

}  // namespace

TApplicationsWindow::TApplicationsWindow(QWidget* parent, TAsk ask)
    : QDialog(parent), FAsk(ask ? std::move(ask) : TAsk([] { return AskAppNet(); })),
      FDataDirs(DesktopDataDirs()), FCgroupRoot(cgroupRoot()) {
    setObjectName(QStringLiteral("ApplicationsWindow"));
    setWindowTitle(tr("Applications"));
    resize(620, 400);
    auto* layout = new QVBoxLayout(this);
    Message = new QLabel(this);
    Message->setWordWrap(true);
    Message->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Message->hide();
    List = new QTreeWidget(this);
    List->setAccessibleName(tr("Applications"));
    List->setColumnCount(colCount);
    List->setHeaderLabels({tr("Application"), tr("Download"), tr("Upload"), tr("Received"), tr("Sent")});
    for (int c = colDownload; c < colCount; ++c) List->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    List->header()->setSectionResizeMode(colName, QHeaderView::Stretch);
    List->header()->setStretchLastSection(false);
    List->setSortingEnabled(true);
    List->sortByColumn(colDownload, Qt::DescendingOrder);
    List->setUniformRowHeights(true);
    layout->addWidget(Message);
    layout->addWidget(List, 1);
    FTimer.setInterval(1000);
    connect(&FTimer, &QTimer::timeout, this, &TApplicationsWindow::Refresh);
}

void TApplicationsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Refresh();
    FTimer.start();
}

void TApplicationsWindow::hideEvent(QHideEvent* event) {
    FTimer.stop();  // nobody looks: nobody asks
    QDialog::hideEvent(event);
}

QString TApplicationsWindow::Problem() const { return Message->isVisible() || List->isHidden() ? Message->text() : QString(); }

void TApplicationsWindow::Refresh() {
    const TAppNetReply reply = FAsk();
    if (reply.Answer)
        showAnswer(*reply.Answer);
    else
        showProblem(reply);
}

void TApplicationsWindow::showProblem(const TAppNetReply& reply) {
    QString text;
    switch (reply.Problem) {
        case TAppNetProblem::NotInstalled:
            text = tr("Traffic per application needs Vantrix's counter service, which is not installed here: "
                      "install Vantrix from its package, which sets it up.");
            break;
        case TAppNetProblem::NotRunning:
            text = tr("The counter service does not answer: start it with "
                      "\"systemctl start vantrix-appnet.socket\" (as root).");
            break;
        default:
            text = tr("The counter service could not count here (it needs cgroup v2 and BPF): "
                      "\"journalctl -u vantrix-appnet\" says why.");
            break;
    }
    Message->setText(text);
    Message->show();
    List->hide();
    FLast.clear();
    FInstance.clear();
}

QTreeWidgetItem* TApplicationsWindow::RowOf(TRowKind kind, const std::string& id) const {
    const auto found = FRows.find({kind, id});
    return found == FRows.end() ? nullptr : found->second;
}

QTreeWidgetItem* TApplicationsWindow::rowFor(const TTrafficRow& row) {
    const std::pair<TRowKind, std::string> key{row.Kind, row.Id};
    if (const auto found = FRows.find(key); found != FRows.end()) return found->second;
    auto* item = new TNumberedItem;
    QString name = QString::fromStdString(row.Id);
    switch (row.Kind) {
        case TRowKind::Application: {
            const TDesktopEntry entry = DesktopEntryOf(row.Id, FDataDirs);
            if (!entry.Name.empty()) name = QString::fromStdString(entry.Name);
            if (!entry.Icon.empty()) {
                const QString icon = QString::fromStdString(entry.Icon);
                item->setIcon(colName, icon.startsWith(QLatin1Char('/')) ? QIcon(icon) : QIcon::fromTheme(icon));
            }
            item->setToolTip(colName, QString::fromStdString(row.Id));
            break;
        }
        case TRowKind::UserService: name = tr("%1 (your service)").arg(name); break;
        case TRowKind::Session: name = tr("%1 (your log-in session)").arg(name); break;
        case TRowKind::SystemService: name = tr("%1 (system service)").arg(name); break;
        case TRowKind::OtherUsers: name = tr("Other users"); break;
        case TRowKind::System: name = tr("The system (outside any service)"); break;
    }
    item->setText(colName, name);
    for (int c = colDownload; c < colCount; ++c) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    List->addTopLevelItem(item);
    FRows[key] = item;
    return item;
}

void TApplicationsWindow::showAnswer(const TAppNetAnswer& answer) {
    Message->hide();
    List->show();
    const auto now = std::chrono::steady_clock::now();
    // A counter started anew counts from zero: no rate across the restart.
    const bool sameCounter = answer.Instance == FInstance;
    const double seconds = std::chrono::duration<double>(now - FLastAt).count();
    FInstance = answer.Instance;
    FLastAt = now;
    std::map<std::pair<TRowKind, std::string>, TTrafficTotals> current;
    List->setSortingEnabled(false);  // rows move once, after all are written
    for (const TTrafficRow& row : answer.Rows) {
        QTreeWidgetItem* item = rowFor(row);
        const auto key = std::make_pair(row.Kind, row.Id);
        current[key] = row.Totals;
        double down = 0, up = 0;
        if (const auto last = FLast.find(key); sameCounter && last != FLast.end() && seconds > 0) {
            if (row.Totals.ReceivedBytes >= last->second.ReceivedBytes)
                down = static_cast<double>(row.Totals.ReceivedBytes - last->second.ReceivedBytes) / seconds;
            if (row.Totals.SentBytes >= last->second.SentBytes)
                up = static_cast<double>(row.Totals.SentBytes - last->second.SentBytes) / seconds;
        }
        const auto set = [item](int column, const std::string& text, double value) {
            const QString shown = QString::fromStdString(text);
            if (item->text(column) != shown) item->setText(column, shown);
            item->setData(column, kSortRole, value);
        };
        set(colDownload, FormatSize(down), down);  // per second, as the watchers show rates
        set(colUpload, FormatSize(up), up);
        set(colReceived, FormatSize(static_cast<double>(row.Totals.ReceivedBytes)), static_cast<double>(row.Totals.ReceivedBytes));
        set(colSent, FormatSize(static_cast<double>(row.Totals.SentBytes)), static_cast<double>(row.Totals.SentBytes));
        // The processes behind the application, where this user may see them.
        QStringList processes;
        for (const std::string& name : ProcessNamesOf(FCgroupRoot, row.Cgroups)) processes << QString::fromStdString(name);
        while (item->childCount() > processes.size()) delete item->takeChild(item->childCount() - 1);
        for (int i = 0; i < processes.size(); ++i) {
            if (i >= item->childCount()) item->addChild(new TNumberedItem);
            if (item->child(i)->text(colName) != processes[i]) item->child(i)->setText(colName, processes[i]);
        }
    }
    // Rows the counter no longer lists (a new counter) go.
    for (auto it = FRows.begin(); it != FRows.end();) {
        if (current.contains(it->first)) {
            ++it;
            continue;
        }
        delete it->second;
        it = FRows.erase(it);
    }
    FLast = std::move(current);
    List->setSortingEnabled(true);
}

}  // namespace vx
