#pragma once

// What kind of desktop session the program runs in, and what follows.
//
// A native Wayland client can neither place its own window nor keep it
// above the others, so where XWayland is there the program runs through it
// (the xcb platform), unless the user chose a platform (QT_QPA_PLATFORM).
// Running natively on Wayland, what cannot work is shown as such.

#include <QString>

namespace vx {

// Sets QT_QPA_PLATFORM=xcb in a Wayland session that offers an X display,
// when no platform was chosen. Call before the application object exists.
// Returns whether it did.
bool PreferXWayland();

// Why Always Visible cannot work here, for its tooltip.
QString PlacementUnavailableReason();
// Why Always Visible cannot work on this desktop now (native Wayland, or an
// X11 window manager without the state); empty when it can.
QString StayOnTopUnavailableReason();
// Whether a minimised window can be brought back by changing its state.
// Native Wayland clients cannot: the compositor never says it minimised
// the window, nor takes a request to undo it; the window is shown anew.
bool PlatformCanUnminimize();

}  // namespace vx
