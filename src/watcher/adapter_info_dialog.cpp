#include "watcher/adapter_info_dialog.h"
#include "watcher/dialog_owner.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "netconfig/uplink_link_source.h"
#include "sysinfo/format_settings.h"
#include "watcher/display_helpers.h"
#include "watcher/interface_pictures.h"

namespace vx {
namespace {

QLabel* valueLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFixedWidth(225);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

QString AdapterTypeName(TAdapterType type) {
    static const char* const kNames[] = {QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Other"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Ethernet"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Token Ring"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "FDDI"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "PPP"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Loopback"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "ATM"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "IEEE 802.11 wireless"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Tunnel encapsulation"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "IEEE 1394 (Firewire) high performance serial bus"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Mobile broadband for WiMax"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Mobile broadband for GSM"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Mobile broadband for CDMA")};
    return type < std::size(kNames) ? Tdlg_vx_AdapterInfo::tr(kNames[type]) : QString();
}

QString OperationalStatusName(TAdapterOperationalStatus status) {
    static const char* const kNames[] = {QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Non Operational"), QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Unreachable"), QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Disconnected"),
                                         QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Connecting"),      QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Connected"),   QT_TRANSLATE_NOOP("vx::Tdlg_vx_AdapterInfo", "Operational")};
    return status < std::size(kNames) ? Tdlg_vx_AdapterInfo::tr(kNames[status]) : QString();
}

Tdlg_vx_AdapterInfo::Tdlg_vx_AdapterInfo(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("dlg_vx_AdapterInfo"));
    setWindowTitle(tr("Properties"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    auto* pages = new QTabWidget(this);
    auto* general = new QWidget(pages);
    pages->addTab(general, tr("General"));
    outer->addWidget(pages, 1);

    auto* page = new QVBoxLayout(general);
    auto* top = new QHBoxLayout;
    Image1 = new QLabel(general);
    Image1->setFixedSize(32, 32);
    Image1->setAlignment(Qt::AlignCenter);
    eName = new QLineEdit(general);
    eName->setReadOnly(true);
    eName->setAccessibleName(tr("Interface name"));
    top->addWidget(Image1);
    top->addWidget(eName, 1);
    page->addLayout(top);

    auto* group = new QGroupBox(tr(" Device properties "), general);
    auto* grid = new QGridLayout(group);
    const QString captions[] = {tr("Alias:"), tr("Max speed:"), tr("MTU size:"), tr("MAC address:"),
                               tr("IP Address:"), tr("Subnet mask:"), tr("Type:"), tr("Status:"), tr("Class:")};
    QLabel** values[] = {&eAlias, &eMS, &eMTU, &eMAC, &eIP, &eMask, &eType, &eStatus, &eClass};
    for (int row = 0; row < 9; ++row) {
        auto* caption = new QLabel(captions[row], group);
        grid->addWidget(caption, row, 0);
        *values[row] = valueLabel(group);
        // Read as "Alias: ...", not as the group's title when empty.
        (*values[row])->setAccessibleName(caption->text().chopped(1));
        caption->setBuddy(*values[row]);
        grid->addWidget(*values[row], row, 1);
    }
    page->addWidget(group);
    page->addStretch(1);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setFixedSize(73, 25);
    ok->setCursor(Qt::PointingHandCursor);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    outer->addWidget(ok, 0, Qt::AlignRight);

    pages->setCurrentIndex(0);
    Image1->setPixmap(QPixmap::fromImage(DrawInterfacePicture(0, 32, devicePixelRatioF())));
    eName->setText(tr("Failed to get data. Device is not available."));
    resize(362, 364);
    // A fixed size (the designed one, or larger where the texts need it).
    setFixedSize(size().expandedTo(sizeHint()));
}

void Tdlg_vx_AdapterInfo::Fill(const TAdapter& adapter) {
    eName->setText(ShownName(adapter.Name));
    eAlias->setText(QString::fromStdString(adapter.Alias));
    eMS->setText(tr("%1 Mbps").arg(adapter.MaxSpeed / 1000000u));
    eMTU->setText(QString::fromStdString(FormatThousands(adapter.MTU)) + QStringLiteral(" B"));
    eType->setText(AdapterTypeName(adapter.Typ));
    eStatus->setText(OperationalStatusName(adapter.OperStatus));
    eClass->setText(adapter.IntfIdx == kUplinkIndex ? tr("The sum of the physical interfaces")
                                                    : QCoreApplication::translate("vx::LinkKind", LinkKindName(adapter.Kind)));
    eMAC->setText(QString::fromStdString(adapter.MACAddress));
    const std::string first = adapter.IPAddress && !adapter.IPAddress->empty() ? adapter.IPAddress->front() : "";
    const auto eq = first.find('=');
    eIP->setText(QString::fromStdString(first.substr(0, eq)));
    eMask->setText(eq == std::string::npos ? QString() : QString::fromStdString(first.substr(eq + 1)));
    const int image = GetInterfaceImageIndex(adapter.IfType, adapter.IfOperStatus);
    Image1->setPixmap(QPixmap::fromImage(DrawInterfacePicture(image, 32, devicePixelRatioF())));
}

void ShowAdapterInfo(const TAdapter& adapter, QWidget* owner) {
    owner = DialogOwner(owner);
    Tdlg_vx_AdapterInfo dialog(owner);
    KeepAboveOwner(dialog, owner);
    dialog.Fill(adapter);
    if (owner) dialog.move(owner->geometry().center() - dialog.rect().center());
    dialog.exec();
}

}  // namespace vx
