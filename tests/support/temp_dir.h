#pragma once

#include <filesystem>
#include <string>

namespace vx::test {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes away (write bits are restored
// first, so read-only test folders are removed too).
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& path() const { return FPath; }
    std::string file(const std::string& relative) const { return (FPath / relative).string(); }

private:
    std::filesystem::path FPath;
};

std::string ReadWholeFile(const std::filesystem::path& file);
void WriteWholeFile(const std::filesystem::path& file, const std::string& text);

}  // namespace vx::test
