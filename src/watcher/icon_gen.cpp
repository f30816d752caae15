// Build-time tool: renders the program's icon (the network card picture the
// window and tray icon show) as PNG files at the given sizes, from the same
// drawing code, so the installed icons never drift from the program's.
//   vx_icon_gen <output folder> <size>...   writes <folder>/<size>.png
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "watcher/interface_pictures.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: vx_icon_gen <output folder> <size>...\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024) return 2;
        const QString file = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/%1.png").arg(size);
        if (!vx::DrawInterfacePicture(vx::kProgramIconPicture, size).save(file, "PNG")) {
            std::fprintf(stderr, "vx_icon_gen: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
