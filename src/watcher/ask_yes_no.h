#pragma once

#include <QString>

namespace vx {

// The program's Yes/No question box (question icon, modal). The caption is
// "Confirmation" unless one is given; it belongs to the active window, else
// the main window (DialogOwner), and opens above it. True exactly for Yes.
bool AskYesNo(const QString& text, const QString& caption = QString());

}  // namespace vx
