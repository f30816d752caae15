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

}  // namespace vx
