#pragma once

// Where the settings file lives. A program started from removable media or
// from any USB-attached disk (but an optical one) keeps its settings next to
// itself, so that it travels with the stick; otherwise they go to the
// user's configuration folder under the maker's and the product's names.
// Drive kinds and buses come from sysfs, read under a root folder that tests
// point at small fake trees.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace vx {

struct TVersionInfo;
class TLayoutManagerINIStorage;

// Drive kinds, numbered as the drive-type query of the original platform.
enum class TMediaType { dtUnknown, dtNotExists, dtRemovable, dtFixed, dtRemote, dtCDROM, dtRAMDisk };

struct TDiskInfo {
    TMediaType MediaType = TMediaType::dtUnknown;
};

// Storage bus numbers as the storage driver reports them.
inline constexpr std::uint32_t kBusTypeUnknown = 0;
inline constexpr std::uint32_t kBusTypeAta = 3;
inline constexpr std::uint32_t kBusTypeUsb = 7;
inline constexpr std::uint32_t kBusTypeSata = 11;
inline constexpr std::uint32_t kBusTypeSd = 12;
inline constexpr std::uint32_t kBusTypeNvme = 17;

struct TDeviceInfo {
    std::uint32_t BusType = kBusTypeUnknown;
};

// An opened volume: the sysfs folder of the whole disk that holds it.
struct TVolumeHandle {
    std::filesystem::path diskFolder;
};

class TStorageQuery {
public:
    explicit TStorageQuery(std::filesystem::path sysRoot = "/sys") : FSysRoot(std::move(sysRoot)) {}

    // Kind of the drive that holds path: dtNotExists when the path does not
    // exist; dtRemote when no block device backs its file system (NFS, CIFS,
    // FUSE, ...); dtCDROM for sr*; dtRAMDisk for ram*/zram*; dtRemovable when
    // the disk says removable=1; dtFixed otherwise.
    TMediaType QueryDriveType(const std::string& path) const;
    // The disk behind path, or nothing when no block device backs it.
    std::optional<TVolumeHandle> OpenVolume(const std::string& path) const;
    // The bus the disk hangs on, judged by its device path: through a USB
    // controller gives kBusTypeUsb. False for a handle that is no disk.
    bool QueryStorageBusType(const TVolumeHandle& volume, TDeviceInfo& info) const;
    // Removable media, or a USB bus on any drive kind but optical.
    bool IsPortableLocation(const std::string& programFile) const;

private:
    std::optional<std::filesystem::path> diskFolderOf(dev_t device) const;

    std::filesystem::path FSysRoot;
};

inline constexpr int CSIDL_APPDATA = 26;

// The user's configuration folder for CSIDL_APPDATA: $XDG_CONFIG_HOME when it
// is an absolute path, else ~/.config. "" for other folders or when no home
// folder is known.
std::string GetSpecialFolderPath(int folder);

// The program file name with its extension replaced: "vantrix" and
// "vantrix.bin" give "vantrix.ini".
std::string SettingsFileNameFor(const std::string& programFile);

// Points storage at the settings file: the program's own folder when it is
// portable, else <config>/<CompanyName>/<ProductName>/, then the program's
// file name with ".ini". Creates nothing on disk.
void AssignSettingsLocation(TLayoutManagerINIStorage& storage, const std::string& programFile,
                            const TVersionInfo& version, const TStorageQuery& query);

}  // namespace vx
