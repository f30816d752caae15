#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "sysinfo/format_settings.h"
#include "watcher/adapter_info_dialog.h"
#include "watcher/interface_pictures.h"

namespace vx {
namespace {

TAdapter wiredAdapter() {
    TAdapter a;
    a.Name = "eth0";
    a.Alias = "Wired";
    a.MaxSpeed = 100000000;
    a.MTU = 1500;
    a.MACAddress = "00:1A:2B:3C:4D:5E";
    a.IPAddress = std::make_shared<TStringList>(TStringList{"192.168.1.5=255.255.255.0", "10.0.0.1=255.0.0.0"});
    a.Typ = atEthernet;
    a.IfType = 6;
    a.OperStatus = aosOperational;
    a.IfOperStatus = 5;
    return a;
}

TEST(AdapterInfoDialogTest, ShowsTheRecord) {
    const TFormatSettings saved = FormatSettings;
    FormatSettings.ThousandSeparator = ",";
    Tdlg_vx_AdapterInfo dialog;
    EXPECT_EQ(dialog.windowTitle(), "Properties");
    EXPECT_EQ(dialog.eName->text(), "Failed to get data. Device is not available.");
    dialog.Fill(wiredAdapter());
    EXPECT_EQ(dialog.eName->text(), "eth0");
    EXPECT_EQ(dialog.eAlias->text(), "Wired");
    EXPECT_EQ(dialog.eMS->text(), "100 Mbps");
    EXPECT_EQ(dialog.eMTU->text(), "1,500 B");
    EXPECT_EQ(dialog.eMAC->text(), "00:1A:2B:3C:4D:5E");
    EXPECT_EQ(dialog.eIP->text(), "192.168.1.5");
    EXPECT_EQ(dialog.eMask->text(), "255.255.255.0");
    EXPECT_EQ(dialog.eType->text(), "Ethernet");
    EXPECT_EQ(dialog.eStatus->text(), "Operational");
    EXPECT_EQ(dialog.Image1->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
              InterfacePictures32()[7]);
    FormatSettings = saved;
}

TEST(AdapterInfoDialogTest, SpeedsStatusAndPicture) {
    struct Case {
        std::uint64_t speed;
        const char* text;
    };
    for (const Case c : {Case{54000000, "54 Mbps"}, Case{0, "0 Mbps"}, Case{999999, "0 Mbps"},
                         Case{10000000000ull, "10000 Mbps"}}) {
        Tdlg_vx_AdapterInfo dialog;
        TAdapter a = wiredAdapter();
        a.MaxSpeed = c.speed;
        dialog.Fill(a);
        EXPECT_EQ(dialog.eMS->text(), c.text);
    }
    Tdlg_vx_AdapterInfo dialog;
    TAdapter down = wiredAdapter();
    down.OperStatus = aosDisconnected;
    down.IfOperStatus = 2;
    down.IPAddress = std::make_shared<TStringList>(TStringList{"0.0.0.0=0.0.0.0"});
    dialog.Fill(down);
    EXPECT_EQ(dialog.eStatus->text(), "Disconnected");
    EXPECT_EQ(dialog.eIP->text(), "0.0.0.0");
    EXPECT_EQ(dialog.Image1->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
              InterfacePictures32()[0]);
    EXPECT_EQ(AdapterTypeName(atWWANPP2), "Mobile broadband for CDMA");
    EXPECT_EQ(OperationalStatusName(aosConnecting), "Connecting");
}

TEST(AdapterInfoDialogTest, EnterAndEscapeBothClose) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        Tdlg_vx_AdapterInfo dialog;
        dialog.Fill(wiredAdapter());
        QTimer::singleShot(50, &dialog, [&] { QTest::keyClick(&dialog, key); });
        EXPECT_EQ(dialog.exec(), QDialog::Accepted) << key;
    }
}

}  // namespace
}  // namespace vx
