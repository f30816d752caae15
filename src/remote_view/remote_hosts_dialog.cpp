#include "remote_view/remote_hosts_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace vx {
namespace {
QString shown(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string stored(const QString& text) { return text.trimmed().toStdString(); }
}  // namespace

TRemoteHostsDialog::TRemoteHostsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Remote hosts"));
    List = new QListWidget(this);
    List->setAccessibleName(tr("Remote hosts"));
    AddButton = new QPushButton(tr("&Add"), this);
    RemoveButton = new QPushButton(tr("&Remove"), this);
    NameEdit = new QLineEdit(this);
    UrlEdit = new QLineEdit(this);
    UrlEdit->setPlaceholderText(QStringLiteral("http://host:9100/metrics"));
    UserEdit = new QLineEdit(this);
    PasswordEdit = new QLineEdit(this);
    PasswordEdit->setEchoMode(QLineEdit::Password);
    CaEdit = new QLineEdit(this);
    BrowseButton = new QPushButton(tr("&Browse..."), this);
    Problem = new QLabel(this);
    Problem->setWordWrap(true);
    Problem->setVisible(false);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* form = new QFormLayout;
    form->addRow(tr("&Name:"), NameEdit);
    form->addRow(tr("A&ddress:"), UrlEdit);
    form->addRow(tr("&User name:"), UserEdit);
    form->addRow(tr("&Password:"), PasswordEdit);
    auto* ca = new QHBoxLayout;
    ca->addWidget(CaEdit);
    ca->addWidget(BrowseButton);
    form->addRow(tr("&CA file:"), ca);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(AddButton);
    listButtons->addWidget(RemoveButton);
    auto* left = new QVBoxLayout;
    left->addWidget(List);
    left->addLayout(listButtons);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(form, 2);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns);
    outer->addWidget(Problem);
    outer->addWidget(Buttons);

    connect(List, &QListWidget::currentRowChanged, this, [this](int row) {
        takeEdits();
        showHost(row);
    });
    connect(NameEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (QListWidgetItem* item = List->item(FShown)) item->setText(text.trimmed());
    });
    connect(AddButton, &QPushButton::clicked, this, &TRemoteHostsDialog::addHost);
    connect(RemoveButton, &QPushButton::clicked, this, &TRemoteHostsDialog::removeHost);
    connect(BrowseButton, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, tr("CA file"), CaEdit->text(),
                                                          tr("Certificates (*.pem *.crt);;All files (*)"));
        if (!file.isEmpty()) CaEdit->setText(file);
    });
    connect(Buttons, &QDialogButtonBox::accepted, this, &TRemoteHostsDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &TRemoteHostsDialog::reject);
    showHost(-1);
}

void TRemoteHostsDialog::SetHosts(const std::vector<TRemoteHost>& hosts) {
    FHosts = hosts;
    FShown = -1;
    List->clear();
    for (const TRemoteHost& host : FHosts) List->addItem(shown(host.Name));
    List->setCurrentRow(FHosts.empty() ? -1 : 0);
    showHost(List->currentRow());
}

QString TRemoteHostsDialog::AddressProblem(const QString& url) {
    const QUrl parsed(url.trimmed(), QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    if (!parsed.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return tr("The address must start with http:// or https://.");
    if (parsed.host().isEmpty()) return tr("The address names no host.");
    return {};
}

void TRemoteHostsDialog::showHost(int row) {
    FShowing = true;
    FShown = row >= 0 && row < static_cast<int>(FHosts.size()) ? row : -1;
    const TRemoteHost empty;
    const TRemoteHost& host = FShown >= 0 ? FHosts[static_cast<std::size_t>(FShown)] : empty;
    NameEdit->setText(shown(host.Name));
    UrlEdit->setText(shown(host.Url));
    UserEdit->setText(shown(host.UserName));
    PasswordEdit->setText(shown(host.Password));
    CaEdit->setText(shown(host.CaFile));
    for (QWidget* w : {static_cast<QWidget*>(NameEdit), static_cast<QWidget*>(UrlEdit),
                       static_cast<QWidget*>(UserEdit), static_cast<QWidget*>(PasswordEdit),
                       static_cast<QWidget*>(CaEdit), static_cast<QWidget*>(BrowseButton),
                       static_cast<QWidget*>(RemoveButton)})
        w->setEnabled(FShown >= 0);
    FShowing = false;
}

void TRemoteHostsDialog::takeEdits() {
    if (FShowing || FShown < 0 || FShown >= static_cast<int>(FHosts.size())) return;
    TRemoteHost& host = FHosts[static_cast<std::size_t>(FShown)];
    host.Name = stored(NameEdit->text());
    host.Url = stored(UrlEdit->text());
    host.UserName = stored(UserEdit->text());
    host.Password = PasswordEdit->text().toStdString();  // as typed: spaces may belong to it
    host.CaFile = stored(CaEdit->text());
}

void TRemoteHostsDialog::addHost() {
    takeEdits();
    FHosts.push_back({tr("New host").toStdString(), {}, {}, {}, {}});
    List->addItem(shown(FHosts.back().Name));
    List->setCurrentRow(List->count() - 1);
    NameEdit->setFocus();
    NameEdit->selectAll();
}

void TRemoteHostsDialog::removeHost() {
    const int row = FShown;
    if (row < 0) return;
    FShown = -1;  // the fields belong to the host that goes
    FHosts.erase(FHosts.begin() + row);
    delete List->takeItem(row);
    showHost(List->currentRow());
}

void TRemoteHostsDialog::accept() {
    takeEdits();
    for (std::size_t i = 0; i < FHosts.size(); ++i) {
        TRemoteHost& host = FHosts[i];
        if (host.Name.empty()) host.Name = host.Url;
        const QString problem = AddressProblem(shown(host.Url));
        if (problem.isEmpty()) continue;
        Problem->setText(tr("%1: %2").arg(shown(host.Name), problem));
        Problem->setVisible(true);
        List->setCurrentRow(static_cast<int>(i));
        UrlEdit->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace vx
