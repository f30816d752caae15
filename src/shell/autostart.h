#pragma once

// "Start with the desktop": an XDG autostart entry for the program,
// $XDG_CONFIG_HOME/autostart/<application id>.desktop (by default under
// ~/.config). The entry's existence is the setting; nothing else stores it.

#include <string>

namespace vx {

class TAutostart {
public:
    // The entry's path for the current user.
    static std::string EntryPath();
    static bool Enabled();
    // Writes the entry (atomically) for the program at `programFile`. A
    // portable copy, or one that is not the "vantrix" found on PATH, starts
    // by its absolute path; an installed one by its name. Returns "" when
    // written, else why not.
    static std::string Enable(const std::string& programFile, bool portable);
    // Why no desktop could start the program at `programFile` from an
    // entry (a path that is not UTF-8, or holds a control character);
    // empty when it can.
    static std::string CannotStart(const std::string& programFile);
    static bool Disable();

    // The Exec value for one program path, quoted and escaped as desktop
    // entries require.
    static std::string ExecValue(const std::string& programFile);
};

}  // namespace vx
