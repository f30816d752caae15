#pragma once

// The interface list: one top-level row per listed interface, with a check
// box, the interface's picture and its received and sent byte totals; then
// a row per remote host with its interfaces below it. Its
// Tag holds the only-operational filter (1 on, 0 off), so that the layout
// manager stores it with the list. Rows checked by the program raise no
// check event; only the user's clicks do (RowChecked).

#include <QTreeWidget>
#include <cstdint>

namespace vx {

// What a row stands for.
struct TInterfaceNodeData {
    std::uint32_t IntfIdx = 0;
    std::uint64_t Received = 0;
    std::uint64_t Sent = 0;
    std::int32_t Index = 0;  // the adapter's position in the snapshot; -1 for a host's row
    std::int32_t Host = -1;  // the remote host's number; -1 for this machine
};

class TInterfaceTree : public QTreeWidget {
    Q_OBJECT
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
public:
    enum Column { colInterface = 0, colDownload = 1, colUpload = 2 };

    explicit TInterfaceTree(QWidget* parent = nullptr);

    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    static TInterfaceNodeData NodeData(const QTreeWidgetItem* item);
    static void SetNodeData(QTreeWidgetItem* item, const TInterfaceNodeData& data);
    // The first row of that local interface, or nullptr.
    QTreeWidgetItem* FindRow(std::uint32_t intfIdx) const;
    // Sets a row's check box without raising RowChecked.
    void SetCheckedSilently(QTreeWidgetItem* item, bool checked);

signals:
    void RowChecked(QTreeWidgetItem* item, bool checked);

protected:
    bool viewportEvent(QEvent* event) override;

private:
    int FTag = 1;
    bool FSilent = false;
};

}  // namespace vx
