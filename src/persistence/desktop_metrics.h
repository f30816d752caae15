#pragma once

#include <QSize>
#include <functional>

class QWidget;

namespace vx {

// What layout keys are made of: the size of the rectangle covering all
// screens, and the logical DPI of the screen nearest a window. Replaceable
// so that tests can pin them; by default they ask the screens.
struct TDesktopMetrics {
    std::function<QSize()> desktopSize;
    std::function<int(const QWidget*)> dpi;
};

TDesktopMetrics& DesktopMetrics();
void ResetDesktopMetrics();

// Whether the window system lets a program place its windows (and keep
// them above others): not so for a native Wayland client.
bool WindowsArePlaced();

}  // namespace vx
