// The main window's usage history: the recorder that keeps it, the Usage
// window, and the messages about allowances and an unreadable history.
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>

#include "appnet_view/applications_window.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "usage_view/usage_window.h"
#include "watcher/display_helpers.h"

namespace vx {

void Twnd_vx_Main::createUsage() {
    if (!LayoutStorage || LayoutStorage->FileName().empty()) {
        acUsage->setEnabled(false);
        return;
    }
    FUsage = new TUsageRecorder(UsageDatabasePathFor(LayoutStorage->FileName()),
                                std::make_unique<TUsageCounterSource>(FLinks), {}, this);
    connect(FUsage, &TUsageRecorder::Problem, this, [this](const QString& message) { notify(message, true); });
    connect(FUsage, &TUsageRecorder::AllowanceReached, this,
            [this](const QString& name, int percent, quint64 used, quint64 allowance) {
                const QString figures = tr("%1 of %2")
                                            .arg(QString::fromStdString(FormatSize(static_cast<double>(used))),
                                                 QString::fromStdString(FormatSize(static_cast<double>(allowance))));
                notify(percent >= 100
                           ? tr("%1 has used its monthly allowance: %2.").arg(name, figures)
                           : tr("%1 has used %2 % of its monthly allowance: %3.").arg(name).arg(percent).arg(figures),
                       percent >= 100);
            });
    // Opening the history and the first reading wait until the window is up
    // and painted: they are no part of a start the user waits for.
    QTimer::singleShot(kDeferredStartDelayMs, FUsage, [this] { FUsage->Start(UsageIntervalMs); });
}

TUsageWindow* Twnd_vx_Main::ShowUsage(const QString& interfaceName) {
    if (!FUsage) return nullptr;
    FUsage->Record();  // today's figures up to this moment
    if (FUsageWindow)
        FUsageWindow->Refresh();
    else
        FUsageWindow = new TUsageWindow(*FUsage, this);  // reads the history as it is made
    QString name = interfaceName;
    // The watcher at the top (the newest), else the interface with the default route.
    if (name.isEmpty() && !FWatchers.empty()) name = QString::fromStdString(FWatchers.back()->Adapter().Name);
    if (name.isEmpty()) {
        const int best = FNCC->FindAdapter(static_cast<std::int64_t>(FNCC->BestInterfaceIdx()));
        if (best >= 0) name = QString::fromStdString(FNCC->Adapter(static_cast<std::uint16_t>(best)).Name);
    }
    if (!name.isEmpty()) FUsageWindow->SelectInterface(name);
    FUsageWindow->show();
    FUsageWindow->raise();
    FUsageWindow->activateWindow();
    return FUsageWindow;
}

TApplicationsWindow* Twnd_vx_Main::ShowApplications() {
    if (!FApplicationsWindow) FApplicationsWindow = new TApplicationsWindow(this);
    FApplicationsWindow->show();
    FApplicationsWindow->raise();
    FApplicationsWindow->activateWindow();
    return FApplicationsWindow;
}

void Twnd_vx_Main::notify(const QString& message, bool warning) {
    std::fprintf(stderr, "Vantrix: %s\n", message.toLocal8Bit().constData());
    if (TrayIcon && QSystemTrayIcon::isSystemTrayAvailable() && TrayIcon->isVisible()) {
        TrayIcon->showMessage(QStringLiteral("Vantrix"), message,
                              warning ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information, 15000);
        return;
    }
    auto* box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, QStringLiteral("Vantrix"),
                                message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

}  // namespace vx
