// Any bytes given to the version reader: it must answer true or false,
// never read outside the buffer, and agree with itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sysinfo/version_block.h"
#include "sysinfo/version_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    vx::TVersionInfo info;
    const bool found = vx::ReadVersionInfoFromBytes(bytes, info);
    // Parsing at the start, and queries on whatever parsed, must be safe too.
    if (const auto root = vx::ParseVersionBlock(bytes)) {
        (void)vx::QueryVersionNode(*root, "\\StringFileInfo\\040904E4\\ProductName");
        (void)vx::QueryVersionNode(*root, "\\VarFileInfo\\Translation");
        (void)vx::ReadFixedFileInfo(*root);
    }
    if (!found && (!info.FileVersion.empty() || !info.ProductName.empty() || info.Major != 0)) std::abort();
    return 0;
}
