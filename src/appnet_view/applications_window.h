#pragma once

// The Applications window: which application uses the network. Once a
// second it asks the per-application counter for this user's rows and
// shows, per application, its name and icon (from its desktop entry), its
// download and upload rates and its totals since the counter started,
// sortable by any column; an application's row opens onto its processes'
// command names. The user's own services and sessions, the system's
// services, other users and the rest of the system follow as rows of their
// own. Without the counter, the window says why in one sentence and what
// to do.

#include <QDialog>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <optional>

#include "appnet/appnet_client.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace vx {

class TApplicationsWindow : public QDialog {
    Q_OBJECT
public:
    enum Column { colName, colDownload, colUpload, colReceived, colSent, colCount };
    using TAsk = std::function<TAppNetReply()>;

    // ask: the counter's answer (the installed service's when empty).
    explicit TApplicationsWindow(QWidget* parent = nullptr, TAsk ask = {});

    // Asks and shows now (what the timer does).
    void Refresh();
    // What the window says instead of the list; "" while it shows the list.
    QString Problem() const;
    // The row of an application id or unit (kind and id), or nullptr.
    QTreeWidgetItem* RowOf(TRowKind kind, const std::string& id) const;

    QTreeWidget* List;
    QLabel* Message;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showAnswer(const TAppNetAnswer& answer);
    void showProblem(const TAppNetReply& reply);
    QTreeWidgetItem* rowFor(const TTrafficRow& row);

    TAsk FAsk;
    QTimer FTimer;
    std::string FInstance;
    std::chrono::steady_clock::time_point FLastAt{};
    std::map<std::pair<TRowKind, std::string>, TTrafficTotals> FLast;
    std::map<std::pair<TRowKind, std::string>, QTreeWidgetItem*> FRows;
    std::vector<std::string> FDataDirs;
    std::string FCgroupRoot;
};

}  // namespace vx
