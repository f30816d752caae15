#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "watcher/ask_yes_no.h"

namespace vx {
namespace {

// Answers the question box once it is up, and records what it looked like.
struct Answerer {
    explicit Answerer(QMessageBox::StandardButton a) : answer(a) {}
    QMessageBox::StandardButton answer;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    void arm() {
        QTimer::singleShot(50, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            icon = box->icon();
            box->button(answer)->click();
        });
    }
};

TEST(AskYesNoTest, YesIsTrueAndNoIsFalse) {
    Answerer yes(QMessageBox::Yes);
    yes.arm();
    EXPECT_TRUE(AskYesNo("Reset the session total?"));
    EXPECT_EQ(yes.title, "Confirmation");
    EXPECT_EQ(yes.icon, QMessageBox::Question);

    Answerer no(QMessageBox::No);
    no.arm();
    EXPECT_FALSE(AskYesNo("Reset the session total?", "Vantrix"));
    EXPECT_EQ(no.title, "Vantrix");
}

}  // namespace
}  // namespace vx
