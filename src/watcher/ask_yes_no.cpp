#include "watcher/ask_yes_no.h"

#include <QApplication>
#include <QMessageBox>

namespace vx {

bool AskYesNo(const QString& text, const QString& caption) {
    QWidget* owner = QApplication::activeWindow();
    if (!owner) {
        const auto tops = QApplication::topLevelWidgets();
        for (QWidget* w : tops)
            if (w->isVisible()) {
                owner = w;
                break;
            }
    }
    QMessageBox box(QMessageBox::Question, caption.isEmpty() ? QStringLiteral("Confirmation") : caption, text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace vx
