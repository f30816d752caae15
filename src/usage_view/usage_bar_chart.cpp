#include "usage_view/usage_bar_chart.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "watcher/display_helpers.h"

namespace vx {

namespace {

QString sizeText(std::uint64_t bytes) { return QString::fromStdString(FormatSize(static_cast<double>(bytes))); }

const QColor kField(Qt::black);
const QColor kGrid(0x46, 0x46, 0x46);

}  // namespace

TUsageBarChart::TUsageBarChart(const QString& title, QWidget* parent) : QWidget(parent), FTitle(title) {
    setMouseTracking(true);
    setAccessibleName(title);  // the painted title, for screen readers
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TUsageBarChart::SetBars(std::vector<TUsageBar> bars) {
    FBars = std::move(bars);
    // What the bars show, in words: the bars with traffic and their totals.
    QStringList parts;
    for (const TUsageBar& bar : FBars)
        if (bar.Bytes.Total() > 0)
            parts << QStringLiteral("%1: %2").arg(bar.Caption, sizeText(bar.Bytes.Total()));
    setAccessibleDescription(parts.isEmpty() ? tr("No traffic.") : parts.join(QStringLiteral("; ")));
    update();
}

void TUsageBarChart::SetColors(const QColor& download, const QColor& upload) {
    FDownload = download;
    FUpload = upload;
    update();
}

std::uint64_t TUsageBarChart::scaleMax() const {
    std::uint64_t most = 0;
    for (const TUsageBar& b : FBars) most = std::max({most, b.Bytes.Received, b.Bytes.Sent});
    return std::max<std::uint64_t>(most, 1024);
}

QRect TUsageBarChart::field() const {
    const QFontMetrics fm = fontMetrics();
    const int left = fm.horizontalAdvance(QStringLiteral("1023.99 MB")) + 8;
    const int top = fm.height() + 6;
    const int bottom = fm.height() + 4;
    return QRect(left, top, std::max(10, width() - left - 6), std::max(10, height() - top - bottom));
}

int TUsageBarChart::BarAt(const QPoint& at) const {
    const QRect f = field();
    if (FBars.empty() || !f.contains(at)) return -1;
    const int i = static_cast<int>((at.x() - f.left()) * static_cast<qint64>(FBars.size()) / f.width());
    return std::clamp(i, 0, static_cast<int>(FBars.size()) - 1);
}

void TUsageBarChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm = fontMetrics();
    const QRect f = field();
    const QColor text = palette().color(QPalette::WindowText);

    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(text);
    p.drawText(QRect(f.left(), 0, f.width(), f.top() - 2), Qt::AlignLeft | Qt::AlignVCenter, FTitle);
    p.setFont(font());

    p.fillRect(f, kField);
    const std::uint64_t top = scaleMax();
    // Grid at the top, the middle and the base, labelled with sizes.
    for (int k = 0; k <= 2; ++k) {
        const int y = f.bottom() - (f.height() - 1) * k / 2;
        p.setPen(kGrid);
        p.drawLine(f.left(), y, f.right(), y);
        p.setPen(text);
        p.drawText(QRect(0, y - fm.height() / 2, f.left() - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   sizeText(top * static_cast<std::uint64_t>(k) / 2));
    }
    if (FBars.empty()) {
        p.setPen(kGrid.lighter(250));
        p.drawText(f, Qt::AlignCenter, tr("No traffic recorded yet"));
        return;
    }
    const int n = static_cast<int>(FBars.size());
    const double slot = static_cast<double>(f.width()) / n;
    auto barHeight = [&](std::uint64_t v) {
        return static_cast<int>(static_cast<double>(v) / static_cast<double>(top) * (f.height() - 1) + 0.5);
    };
    // Every label where they fit, else every second, third...
    int labelWidth = 0;
    for (const TUsageBar& b : FBars) labelWidth = std::max(labelWidth, fm.horizontalAdvance(b.Label));
    const int every = std::max(1, static_cast<int>((labelWidth + 6) / std::max(1.0, slot)) + 1);
    for (int i = 0; i < n; ++i) {
        const int x0 = f.left() + static_cast<int>(i * slot), x1 = f.left() + static_cast<int>((i + 1) * slot);
        const int inner = std::max(2, x1 - x0 - 2);
        const int half = std::max(1, inner / 2);
        const int hd = barHeight(FBars[static_cast<std::size_t>(i)].Bytes.Received);
        const int hu = barHeight(FBars[static_cast<std::size_t>(i)].Bytes.Sent);
        p.fillRect(QRect(x0 + 1, f.bottom() - hd + 1, half, hd), FDownload);
        p.fillRect(QRect(x0 + 1 + half, f.bottom() - hu + 1, inner - half, hu), FUpload);
        if ((n - 1 - i) % every == 0) {  // the newest always labelled
            p.setPen(text);
            p.drawText(QRect(x0 - 20, f.bottom() + 2, x1 - x0 + 40, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                       FBars[static_cast<std::size_t>(i)].Label);
        }
    }
}

bool TUsageBarChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int i = BarAt(help->pos());
        if (i < 0) {
            QToolTip::hideText();
        } else {
            const TUsageBar& b = FBars[static_cast<std::size_t>(i)];
            QToolTip::showText(help->globalPos(), tr("%1\nDownload: %2\nUpload: %3")
                                                      .arg(b.Caption, sizeText(b.Bytes.Received), sizeText(b.Bytes.Sent)),
                               this);
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace vx
