#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QDeadlineTimer>
#include <QTimer>

#include <cstdlib>

#include "about/about_dialog.h"
#include "about/update_check.h"
#include "page_server.h"
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

// In update mode the bottom row tells what the update page says; the
// dialog never downloads.
TEST(AboutDialogTest, UpdateModeShowsThePageVerdict) {
    setenv("no_proxy", "127.0.0.1", 1);
    test::PageServer server;
    struct Case {
        const char* page;
        const char* text;
        bool ok;
    } cases[] = {
        {"/same.htm", "You use latest version.", true},
        {"/newer.htm", "New version 3.5 available. Click here to download it.", false},
        {"/missing.htm", "Cannot get update information.", false},
    };
    server.pages["/same.htm"] = {test::meta("VXName", "Vantrix") + test::meta("VXVersion", "3.4.0.0")};
    server.pages["/newer.htm"] = {test::meta("VXName", "Vantrix") + test::meta("VXVersion", "3.5") +
                                  test::meta("VXDownload", "vx.bin") + test::meta("Version", "9")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        TdlgAbout dialog;
        dialog.Fill(version(), lngEn);
        dialog.StartUpdateMode("VX", QString::fromStdString(server.Url(c.page)), version());
        dialog.UpdateCheck->HTTPPort = server.serverPort();
        EXPECT_TRUE(dialog.lUpdate->isHidden());
        dialog.show();
        QDeadlineTimer deadline(10000);
        while (!(dialog.lUpdate->isVisible() && dialog.icoWait->isHidden()) && !deadline.hasExpired())
            QTest::qWait(10);
        EXPECT_EQ(dialog.lUpdate->text(), c.text);
        EXPECT_EQ(dialog.icoOK->isVisible(), c.ok);
        EXPECT_EQ(dialog.icoWarn->isVisible(), !c.ok);
    }
    EXPECT_EQ(server.requests.size(), 3u);  // pages only, no download
}

}  // namespace
}  // namespace vx
