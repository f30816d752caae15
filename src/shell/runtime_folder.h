#pragma once

// The folder for the user's private run-time files (the single-instance
// socket and its lock). $XDG_RUNTIME_DIR when it is really the user's own;
// otherwise a folder of the user's own in the temporary folder, never a
// bare name there, since every local user can create names in /tmp.

#include <string>

namespace vx {

struct TRuntimeFolder {
    std::string path;   // empty when there is no usable folder
    std::string error;  // why not, for one line on stderr
};

// Makes `path` a folder private to the calling user: creates it mode 0700
// when missing. An existing one must be a real folder (not a link), owned
// by the user, with mode 0700. Returns an empty text when usable, else why
// not.
std::string EnsurePrivateFolder(const std::string& path);

// $XDG_RUNTIME_DIR when set to a folder owned by the user that nobody else
// can write or read, else `<temporary folder>/vantrix-<uid>` through
// EnsurePrivateFolder.
TRuntimeFolder ChooseRuntimeFolder();

}  // namespace vx
