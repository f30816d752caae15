#pragma once

// What the test programs with a display server of their own (Xvfb with
// icewm, or weston) share: starting its helper programs quietly, and a
// main() that gives the run a private runtime folder and the platform.

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace vx::test {

// Starts `argv` in a process group of its own, in `cwd` when given, with
// its output to $VX_DESKTOP_LOG (else nowhere).
pid_t SpawnQuietly(const std::vector<std::string>& argv, const std::string& cwd = {});

// The body of main(): a private XDG_RUNTIME_DIR named after `tag`; then
// `start` (not when only listing the tests) names the Qt platform to use
// ("offscreen" when its server could not start), the tests run, and `stop`
// ends the server.
int RunOnOwnDisplay(int argc, char** argv, const std::string& tag, const std::function<std::string()>& start,
                    const std::function<void()>& stop);

}  // namespace vx::test
