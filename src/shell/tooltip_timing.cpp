#include "shell/tooltip_timing.h"
#include "shell/readable_indicator_style.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace vx {

int TToolTipTimingStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                   QStyleHintReturn* returnData) const {
    if (hint == SH_ToolTip_WakeUpDelay) return kToolTipWakeUpMs;
    if (hint == SH_ToolTip_FallAsleepDelay) return kToolTipShowMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

bool TToolTipTimingFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    // Item views show their items' tooltips themselves; only a control's own is taken here.
    if (w->toolTip().isEmpty()) return false;
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), w->toolTip(), w, QRect(), kToolTipShowMs);
    return true;
}

void InstallToolTipTiming() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    static const QString kName = QStringLiteral("vxToolTipTiming");
    if (!app || app->findChild<QObject*>(kName, Qt::FindDirectChildrenOnly)) return;
    auto* filter = new TToolTipTimingFilter(app);
    filter->setObjectName(kName);
    app->installEventFilter(filter);
    // With the indicators that stay visible on dark palettes beneath.
    if (!dynamic_cast<TToolTipTimingStyle*>(QApplication::style()))
        QApplication::setStyle(new TToolTipTimingStyle(new TReadableIndicatorStyle(QApplication::style()->name())));
}

}  // namespace vx
