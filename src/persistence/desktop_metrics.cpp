#include "persistence/desktop_metrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vx {
namespace {

TDesktopMetrics screenMetrics() {
    return {[] {
                const QScreen* primary = QGuiApplication::primaryScreen();
                return primary ? primary->virtualGeometry().size() : QSize();
            },
            [](const QWidget* w) {
                const QScreen* screen = w ? w->screen() : QGuiApplication::primaryScreen();
                return screen ? qRound(screen->logicalDotsPerInchY()) : 0;
            }};
}

}  // namespace

TDesktopMetrics& DesktopMetrics() {
    static TDesktopMetrics metrics = screenMetrics();
    return metrics;
}

void ResetDesktopMetrics() { DesktopMetrics() = screenMetrics(); }

bool WindowsArePlaced() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace vx
