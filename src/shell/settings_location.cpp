#include "shell/settings_location.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "persistence/ini_storage.h"
#include "sysinfo/version_info.h"

namespace vx {

namespace fs = std::filesystem;

namespace {

std::string readFirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

bool startsWith(const std::string& s, std::string_view prefix) { return s.rfind(prefix, 0) == 0; }

// "usb1", "usb12": the root hub of a USB controller in a device path.
bool isUsbRootHub(const std::string& name) {
    if (name.size() < 4 || !startsWith(name, "usb")) return false;
    return name.find_first_not_of("0123456789", 3) == std::string::npos;
}

std::string withDelimiter(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

std::optional<fs::path> TStorageQuery::diskFolderOf(dev_t device) const {
    const fs::path link = FSysRoot / "dev" / "block" / (std::to_string(major(device)) + ":" + std::to_string(minor(device)));
    std::error_code ec;
    fs::path folder = fs::canonical(link, ec);
    if (ec || !fs::is_directory(folder, ec)) return std::nullopt;
    // A partition's disk is its parent folder; removable and the bus belong to the disk.
    if (fs::exists(folder / "partition", ec)) folder = folder.parent_path();
    return folder;
}

TMediaType TStorageQuery::QueryDriveType(const std::string& path) const {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return TMediaType::dtNotExists;
    const auto disk = diskFolderOf(st.st_dev);
    if (!disk) return TMediaType::dtRemote;
    const std::string name = disk->filename().string();
    if (startsWith(name, "sr")) return TMediaType::dtCDROM;
    if (startsWith(name, "ram") || startsWith(name, "zram")) return TMediaType::dtRAMDisk;
    if (readFirstLine(*disk / "removable") == "1") return TMediaType::dtRemovable;
    return TMediaType::dtFixed;
}

std::optional<TVolumeHandle> TStorageQuery::OpenVolume(const std::string& path) const {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    const auto disk = diskFolderOf(st.st_dev);
    if (!disk) return std::nullopt;
    return TVolumeHandle{*disk};
}

bool TStorageQuery::QueryStorageBusType(const TVolumeHandle& volume, TDeviceInfo& info) const {
    std::error_code ec;
    if (volume.diskFolder.empty() || !fs::is_directory(volume.diskFolder, ec)) return false;
    info.BusType = kBusTypeUnknown;
    for (const fs::path& part : volume.diskFolder) {
        const std::string name = part.string();
        if (isUsbRootHub(name)) {
            info.BusType = kBusTypeUsb;
            return true;
        }
        if (startsWith(name, "nvme")) info.BusType = kBusTypeNvme;
        else if (startsWith(name, "mmc")) info.BusType = kBusTypeSd;
        else if (startsWith(name, "ata")) info.BusType = kBusTypeSata;
    }
    return true;
}

bool TStorageQuery::IsPortableLocation(const std::string& programFile) const {
    const TMediaType type = QueryDriveType(programFile);
    if (type == TMediaType::dtRemovable) return true;
    if (type == TMediaType::dtCDROM) return false;  // no device query for optical drives
    const auto volume = OpenVolume(programFile);
    if (!volume) return false;
    TDeviceInfo info;
    return QueryStorageBusType(*volume, info) && info.BusType == kBusTypeUsb;
}

std::string GetSpecialFolderPath(int folder) {
    if (folder != CSIDL_APPDATA) return {};
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return home.empty() ? std::string() : withDelimiter(home) + ".config";
}

std::string SettingsFileNameFor(const std::string& programFile) {
    return fs::path(programFile).filename().replace_extension(".ini").string();
}

void AssignSettingsLocation(TLayoutManagerINIStorage& storage, const std::string& programFile,
                            const TVersionInfo& version, const TStorageQuery& query) {
    if (query.IsPortableLocation(programFile)) {
        storage.SetFileName(withDelimiter(fs::path(programFile).parent_path().string()));
    } else {
        storage.SetFileName(withDelimiter(GetSpecialFolderPath(CSIDL_APPDATA)) + version.CompanyName + "/" +
                            version.ProductName + "/");
    }
    // The folder is set first and read back, so the storage's FileName is
    // the one place the path is put together.
    storage.SetFileName(storage.FileName() + SettingsFileNameFor(programFile));
}

}  // namespace vx
