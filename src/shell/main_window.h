#pragma once

#include <QMainWindow>

namespace vx {

// The main window. Its client area starts at 475 x 429 pixels.
class Twnd_vx_Main : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 475;
    static constexpr int kClientHeight = 429;

    explicit Twnd_vx_Main(QWidget* parent = nullptr);
};

}  // namespace vx
