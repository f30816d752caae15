#pragma once

// Which window a dialog belongs to. A dialog owned by the program's window
// opens above it (also when that window is Always Visible) and is centred
// on it, whichever way it was opened: from a menu of the window, or from
// the tray icon's menu while no window of the program is active.

class QDialog;
class QWidget;

namespace vx {

// `preferred`'s window when given; else the active window when it is an
// ordinary one; else the first shown ordinary top-level window (the main
// window). Never a tooltip, a menu or another transient popup, which may
// vanish under the dialog.
QWidget* DialogOwner(QWidget* preferred = nullptr);

// Gives `dialog` the owner's stay-on-top state, so that it can open above
// an Always Visible window on any window manager.
void KeepAboveOwner(QDialog& dialog, QWidget* owner);

}  // namespace vx
