#include "about/about_dialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <cstring>

#include "sysinfo/version_info.h"
#include "watcher/interface_pictures.h"

#ifndef VX_HOMEPAGE
#define VX_HOMEPAGE ""
#endif
#ifndef VX_CONTACT
#define VX_CONTACT ""
#endif

namespace vx {
namespace {

struct TTexts {
    const char* caption;
    const char* version;
    const char* licence;
};

const TTexts kTexts[] = {
    {"About", "Version",
     "This program is free for private, educational and non-commercial use.\n\n"
     "It is provided as it is, without any warranty: you use it at your own risk.\n\n"
     "All rights reserved."},
    {"O programu", "Verze",
     "Tento program je zdarma pro soukromé, vzdělávací a nekomerční použití.\n\n"
     "Program je poskytován tak, jak je, bez jakékoli záruky: používáte jej na vlastní nebezpečí.\n\n"
     "Všechna práva vyhrazena."},
};

QWidget* panel(QWidget* parent, const QColor& color) {
    auto* p = new QWidget(parent);
    p->setAutoFillBackground(true);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, color);
    p->setPalette(pal);
    return p;
}

QLabel* link(QWidget* parent) {
    auto* l = new QLabel(parent);
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setUnderline(true);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: grey"));
    l->setCursor(Qt::PointingHandCursor);
    return l;
}

QString withoutPrefix(QString text, const char* prefix) {
    if (text.startsWith(QLatin1String(prefix))) text.remove(0, static_cast<int>(std::strlen(prefix)));
    return text;
}

}  // namespace

QString TdlgAbout::HomePage() { return QStringLiteral(VX_HOMEPAGE); }
QString TdlgAbout::ContactAddress() { return QStringLiteral(VX_CONTACT); }

TdlgAbout::TdlgAbout(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("dlgAbout"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(600, 384);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(1, 1, 1, 1);  // the black frame
    outer->setSpacing(1);

    QWidget* header = panel(this, Qt::white);
    header->setFixedHeight(117);
    auto* top = new QHBoxLayout(header);
    Icon = new QLabel(header);
    Icon->setFixedSize(32, 32);
    Icon->setPixmap(QPixmap::fromImage(DrawInterfacePicture(7, 32)));
    auto* titles = new QVBoxLayout;
    lProduct = new QLabel(header);
    QFont productFont = lProduct->font();
    productFont.setPixelSize(19);
    productFont.setBold(true);
    lProduct->setFont(productFont);
    lVer = new QLabel(header);
    QFont bold = lVer->font();
    bold.setBold(true);
    lVer->setFont(bold);
    lCR = new QLabel(header);
    lDesc = new QLabel(header);
    lDesc->setWordWrap(true);
    lDesc->setStyleSheet(QStringLiteral("color: navy"));
    for (QLabel* l : {lProduct, lVer, lCR, lDesc}) titles->addWidget(l);
    Image1 = new QLabel(header);
    Image1->setFixedSize(120, 59);
    Image1->setPixmap(QPixmap::fromImage(DrawInterfacePicture(11, 59)));
    Image1->setAlignment(Qt::AlignCenter);
    top->addWidget(Icon, 0, Qt::AlignTop);
    top->addLayout(titles, 1);
    top->addWidget(Image1, 0, Qt::AlignTop);
    outer->addWidget(header);

    QWidget* middle = panel(this, QColor(0xDD, 0xDD, 0xDD));  // 14540253
    auto* mid = new QVBoxLayout(middle);
    mLic = new QPlainTextEdit(middle);
    mLic->setReadOnly(true);
    mLic->setFrameShape(QFrame::NoFrame);
    mLic->setPalette(middle->palette());
    mLic->setBackgroundVisible(false);
    mLic->setStyleSheet(QStringLiteral("background: transparent"));
    lWWW = link(middle);
    lWWW->setAlignment(Qt::AlignRight);
    mid->addWidget(mLic, 1);
    mid->addWidget(lWWW);
    outer->addWidget(middle, 1);

    QWidget* bottom = panel(this, QColor(0x80, 0x80, 0x80));
    bottom->setFixedHeight(44);
    auto* row = new QHBoxLayout(bottom);
    lEmail = link(bottom);
    lUpdate = new QLabel(bottom);
    lUpdate->setCursor(Qt::PointingHandCursor);
    lUpdate->hide();
    Button2 = new QPushButton(QStringLiteral("OK"), bottom);
    Button2->setDefault(true);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(lEmail);
    row->addWidget(lUpdate);
    row->addStretch(1);
    row->addWidget(Button2);
    outer->addWidget(bottom);

    for (QWidget* w : {header, static_cast<QWidget*>(lProduct), static_cast<QWidget*>(lVer),
                       static_cast<QWidget*>(lCR), static_cast<QWidget*>(lDesc), static_cast<QWidget*>(Icon),
                       static_cast<QWidget*>(Image1)})
        w->installEventFilter(this);
    lWWW->installEventFilter(this);
    lEmail->installEventFilter(this);
}

void TdlgAbout::Fill(const TVersionInfo& version, TLanguage language) {
    FLang = language;
    const TTexts& t = kTexts[language == lngCz ? 1 : 0];
    lProduct->setText(QString::fromStdString(version.ProductName));
    QString ver = QStringLiteral("%1 %2").arg(QString::fromUtf8(t.version), QString::fromStdString(version.FileVersion));
    if (version.DebugBuild) ver += QStringLiteral(" DEBUG");
    lVer->setText(ver);
    lEmail->setText(withoutPrefix(ContactAddress(), "mailto:"));
    lWWW->setText(withoutPrefix(withoutPrefix(HomePage(), "https://"), "http://"));
    lEmail->setVisible(!ContactAddress().isEmpty());
    lWWW->setVisible(!HomePage().isEmpty());
    lCR->setText(QString::fromStdString(version.Copyright));
    lDesc->setText(QString::fromStdString(version.Comments.empty() ? version.Description : version.Comments));
    setWindowTitle(QStringLiteral("%1....").arg(QString::fromUtf8(t.caption)));
    mLic->setPlainText(QString::fromUtf8(t.licence));
    mLic->moveCursor(QTextCursor::Start);
    mLic->setVerticalScrollBarPolicy(mLic->document()->blockCount() > 12 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TdlgAbout::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && windowHandle()) windowHandle()->startSystemMove();
    QDialog::mousePressEvent(event);
}

bool TdlgAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return QDialog::eventFilter(watched, event);
    if (watched == lWWW) {
        QDesktopServices::openUrl(QUrl(HomePage()));  // a failure is ignored
    } else if (watched == lEmail) {
        const QString address = ContactAddress();
        QDesktopServices::openUrl(QUrl(address.startsWith(QLatin1String("mailto:")) ? address : "mailto:" + address));
    } else if (windowHandle()) {
        windowHandle()->startSystemMove();  // the borderless dialog moves with the mouse
    }
    return true;
}

void ShowAboutDialog(const QString& /*updateTagPrefix*/, TLanguage language) {
    QWidget* owner = QApplication::activeWindow();
    TdlgAbout dialog(owner);
    dialog.Fill(ProgramVersionInfo, language);
    if (owner) dialog.move(owner->geometry().center() - dialog.rect().center());
    dialog.exec();
}

}  // namespace vx
