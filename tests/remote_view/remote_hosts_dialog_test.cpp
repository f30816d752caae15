#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "remote_view/remote_hosts_dialog.h"

namespace vx {
namespace {

class RemoteHostsDialogTest : public ::testing::Test {
protected:
    TRemoteHostsDialog dialog;
    void SetUp() override {
        dialog.SetHosts({{"NAS", "http://nas:9100/metrics", "", "", ""},
                         {"Router", "https://10.0.0.1:9100/metrics", "admin", "p\xC3\xA4ss", "/etc/ca.pem"}});
        dialog.show();
    }
    void typeInto(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

// Edits stay with their host when another is chosen, and OK hands out the list.
TEST_F(RemoteHostsDialogTest, EditsAreKeptPerHost) {
    EXPECT_EQ(dialog.List->count(), 2);
    EXPECT_EQ(dialog.UrlEdit->text(), QStringLiteral("http://nas:9100/metrics"));  // the first is shown
    dialog.List->setCurrentRow(1);
    EXPECT_EQ(dialog.PasswordEdit->text(), QString::fromUtf8("p\xC3\xA4ss"));
    typeInto(dialog.NameEdit, QStringLiteral("Gateway"));
    EXPECT_EQ(dialog.List->item(1)->text(), QStringLiteral("Gateway"));
    dialog.PasswordEdit->setText(QString::fromUtf8(" s\xE2\x9C\x93 "));  // typed keys are ASCII only
    dialog.List->setCurrentRow(0);
    typeInto(dialog.UrlEdit, QStringLiteral("  http://nas.lan:9100/metrics "));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const auto& hosts = dialog.Hosts();
    ASSERT_EQ(hosts.size(), 2u);
    EXPECT_EQ(hosts[0].Url, "http://nas.lan:9100/metrics");
    EXPECT_EQ(hosts[1].Name, "Gateway");
    EXPECT_EQ(hosts[1].Password, " s\xE2\x9C\x93 ");  // as typed
    EXPECT_EQ(hosts[1].CaFile, "/etc/ca.pem");
}

TEST_F(RemoteHostsDialogTest, AddAndRemove) {
    QTest::mouseClick(dialog.AddButton, Qt::LeftButton);
    EXPECT_EQ(dialog.List->count(), 3);
    EXPECT_EQ(dialog.List->currentRow(), 2);
    typeInto(dialog.NameEdit, QStringLiteral("Pi"));
    typeInto(dialog.UrlEdit, QStringLiteral("http://pi:9100/metrics"));
    dialog.List->setCurrentRow(0);
    QTest::mouseClick(dialog.RemoveButton, Qt::LeftButton);
    dialog.accept();
    const auto& hosts = dialog.Hosts();
    ASSERT_EQ(hosts.size(), 2u);
    EXPECT_EQ(hosts[0].Name, "Router");
    EXPECT_EQ(hosts[1].Name, "Pi");
    EXPECT_EQ(hosts[1].Url, "http://pi:9100/metrics");
}

// A wrong address keeps the dialog open, says which host, and shows it.
TEST_F(RemoteHostsDialogTest, AWrongAddressIsShownNotStored) {
    dialog.List->setCurrentRow(1);
    typeInto(dialog.UrlEdit, QStringLiteral("10.0.0.1:9100"));
    dialog.List->setCurrentRow(0);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.Problem->isVisible());
    EXPECT_TRUE(dialog.Problem->text().startsWith(QStringLiteral("Router: ")));
    EXPECT_EQ(dialog.List->currentRow(), 1);
}

TEST(RemoteHostsAddressTest, Addresses) {
    const struct {
        const char* url;
        bool good;
    } cases[] = {
        {"http://h:9100/metrics", true}, {"https://h/", true},   {"HTTP://h/", true},
        {"ftp://h/", false},             {"h:9100", false},      {"http://", false},
        {"", false},                     {"javascript:alert(1)", false}, {"file:///etc/passwd", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TRemoteHostsDialog::AddressProblem(QString::fromUtf8(c.url)).isEmpty(), c.good) << c.url;
}

}  // namespace
}  // namespace vx
