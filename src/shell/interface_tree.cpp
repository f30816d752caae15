#include "shell/interface_tree.h"

#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <map>
#include <tuple>

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>

namespace vx {
namespace {

// A row's interface index and snapshot position, packed in one number on
// the first column; its byte counters on the columns that show them. Each
// value sits on the cell it concerns, and an unchanged value is not
// written, so new counters repaint only the counter cells, not the icon,
// check box and name.
constexpr int kNodeRole = Qt::UserRole + 1;
constexpr int kCounterRole = Qt::UserRole + 3;
constexpr int kHostRole = Qt::UserRole + 4;  // set on a remote host's rows only
// The check state last seen, so that text, icon and font updates of a row
// (which also report the row as changed) are not taken for a click.
constexpr int kSeenCheckRole = Qt::UserRole + 2;

}  // namespace

namespace {

// Every row is as high as the first (the rows differ only in their texts,
// which never wrap), so a row's size is measured once per font and icon
// size: the view asks for it at every change of the first row's counters,
// and measuring lays out each of its texts. The widths are not used (the
// columns have set widths).
class TRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const Key key{option.widget ? option.widget->style() : nullptr, option.fontMetrics.height(),
                      option.decorationSize.width(), option.decorationSize.height(), index.column()};
        if (const auto it = FSizes.find(key); it != FSizes.end()) return it->second;
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (FSizes.size() >= 64) FSizes.clear();
        FSizes.emplace(key, size);
        return size;
    }

    // A row is painted whole when any of its cells changed (new counters),
    // under a clip of the changed cells: a cell outside the clip would
    // draw nothing, but would still lay out its text and icon.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (painter->hasClipping() && !painter->clipBoundingRect().intersects(option.rect)) return;
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    using Key = std::tuple<const QStyle*, int, int, int, int>;  // style, font height, icon size, column
    mutable std::map<Key, QSize> FSizes;
};

}  // namespace

TInterfaceTree::TInterfaceTree(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("Tree"));
    setColumnCount(3);
    setHeaderLabels({tr("Interface"), tr("Download"), tr("Upload")});
    headerItem()->setTextAlignment(colDownload, Qt::AlignRight | Qt::AlignVCenter);
    headerItem()->setTextAlignment(colUpload, Qt::AlignRight | Qt::AlignVCenter);
    setRootIsDecorated(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setItemDelegate(new TRowDelegate(this));
    setIconSize(QSize(16, 16));
    setFrameShape(QFrame::NoFrame);
    QHeaderView* h = header();
    h->setSectionsMovable(true);
    h->setStretchLastSection(false);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setSectionResizeMode(colInterface, QHeaderView::Stretch);  // takes what the others leave
    h->resizeSection(colDownload, 100);
    h->resizeSection(colUpload, 100);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column != colInterface) return;
        const bool checked = item->checkState(colInterface) == Qt::Checked;
        const QVariant seen = item->data(colInterface, kSeenCheckRole);
        if (seen.isValid() && seen.toBool() == checked) return;
        item->setData(colInterface, kSeenCheckRole, checked);
        if (!FSilent) emit RowChecked(item, checked);
    });
}

TInterfaceNodeData TInterfaceTree::NodeData(const QTreeWidgetItem* item) {
    if (!item) return {};
    const quint64 node = item->data(colInterface, kNodeRole).toULongLong();
    const QVariant host = item->data(colInterface, kHostRole);
    return {static_cast<std::uint32_t>(node >> 32), item->data(colDownload, kCounterRole).toULongLong(),
            item->data(colUpload, kCounterRole).toULongLong(), static_cast<std::int32_t>(node & 0xFFFFFFFFu),
            host.isValid() ? host.toInt() : -1};
}

void TInterfaceTree::SetNodeData(QTreeWidgetItem* item, const TInterfaceNodeData& data) {
    // QTreeWidgetItem reports every write as a change of the cell, so only
    // new values are written.
    const auto set = [item](int column, int role, quint64 value) {
        const QVariant old = item->data(column, role);
        if (!old.isValid() || old.toULongLong() != value) item->setData(column, role, value);
    };
    set(colInterface, kNodeRole, (quint64{data.IntfIdx} << 32) | static_cast<std::uint32_t>(data.Index));
    set(colDownload, kCounterRole, data.Received);
    set(colUpload, kCounterRole, data.Sent);
    if (const QVariant host = item->data(colInterface, kHostRole);
        data.Host >= 0 && (!host.isValid() || host.toInt() != data.Host))
        item->setData(colInterface, kHostRole, data.Host);
}

QTreeWidgetItem* TInterfaceTree::FindRow(std::uint32_t intfIdx) const {
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (const TInterfaceNodeData node = NodeData(topLevelItem(i)); node.Host < 0 && node.IntfIdx == intfIdx)
            return topLevelItem(i);
    return nullptr;
}

void TInterfaceTree::SetCheckedSilently(QTreeWidgetItem* item, bool checked) {
    if (!item) return;
    const bool was = FSilent;
    FSilent = true;
    item->setCheckState(colInterface, checked ? Qt::Checked : Qt::Unchecked);
    FSilent = was;
}

// Tooltips only for texts that their column cuts off.
bool TInterfaceTree::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        if (index.isValid()) {
            // A remote host's state (why it is not reached) where the row says it.
            if (const QString tip = index.data(Qt::ToolTipRole).toString(); !tip.isEmpty()) {
                QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(index));
                return true;
            }
            const QString text = index.data(Qt::DisplayRole).toString();
            const QRect cell = visualRect(index);
            const int room = cell.width() - (index.column() == colInterface ? iconSize().width() + 8 : 8);
            if (fontMetrics().horizontalAdvance(text) > room) {
                QToolTip::showText(help->globalPos(), text, viewport(), cell);
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QTreeWidget::viewportEvent(event);
}

}  // namespace vx
