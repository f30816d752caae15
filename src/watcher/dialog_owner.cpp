#include "watcher/dialog_owner.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace vx {
namespace {

bool ordinaryWindow(const QWidget* w) {
    if (!w || !w->isVisible()) return false;
    const Qt::WindowType type = w->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

}  // namespace

QWidget* DialogOwner(QWidget* preferred) {
    if (preferred) return preferred->window();
    if (QWidget* active = QApplication::activeWindow(); ordinaryWindow(active)) return active;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (ordinaryWindow(w) && w->windowType() == Qt::Window) return w;
    return nullptr;
}

void KeepAboveOwner(QDialog& dialog, QWidget* owner) {
    if (owner && (owner->windowFlags() & Qt::WindowStaysOnTopHint))
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

}  // namespace vx
