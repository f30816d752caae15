#include <QApplication>

#include "shell/main_window.h"
#include "shell/startup.h"
#include "sysinfo/format_settings.h"
#include "sysinfo/version_info.h"

int main(int argc, char** argv) {
    vx::LoadProgramVersionInfo();
    vx::CreateLayoutStorage();

    // Vantrix reads no command-line arguments, so none reach the toolkit either.
    (void)argc;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrix"));
    vx::InitFormatSettings();

    int result = 0;
    {
        vx::Twnd_vx_Main window;
        window.show();
        result = QApplication::exec();
    }
    vx::LayoutStorage.reset();
    return result;
}
