#include "shell/main_window.h"

namespace vx {

Twnd_vx_Main::Twnd_vx_Main(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("wnd_vx_Main"));
    setWindowTitle(QStringLiteral("Vantrix"));
    resize(kClientWidth, kClientHeight);
}

}  // namespace vx
