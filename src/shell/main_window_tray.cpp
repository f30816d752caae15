// The tray readout: the rates of one interface (or of the uplink total)
// drawn into the tray icon at the watcher period.
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

#include "shell/main_window.h"
#include "shell/taskbar_hint.h"
#include "watcher/display_helpers.h"

namespace vx {
namespace {

const QString kReadoutKey = QStringLiteral("TrayReadout");

}  // namespace

QString Twnd_vx_Main::TrayReadoutInterface() const {
    return const_cast<Twnd_vx_Main*>(this)->LayoutManager().GetValueByName(kReadoutKey).toString();
}

void Twnd_vx_Main::SetTrayReadoutInterface(const QString& name) {
    LayoutManager().SetValueByName(kReadoutKey, name);
    saveStoredValues();  // remembered in either mode, as the watched interfaces
    applyTrayReadout();
}

void Twnd_vx_Main::applyTrayReadout() {
    const QString name = TrayReadoutInterface();
    FReadoutLast.reset();
    if (name.isEmpty()) {
        FTrayReadoutTimer.stop();
    } else if (!FTrayReadoutTimer.isActive() || FTrayReadoutTimer.Period() != PeriodMs(period())) {
        FTrayReadoutTimer.StartOnBeat(PeriodMs(period()));
    }
    UpdateTrayReadout();
}

void Twnd_vx_Main::fillTrayReadoutMenu() {
    TrayReadoutMenu->clear();  // its actions; the group of the last filling goes too
    qDeleteAll(TrayReadoutMenu->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly));
    auto* group = new QActionGroup(TrayReadoutMenu);
    const QString chosen = TrayReadoutInterface();
    auto add = [&](const QString& text, const QString& name) {
        QAction* a = TrayReadoutMenu->addAction(text);
        a->setCheckable(true);
        a->setChecked(name == chosen);
        a->setData(name);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, name] { SetTrayReadoutInterface(name); });
        return a;
    };
    add(tr("&Off"), QString());
    TrayReadoutMenu->addSeparator();
    for (std::uint16_t i = 0; FNCC && i < FNCC->AdapterCount(); ++i) {
        const TAdapter a = FNCC->Adapter(i);
        QString shown = ShownName(a.Name);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        // Interface names, chosen by their first letters as in the Monitor menu.
        add(shown, QString::fromStdString(a.Name))->setProperty("vxInterfaceItem", true);
    }
}

void Twnd_vx_Main::setTrayIcon(const QIcon& icon) {
    if (TrayIcon) TrayIcon->setIcon(icon);
}

void Twnd_vx_Main::UpdateTrayReadout() {
    const QString name = TrayReadoutInterface();
    const int at = name.isEmpty() || !FNCC ? -1 : FNCC->FindAdapter(name.toStdString());
    if (at < 0) {
        // Off, or the interface is gone for now: the program's picture.
        if (!FTrayReadout.Download.empty() || !FTrayReadout.Upload.empty()) setTrayIcon(FPlainIcon);
        FTrayReadout = {};
        FReadoutLast.reset();
        return;
    }
    const std::uint32_t index = FNCC->Adapter(static_cast<std::uint16_t>(at)).IntfIdx;
    TReadoutCounters now{index, 0, 0, std::chrono::steady_clock::now()};
    FNCC->GetTraffic(index, now.received, now.sent);
    double down = 0, up = 0;
    if (FReadoutLast && FReadoutLast->index == index) {
        const double seconds = std::chrono::duration<double>(now.at - FReadoutLast->at).count();
        // A counter that went back (a re-created interface) shows no rate.
        if (seconds > 0 && now.received >= FReadoutLast->received && now.sent >= FReadoutLast->sent) {
            down = static_cast<double>(now.received - FReadoutLast->received) / seconds;
            up = static_cast<double>(now.sent - FReadoutLast->sent) / seconds;
        }
    }
    FReadoutLast = now;
    const int units = static_cast<int>(LayoutManager().GetValueByName(QStringLiteral("Units")).toLongLong());
    // In the colour the tray asks for, else the desktop's text colour; a
    // halo of the other extreme keeps it readable on any panel.
    const QColor trayInk = TrayForegroundColor();
    TTrayReadout readout{ShortRate(down, units), ShortRate(up, units),
                         trayInk.isValid() ? trayInk : QApplication::palette().color(QPalette::WindowText)};
    const bool same = readout.Download == FTrayReadout.Download && readout.Upload == FTrayReadout.Upload &&
                      readout.Ink == FTrayReadout.Ink;
    FTrayReadout = readout;
    if (same || !TrayIcon) return;  // nothing new to draw
    setTrayIcon(DrawTrayReadoutIcon(readout, qApp->devicePixelRatio()));
}

}  // namespace vx
