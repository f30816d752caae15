// Every window and dialog, rendered: each text fits its widget (the test
// runs at 96 and at 120 DPI) in English and in each translation, and each
// text keeps readable contrast on its background with the light and with a
// dark palette, and with the desktop's own (run_with_colour_scheme.sh gives
// it the KDE colour schemes through the platform theme).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QPalette>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTreeWidget>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <cmath>
#include <functional>
#include <memory>

#include "about/about_dialog.h"
#include "persistence/ini_storage.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "shell/translations.h"
#include "support/fake_link_source.h"
#include "support/temp_dir.h"
#include "support/wcag_contrast.h"
#include "sysinfo/version_info.h"
#include "usage_view/usage_window.h"
#include "watcher/adapter_info_dialog.h"
#include "watcher/watcher_panel.h"

namespace vx {
namespace {

using test::Contrast;

// What is painted behind a widget: the nearest widget (itself included)
// that fills its background, else its window's.
QColor backgroundOf(const QWidget* w) {
    for (const QWidget* p = w; p; p = p->parentWidget())
        if (p->autoFillBackground() || p->isWindow()) return p->palette().color(p->backgroundRole());
    return w->palette().color(QPalette::Window);
}

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2B, 0x2B, 0x2B));
    p.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    p.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    p.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x33));
    p.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    p.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
    p.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
    p.setColor(QPalette::Highlight, QColor(0x3D, 0x7A, 0xD6));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(0x33, 0x33, 0x33));
    p.setColor(QPalette::ToolTipText, QColor(0xEE, 0xEE, 0xEE));
    return p;
}

// The palette: the style's light one, a dark one set by the program, or the
// desktop's (what the platform theme gives).
enum class TPalette { Light, Dark, System };

struct TLook {
    TPalette palette;
    const char* language;  // "en": the source texts
};

const char* paletteName(TPalette palette);

void PrintTo(const TLook& look, std::ostream* out) { *out << paletteName(look.palette) << ", " << look.language; }

const char* paletteName(TPalette palette) {
    switch (palette) {
    case TPalette::Light: return "Light";
    case TPalette::Dark: return "Dark";
    default: return "System";
    }
}

// Where a text does not fit or cannot be read: one line per fault.
std::vector<std::string> faultsIn(QWidget* top) {
    std::vector<std::string> faults;
    auto name = [](const QWidget* w, const QString& text) {
        return (w->objectName().isEmpty() ? std::string(w->metaObject()->className()) : w->objectName().toStdString()) +
               " \"" + text.toStdString() + "\"";
    };
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(top) || w->width() == 0) continue;
        QString text;
        int needed = 0, available = 0, neededHeight = 0, availableHeight = 0;
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty() && l->pixmap().isNull()) {
            text = l->text();
            // A label with a buddy shows its access key underlined, not the &.
            if (l->buddy() && l->textFormat() != Qt::RichText) text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
            const QFontMetrics fm(l->font());
            const QRect room = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
            if (l->wordWrap()) {
                needed = 0;
                neededHeight = l->heightForWidth(l->width());
                availableHeight = l->height();
            } else {
                needed = fm.horizontalAdvance(text);
                available = room.width();
                neededHeight = fm.height();
                availableHeight = room.height();
            }
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(c);
            option.editable = c->isEditable();
            const QRect field = c->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, c);
            for (int i = 0; i < c->count(); ++i)
                if (c->fontMetrics().horizontalAdvance(c->itemText(i)) > needed) {
                    needed = c->fontMetrics().horizontalAdvance(c->itemText(i));
                    text = c->itemText(i);
                }
            available = field.width();
        } else if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
            text = b->text();
            needed = b->fontMetrics().horizontalAdvance(QString(text).remove(QLatin1Char('&')));
            available = b->width() - 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
            if (qobject_cast<QPushButton*>(b)) {
                // Where the style draws a push button's label.
                QStyleOptionButton option;
                option.initFrom(b);
                option.text = b->text();
                available = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b).width();
            }
        }
        if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
            // A check box in the list must show against the list's
            // background, checked or not (3:1, as for any control's edge).
            const QImage shot = tree->viewport()->grab().toImage();
            for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                QStyleOptionViewItem option;
                option.initFrom(tree);
                option.rect = tree->visualItemRect(tree->topLevelItem(i));
                option.features |= QStyleOptionViewItem::HasCheckIndicator;
                const QRect box = tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree)
                                      .intersected(shot.rect());
                const QColor base = tree->palette().color(QPalette::Base);
                double best = 1;
                for (int y = box.top(); y <= box.bottom(); ++y)
                    for (int x = box.left(); x <= box.right(); ++x)
                        best = std::max(best, Contrast(shot.pixelColor(x, y), base));
                if (best < 3.0)
                    faults.push_back(name(w, tree->topLevelItem(i)->text(0)) + " check box contrast " +
                                     std::to_string(best));
            }
        }
        if (text.isEmpty()) continue;
        if (needed > available || neededHeight > availableHeight)
            faults.push_back(name(w, text) + " needs " + std::to_string(needed) + "x" + std::to_string(neededHeight) +
                             ", has " + std::to_string(available) + "x" + std::to_string(availableHeight));
        // Buttons and drop-down lists paint their own face.
        const bool ownFace = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w);
        const QColor fg = w->palette().color(w->foregroundRole());
        const QColor bg = ownFace ? w->palette().color(QPalette::Button) : backgroundOf(w);
        const double ratio = Contrast(fg, bg);
        if (ratio < 4.5)
            faults.push_back(name(w, text) + " contrast " + std::to_string(ratio) + " (" + fg.name().toStdString() +
                             " on " + bg.name().toStdString() + ")");
    }
    return faults;
}

struct TScene {
    const char* name;
    std::function<std::unique_ptr<QWidget>()> make;
};

class LooksTest : public ::testing::TestWithParam<TLook> {
protected:
    static const QPalette& desktopPalette() {
        static const QPalette palette = QApplication::palette();
        return palette;
    }
    test::TTempDir dir;
    void SetUp() override {
        LoadProgramVersionInfo();
        LayoutStorage = std::make_shared<TLayoutManagerINIStorage>();
        LayoutStorage->SetFileName(dir.file("vantrix.ini"));
        desktopPalette();  // taken before any test sets one
        if (GetParam().palette == TPalette::Dark) QApplication::setPalette(darkPalette());
        if (GetParam().palette == TPalette::Light) QApplication::setPalette(QApplication::style()->standardPalette());
        const QString language = QString::fromLatin1(GetParam().language);
        if (language != QLatin1String("en")) {
            ASSERT_EQ(InstallTranslations(QLocale(language)), language);
        }
    }
    void TearDown() override {
        RemoveTranslations();
        QApplication::setPalette(desktopPalette());
        LayoutStorage.reset();
    }
};

std::shared_ptr<test::TFakeLinkSource> network() {
    auto fake = std::make_shared<test::TFakeLinkSource>();
    TLink& a = fake->AddLink(2, "enp0s31f6");
    a.Driver = "e1000e";
    a.DhcpServer = "192.168.100.200";
    TLink& b = fake->AddLink(3, "wlp3s0");  // a second one, never watched: an unchecked box
    b.Driver = "iwlwifi";
    b.Wireless = true;
    b.DhcpServer = "192.168.100.200";
    fake->SetCounters(2, 987654321098ull, 123456789012ull);
    // 192.168.100.200/24 on both, handed out by DHCP
    fake->addresses = {{2, 0xC0A864C8, 24, false, true}, {3, 0xC0A864C8, 24, false, true}};
    fake->gateways = {{2, 0xC0A864C8}, {3, 0xC0A864C8}};
    fake->neighbours = {TNeighbour{}};
    fake->route = 2;
    return fake;
}

TEST_P(LooksTest, EveryTextFitsAndCanBeRead) {
    const TScene scenes[] = {
        {"main window with a watcher",
         [] {
             auto w = std::make_unique<Twnd_vx_Main>(network());
             w->show();
             w->acIntfView->trigger();
             w->Tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
             w->UpdateTraffic();
             for (Tfrm_vx_Watcher* watcher : w->Watchers()) watcher->TimerTimer();
             return std::unique_ptr<QWidget>(std::move(w));
         }},
        {"main window, nothing watched",
         [] {
             auto w = std::make_unique<Twnd_vx_Main>(network());
             w->show();
             w->acIntfView->trigger();  // the list with an unchecked box
             return std::unique_ptr<QWidget>(std::move(w));
         }},
        {"adapter properties",
         [] {
             auto d = std::make_unique<Tdlg_vx_AdapterInfo>();
             TNetworkConfiguration config(network());
             config.RefreshData();
             d->Fill(config.Adapter(0));
             d->show();
             return std::unique_ptr<QWidget>(std::move(d));
         }},
        {"usage",
         [] {
             // One recorder for the whole run, over a history with an allowance.
             static test::TTempDir folder;
             static auto links = std::make_shared<test::TFakeLinkSource>();
             static TUsageRecorder* recorder = [] {
                 links->AddLink(2, "enp0s31f6").PermAddress = {0x00, 0x16, 0x3e, 0x00, 0x00, 0x01};
                 auto* r = new TUsageRecorder(folder.file("u.sqlite"), std::make_unique<TUsageCounterSource>(links));
                 r->Start(3600000);
                 links->SetCounters(2, 7340032000ull, 734003200ull);
                 r->Record();
                 r->Store().SetAllowance(r->Store().Interfaces().at(0).Id, 50, 31);
                 return r;
             }();
             auto w = std::make_unique<TUsageWindow>(*recorder);
             w->SelectInterface(QStringLiteral("enp0s31f6"));
             w->show();
             return std::unique_ptr<QWidget>(std::move(w));
         }},
        {"about",
         [] {
             auto d = std::make_unique<TdlgAbout>(nullptr);
             d->Fill(ProgramVersionInfo, lngEn);
             d->show();
             return std::unique_ptr<QWidget>(std::move(d));
         }},
    };
    for (const TScene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        const std::unique_ptr<QWidget> top = scene.make();
        QTest::qWait(20);
        for (const std::string& fault : faultsIn(top.get())) ADD_FAILURE() << fault;
        if (const char* folder = std::getenv("VX_SAVE_PNG")) {
            const QString file = QStringLiteral("%1/%2-%3-%4-%5.png")
                                     .arg(QString::fromLocal8Bit(folder), QString::fromLatin1(scene.name).replace(' ', '-'),
                                          QString::fromLatin1(paletteName(GetParam().palette)))
                                     .arg(top->logicalDpiY())
                                     .arg(QString::fromLatin1(GetParam().language));
            top->grab().save(file);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Looks, LooksTest,
                         ::testing::Values(TLook{TPalette::Light, "en"}, TLook{TPalette::Dark, "en"},
                                           TLook{TPalette::Light, "de"}, TLook{TPalette::Light, "cs"},
                                           TLook{TPalette::Dark, "de"}, TLook{TPalette::System, "en"},
                                           TLook{TPalette::System, "de"}),
                         [](const auto& param) {
                             return std::string(paletteName(param.param.palette)) + "_" + param.param.language;
                         });

}  // namespace
}  // namespace vx
