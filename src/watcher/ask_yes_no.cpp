#include "watcher/ask_yes_no.h"
#include "watcher/dialog_owner.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

namespace vx {

bool AskYesNo(const QString& text, const QString& caption) {
    QWidget* owner = DialogOwner();
    QMessageBox box(QMessageBox::Question, caption.isEmpty() ? QCoreApplication::translate("vx::AskYesNo", "Confirmation") : caption, text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    KeepAboveOwner(box, owner);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace vx
