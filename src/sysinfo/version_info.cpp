#include "sysinfo/version_info.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "sysinfo/version_block.h"

namespace vx {

TVersionInfo ProgramVersionInfo;

namespace {

// Read-only view of a whole file; empty when it cannot be mapped.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
            void* p = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (p != MAP_FAILED) {
                FData = static_cast<const std::uint8_t*>(p);
                FSize = static_cast<std::size_t>(st.st_size);
            }
        }
        ::close(fd);
    }
    ~MappedFile() {
        if (FData) ::munmap(const_cast<std::uint8_t*>(FData), FSize);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    std::span<const std::uint8_t> bytes() const { return {FData, FSize}; }

private:
    const std::uint8_t* FData = nullptr;
    std::size_t FSize = 0;
};

std::string translationText(const TVersionNode& root) {
    const TVersionNode* t = QueryVersionNode(root, "\\VarFileInfo\\Translation");
    if (!t || t->value.size() < 4) return "040904E4";
    const unsigned language = t->value[0] | (t->value[1] << 8);
    const unsigned codePage = t->value[2] | (t->value[3] << 8);
    char text[16];
    std::snprintf(text, sizeof text, "%.4X%.4X", language, codePage);
    return text;
}

}  // namespace

bool ReadVersionInfoFromBytes(std::span<const std::uint8_t> data, TVersionInfo& info) {
    std::string fileName = std::move(info.FileName);
    info = TVersionInfo{};
    info.FileName = std::move(fileName);
    const auto root = FindVersionBlock(data);
    if (!root) return false;
    const auto fixed = ReadFixedFileInfo(*root);
    if (!fixed) return false;

    info.Major = fixed->fileVersionMS >> 16;
    info.Minor = fixed->fileVersionMS & 0xFFFF;
    info.Release = fixed->fileVersionLS >> 16;
    info.Build = fixed->fileVersionLS & 0xFFFF;
    info.ProductMajor = fixed->productVersionMS >> 16;
    info.ProductMinor = fixed->productVersionMS & 0xFFFF;
    info.ProductRelease = fixed->productVersionLS >> 16;
    info.ProductBuild = fixed->productVersionLS & 0xFFFF;
    // The flags are taken as they stand, without the flags mask.
    info.PreReleaseBuild = (fixed->fileFlags & kVsFfPreRelease) != 0;
    info.DebugBuild = (fixed->fileFlags & kVsFfDebug) != 0;
    info.PrivateBuild = (fixed->fileFlags & kVsFfPrivateBuild) != 0;

    const std::string table = "\\StringFileInfo\\" + translationText(*root);
    const std::pair<const char*, std::string TVersionInfo::*> strings[] = {
        {"ProductVersion", &TVersionInfo::ProductVersionText},
        {"FileVersion", &TVersionInfo::FileVersionText},
        {"FileDescription", &TVersionInfo::Description},
        {"LegalCopyright", &TVersionInfo::Copyright},
        {"LegalTrademarks", &TVersionInfo::Trademarks},
        {"Comments", &TVersionInfo::Comments},
        {"SpecialBuild", &TVersionInfo::SpecialBuild},
        {"ProductName", &TVersionInfo::ProductName},
        {"CompanyName", &TVersionInfo::CompanyName},
        {"InternalName", &TVersionInfo::InternalName},
        {"OriginalFileName", &TVersionInfo::OriginalFilename},
    };
    for (const auto& [name, field] : strings) {
        if (const TVersionNode* node = QueryVersionNode(*root, table + "\\" + name)) info.*field = NodeText(*node);
    }

    char text[64];
    std::snprintf(text, sizeof text, "%u.%u.%u", info.ProductMajor, info.ProductMinor, info.ProductRelease);
    info.ProductVersion = text;
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", info.Major, info.Minor, info.Release, info.Build);
    info.FileVersion = text;
    if (info.PreReleaseBuild) {
        if (info.Build != 0)
            info.FileVersion += " BETA " + std::to_string(info.Build);
        else
            info.FileVersion += " BETA";
    }
    return true;
}

bool ReadVersionInfo(const std::string& fileName, TVersionInfo& info) {
    info = TVersionInfo{};
    info.FileName = fileName;
    const MappedFile file(fileName);
    if (file.bytes().empty()) return false;
    TVersionInfo read;
    read.FileName = fileName;
    if (!ReadVersionInfoFromBytes(file.bytes(), read)) return false;
    info = std::move(read);
    return true;
}

std::string ProgramFileName() {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

bool LoadProgramVersionInfo() { return ReadVersionInfo(ProgramFileName(), ProgramVersionInfo); }

}  // namespace vx
