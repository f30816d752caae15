#include "about/about_dialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <cstring>

#include "about/update_check.h"
#include "about/update_pictures.h"
#include "about/update_url.h"
#include "sysinfo/version_info.h"
#include "watcher/dialog_owner.h"
#include "watcher/interface_pictures.h"

#ifndef VX_HOMEPAGE
#define VX_HOMEPAGE ""
#endif
#ifndef VX_CONTACT
#define VX_CONTACT ""
#endif
#ifndef VX_UPDATE_PAGE
#define VX_UPDATE_PAGE ""
#endif

namespace vx {
namespace {

struct TTexts {
    const char* caption;
    const char* version;
    const char* licence;
    const char* cannotGet;
    const char* latest;
    const char* newVersion;  // %1: the new version
};

const TTexts kTexts[] = {
    // The English texts are the sources of the user's language's translation.
    {QT_TRANSLATE_NOOP("vx::TdlgAbout", "About"), QT_TRANSLATE_NOOP("vx::TdlgAbout", "Version"),
     QT_TRANSLATE_NOOP("vx::TdlgAbout",
                       "This program is free for private, educational and non-commercial use.\n\n"
                       "It is provided as it is, without any warranty: you use it at your own risk.\n\n"
                       "All rights reserved."),
     QT_TRANSLATE_NOOP("vx::TdlgAbout", "Cannot get update information."),
     QT_TRANSLATE_NOOP("vx::TdlgAbout", "You use latest version."),
     QT_TRANSLATE_NOOP("vx::TdlgAbout", "New version %1 available. Click here to download it.")},
    {"O programu", "Verze",
     "Tento program je zdarma pro soukromé, vzdělávací a nekomerční použití.\n\n"
     "Program je poskytován tak, jak je, bez jakékoli záruky: používáte jej na vlastní nebezpečí.\n\n"
     "Všechna práva vyhrazena.",
     "Nelze získat informace o verzi", "Máte poslední verzi.",
     "Nová verze %1 je k dispozici. Pokud ji chcete stáhnout, klikněte zde."},
};

// A panel of a designed colour. Its texts are black whatever the desktop's
// palette: light text of a dark theme would vanish on the light panels.
QWidget* panel(QWidget* parent, const QColor& color) {
    auto* p = new QWidget(parent);
    p->setAutoFillBackground(true);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, color);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::WindowText, Qt::black);
        pal.setColor(group, QPalette::Text, Qt::black);
    }
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

// A text of the table: the English one in the user's language, the Czech one as it stands.
QString text(TLanguage language, const char* TTexts::*entry) {
    const char* source = kTexts[language == lngCz ? 1 : 0].*entry;
    return language == lngCz ? QString::fromUtf8(source) : TdlgAbout::tr(source);
}

QString withoutPrefix(QString text, const char* prefix) {
    if (text.startsWith(QLatin1String(prefix))) text.remove(0, static_cast<int>(std::strlen(prefix)));
    return text;
}

}  // namespace

QString TdlgAbout::HomePage() { return QStringLiteral(VX_HOMEPAGE); }
QString TdlgAbout::ContactAddress() { return QStringLiteral(VX_CONTACT); }
QString TdlgAbout::UpdatePage() { return QStringLiteral(VX_UPDATE_PAGE); }

TdlgAbout::TdlgAbout(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("dlgAbout"));
    // A window manager's frame: on a dark desktop the light panels would
    // otherwise float without an edge, and the title bar moves the dialog
    // where dragging a surface does not (Wayland, some window managers).
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
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
    lUpdate = new QLabel(tr("Checking for update..."), bottom);
    lUpdate->setCursor(Qt::PointingHandCursor);
    lUpdate->hide();
    icoWait = new QLabel(bottom);
    icoWait->setPixmap(QPixmap::fromImage(DrawWaitPicture(0)));
    icoOK = new QLabel(bottom);
    icoOK->setPixmap(QPixmap::fromImage(DrawOkPicture()));
    icoWarn = new QLabel(bottom);
    icoWarn->setPixmap(QPixmap::fromImage(DrawWarnPicture()));
    for (QLabel* l : {icoWait, icoOK, icoWarn}) {
        l->setFixedSize(16, 16);
        l->hide();
        row->addWidget(l);
    }
    FWaitAnimation = new QTimer(this);
    FWaitAnimation->setInterval(100);
    connect(FWaitAnimation, &QTimer::timeout, this, [this] {
        FWaitFrame = (FWaitFrame + 1) % kWaitFrames;
        icoWait->setPixmap(QPixmap::fromImage(DrawWaitPicture(FWaitFrame)));
    });
    Button2 = new QPushButton(tr("OK"), bottom);
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
    lUpdate->installEventFilter(this);
}

void TdlgAbout::StartUpdateMode(const QString& tagPrefix, const QString& pageUrl, const TVersionInfo& version) {
    UpdateCheck = new TUpdateCheck(this);
    UpdateCheck->Options = uoOverwrite;
    UpdateCheck->HTTPPort = 80;
    UpdateCheck->ProductInfo.SetURL(pageUrl.toStdString());
    UpdateCheck->ProductInfo.Version = version.FileVersion;
    UpdateCheck->TagInfo = TTagInfo{}.Prefixed(tagPrefix.toStdString());
    UpdateCheck->OnDownloadError = [this](TUpdateCheck&) { ShowUpdateState(icoWarn, text(FLang, &TTexts::cannotGet)); };
    UpdateCheck->OnNoUpdateFound = [this](TUpdateCheck&) { ShowUpdateState(icoOK, text(FLang, &TTexts::latest)); };
    UpdateCheck->OnUpdateAvailable = [this](TUpdateCheck&, const std::string&, const std::string& offered,
                                            bool& mayUpdate) {
        mayUpdate = false;  // the dialog only tells; the user downloads from the web page
        ShowUpdateState(icoWarn, text(FLang, &TTexts::newVersion).arg(QString::fromStdString(offered)));
    };
}

void TdlgAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The check starts once the dialog is on screen, from the event loop.
    if (UpdateCheck) QMetaObject::invokeMethod(this, &TdlgAbout::RunUpdateCheck, Qt::QueuedConnection);
}

void TdlgAbout::RunUpdateCheck() {
    if (!UpdateCheck || UpdateCheck->Active() || !isVisible()) return;
    lUpdate->show();
    icoWait->show();
    FWaitAnimation->start();
    UpdateCheck->CheckForAnUpdate();
}

void TdlgAbout::ShowUpdateState(QLabel* picture, const QString& text) {
    FWaitAnimation->stop();
    icoWait->hide();
    for (QLabel* l : {icoOK, icoWarn}) l->setVisible(l == picture);
    lUpdate->setText(text);
}

void TdlgAbout::done(int result) {
    if (UpdateCheck) UpdateCheck->Abort();
    QDialog::done(result);
}

void TdlgAbout::Fill(const TVersionInfo& version, TLanguage language) {
    FLang = language;
    lProduct->setText(QString::fromStdString(version.ProductName));
    QString ver = QStringLiteral("%1 %2").arg(text(language, &TTexts::version), QString::fromStdString(version.FileVersion));
    if (version.DebugBuild) ver += QStringLiteral(" DEBUG");
    lVer->setText(ver);
    lEmail->setText(withoutPrefix(ContactAddress(), "mailto:"));
    lWWW->setText(withoutPrefix(withoutPrefix(HomePage(), "https://"), "http://"));
    lEmail->setVisible(!ContactAddress().isEmpty());
    lWWW->setVisible(!HomePage().isEmpty());
    lCR->setText(QString::fromStdString(version.Copyright));
    lDesc->setText(QString::fromStdString(version.Comments.empty() ? version.Description : version.Comments));
    setWindowTitle(QStringLiteral("%1....").arg(text(language, &TTexts::caption)));
    mLic->setPlainText(text(language, &TTexts::licence));
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
    } else if (watched == lUpdate) {
        // The page names what to open; only a web address on the home
        // page's own host is followed.
        if (UpdateCheck) {
            const std::string link = HomePage().toStdString() + UpdateCheck->Values().Page;
            if (IsLinkOnHomeHost(link, HomePage().toStdString())) QDesktopServices::openUrl(QUrl(QString::fromStdString(link)));
        }
    } else if (watched == lEmail) {
        const QString address = ContactAddress();
        QDesktopServices::openUrl(QUrl(address.startsWith(QLatin1String("mailto:")) ? address : "mailto:" + address));
    } else if (windowHandle()) {
        windowHandle()->startSystemMove();  // the borderless dialog moves with the mouse
    }
    return true;
}

void ShowAboutDialog(const QString& updateTagPrefix, TLanguage language) {
    QWidget* owner = DialogOwner();
    TdlgAbout dialog(owner);
    KeepAboveOwner(dialog, owner);
    dialog.Fill(ProgramVersionInfo, language);
    if (!updateTagPrefix.isEmpty()) dialog.StartUpdateMode(updateTagPrefix, TdlgAbout::UpdatePage(), ProgramVersionInfo);
    if (owner) dialog.move(owner->geometry().center() - dialog.rect().center());
    dialog.exec();
}

}  // namespace vx
