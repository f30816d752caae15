#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>

#include "shell/desktop_session.h"
#include "shell/main_window.h"
#include "shell/quit_on_signals.h"
#include "shell/single_instance.h"
#include "shell/startup.h"
#include "shell/translations.h"
#include "sysinfo/format_settings.h"
#include "sysinfo/version_info.h"

namespace {

bool gStarting = true;
QtMessageHandler gQtHandler = nullptr;

// Without a usable display the toolkit ends the process with a fatal
// message and a core dump; a user is better served by one clear line.
void onQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && gStarting) {
        std::fputs("Vantrix needs a graphical desktop (no display found)\n", stderr);
        ::_exit(1);
    }
    if (gQtHandler) gQtHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    // A stop signal that comes before its handler is in place waits for it
    // (and then ends the program through its event loop, as any later one),
    // instead of killing the program half started.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (const int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&stopSignals, s);
    ::sigprocmask(SIG_BLOCK, &stopSignals, nullptr);

    vx::LoadProgramVersionInfo();
    vx::CreateLayoutStorage();

    // Vantrix reads no command-line arguments, so none reach the toolkit either.
    (void)argc;
    int qtArgc = 1;
    vx::PreferXWayland();
    gQtHandler = qInstallMessageHandler(onQtMessage);
    QApplication app(qtArgc, argv);
    gStarting = false;
    QApplication::setApplicationName(QStringLiteral("Vantrix"));
    QGuiApplication::setDesktopFileName(QStringLiteral(VX_APP_ID));
    vx::InstallTranslations();

    // A second start brings the running window to the front and ends.
    vx::TSingleInstance instance(vx::LayoutStorage->FileName());
    if (!instance.Claim()) return 0;
    const vx::TQuitOnSignals quitOnSignals;
    ::sigprocmask(SIG_UNBLOCK, &stopSignals, nullptr);
    vx::InitFormatSettings();

    int result = 0;
    {
        vx::Twnd_vx_Main window;
        instance.OnActivate = [&window] { window.TrayIconClick(); };
        window.show();
        result = QApplication::exec();
        instance.OnActivate = nullptr;
        // A start from now on must not take this ending instance for a
        // running one; it waits for the lock, which goes with the process.
        instance.Release();
    }
    vx::LayoutStorage.reset();
    return result;
}
