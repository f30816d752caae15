#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "about/about_dialog.h"
#include "sysinfo/version_info.h"

namespace vx {
namespace {

TVersionInfo version() {
    TVersionInfo v;
    v.ProductName = "Vantrix";
    v.FileVersion = "3.4.0.0";
    v.Copyright = "(C) the makers";
    v.Description = "Network traffic meter";
    return v;
}

TEST(AboutDialogTest, TextsFromTheVersionData) {
    TdlgAbout dialog;
    TVersionInfo v = version();
    dialog.Fill(v, lngEn);
    EXPECT_EQ(dialog.windowTitle(), "About....");
    EXPECT_EQ(dialog.lProduct->text(), "Vantrix");
    EXPECT_EQ(dialog.lVer->text(), "Version 3.4.0.0");
    EXPECT_EQ(dialog.lCR->text(), "(C) the makers");
    EXPECT_EQ(dialog.lDesc->text(), "Network traffic meter");  // no comments: the description
    EXPECT_TRUE(dialog.mLic->toPlainText().contains("non-commercial"));
    EXPECT_TRUE(dialog.lUpdate->isHidden());

    v.DebugBuild = true;
    v.Comments = "Watches the traffic of network interfaces";
    dialog.Fill(v, lngCz);
    EXPECT_EQ(dialog.lVer->text(), "Verze 3.4.0.0 DEBUG");
    EXPECT_EQ(dialog.lDesc->text(), "Watches the traffic of network interfaces");
    EXPECT_EQ(dialog.windowTitle(), "O programu....");
}

TEST(AboutDialogTest, EnterAndEscapeClose) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        TdlgAbout dialog;
        dialog.Fill(version(), lngEn);
        QTimer::singleShot(50, &dialog, [&] { QTest::keyClick(&dialog, key); });
        dialog.exec();
        EXPECT_FALSE(dialog.isVisible());
    }
}

}  // namespace
}  // namespace vx
