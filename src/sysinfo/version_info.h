#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vx {

// The version data of one program file.
struct TVersionInfo {
    std::string FileName;
    std::string FileVersion;     // "%u.%u.%u.%u", plus " BETA n" / " BETA" for pre-releases
    std::string ProductVersion;  // "%u.%u.%u": the fourth product part is never shown
    std::string FileVersionText;
    std::string ProductVersionText;
    std::string ProductName;
    std::string CompanyName;
    std::string Description;
    std::string Comments;
    std::string Copyright;
    std::string Trademarks;
    std::string InternalName;
    std::string OriginalFilename;
    std::uint32_t Major = 0, Minor = 0, Release = 0, Build = 0;
    std::uint32_t ProductMajor = 0, ProductMinor = 0, ProductRelease = 0, ProductBuild = 0;
    std::string SpecialBuild;
    bool PreReleaseBuild = false;
    bool DebugBuild = false;
    bool PrivateBuild = false;
};

// Reads the version block of a file into info. The record is cleared first
// and its FileName set. Returns true only when a version block with a valid
// fixed part was found; strings missing from the block stay empty. A file
// that cannot be read, or holds no block, returns false and never throws.
bool ReadVersionInfo(const std::string& fileName, TVersionInfo& info);

// The same for the bytes of any file; clears every field but FileName.
bool ReadVersionInfoFromBytes(std::span<const std::uint8_t> data, TVersionInfo& info);

// The running program's version data, filled once at start-up by
// LoadProgramVersionInfo before anything else runs, and only read after.
extern TVersionInfo ProgramVersionInfo;

// Fills ProgramVersionInfo from the running executable (/proc/self/exe).
bool LoadProgramVersionInfo();

// Full path of the running executable; "" when it cannot be determined.
std::string ProgramFileName();

}  // namespace vx
