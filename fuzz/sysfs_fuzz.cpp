// Any text as a sysfs link speed: a number of bits per second that a real
// link can have, or 0.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "netconfig/kernel_link_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::uint64_t speed = vx::LinkSpeedFromText(text.c_str());
    if (speed > 10'000'000ull * 1'000'000ull || speed % 1'000'000 != 0) std::abort();
    return 0;
}
