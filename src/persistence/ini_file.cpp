#include "persistence/ini_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <random>
#include <sstream>

namespace vx {
namespace {

namespace fs = std::filesystem;

bool sameStat(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

// Cuts UTF-8 text after `count` characters without splitting one.
std::string cutChars(std::string s, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
        if (chars++ == count) {
            s.resize(i);
            break;
        }
    }
    return s;
}

bool writeAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

constexpr std::string_view kTempMarker = ".tmp-";

// The file that writes really replace: a link's target, else the name.
fs::path replacedFile(const std::string& fileName) {
    std::error_code ec;
    fs::path target = fileName;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    return target;
}

std::string tempSuffix() {
    static std::mt19937_64 rng{std::random_device{}()};
    std::ostringstream s;
    s << kTempMarker << ::getpid() << "-" << std::hex << rng();
    return s.str();
}

}  // namespace

int RemoveStaleTempFiles(const std::string& fileName) {
    if (fileName.empty()) return 0;
    const fs::path target = replacedFile(fileName);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = "." + target.filename().string() + std::string(kTempMarker);
    std::error_code ec;
    int removed = 0;
    for (fs::directory_iterator it(folder, ec), last; !ec && it != last; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        // "<pid>-<hex>": only a writer that is gone leaves a stale file.
        const std::string rest = name.substr(prefix.size());
        const auto dash = rest.find('-');
        if (dash == std::string::npos || dash == 0) continue;
        long pid = 0;
        const auto [end, err] = std::from_chars(rest.data(), rest.data() + dash, pid);
        if (err != std::errc() || end != rest.data() + dash || pid <= 0) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        std::error_code removeError;
        if (it->is_regular_file(removeError) && fs::remove(it->path(), removeError)) ++removed;
    }
    return removed;
}

EIniFileException::EIniFileException(const std::string& fileName)
    : std::runtime_error("Unable to write to " + fileName) {}

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

TIniFile::LoadState TIniFile::refresh() {
    if (FDirty) return LoadState::Loaded;  // gathered edits are the newest state
    struct stat st {};
    if (::stat(FFileName.c_str(), &st) != 0) {
        FDoc = TIniDocument();
        FCached = false;
        return errno == ENOENT || errno == ENOTDIR ? LoadState::Missing : LoadState::Unreadable;
    }
    if (FCached && sameStat(st, FSeen)) return LoadState::Loaded;
    auto unreadable = [this] {
        FDoc = TIniDocument();
        FCached = false;
        return LoadState::Unreadable;
    };
    // Only a regular file is read: opening a named pipe or a device would
    // block or read forever. The type is checked before opening, and again
    // on the opened file (it may have been swapped in between), which is
    // opened without blocking.
    if (!S_ISREG(st.st_mode)) return unreadable();
    const int fd = ::open(FFileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return unreadable();
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return unreadable();
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return unreadable();
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    st = opened;
    FDoc = TIniDocument(text);
    FSeen = st;
    FCached = true;
    return LoadState::Loaded;
}

bool TIniFile::sectionExists(const std::string& section) {
    refresh();
    return FDoc.sectionExists(section);
}

bool TIniFile::valueExists(const std::string& section, const std::string& key) {
    refresh();
    return FDoc.valueExists(section, key);
}

std::optional<std::string> TIniFile::readString(const std::string& section, const std::string& key) {
    refresh();
    auto v = FDoc.value(section, key);
    if (v) *v = cutChars(std::move(*v), kMaxValueChars);
    return v;
}

std::vector<std::string> TIniFile::readSectionValues(const std::string& section) {
    refresh();
    return FDoc.sectionLines(section);
}

void TIniFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    if (!TIniDocument::isValidSection(section) || !TIniDocument::isValidKey(key) ||
        !TIniDocument::isValidValue(value))
        throw EIniFileException(FFileName);
    if (refresh() == LoadState::Unreadable) throw EIniFileException(FFileName);
    TIniDocument next = FDoc;
    next.setValue(section, key, value);
    apply(std::move(next));
}

void TIniFile::eraseSection(const std::string& section) {
    if (refresh() == LoadState::Unreadable) throw EIniFileException(FFileName);
    if (!FCached && !FDirty) return;  // no file: nothing to erase
    TIniDocument next = FDoc;
    next.eraseSection(section);
    if (next.text() != FDoc.text()) apply(std::move(next));
}

void TIniFile::deleteKey(const std::string& section, const std::string& key) {
    if (refresh() == LoadState::Unreadable) throw EIniFileException(FFileName);
    if (!FCached && !FDirty) return;
    TIniDocument next = FDoc;
    next.deleteKey(section, key);
    if (next.text() != FDoc.text()) apply(std::move(next));
}

void TIniFile::apply(TIniDocument next) {
    if (!FDeferred) {
        store(next);
        return;
    }
    FDoc = std::move(next);
    FDirty = true;
}

void TIniFile::commit() {
    if (!FDirty) return;
    const TIniDocument pending = std::move(FDoc);
    FDirty = false;
    FCached = false;
    FDoc = TIniDocument();
    store(pending);
}

void TIniFile::store(const TIniDocument& doc) {
    if (FFileName.empty()) throw EIniFileException(FFileName);
    // A settings file that is a link (kept in a dotfiles folder, say) stays
    // a link: the file it points to is replaced.
    std::error_code ec;
    fs::path target = FFileName;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (ec) throw EIniFileException(FFileName);
        target = resolved;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::create_directories(folder, ec);

    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode) ||
        (folderStat.st_mode & kAnyWrite) == 0)
        throw EIniFileException(FFileName);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & kAnyWrite) == 0)) throw EIniFileException(FFileName);

    const fs::path temp = folder / ("." + target.filename().string() + tempSuffix());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) throw EIniFileException(FFileName);
    bool ok = true;
    if (exists) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
        if (ok && ::geteuid() == 0) (void)!::fchown(fd, old.st_uid, old.st_gid);
    }
    ok = ok && writeAll(fd, doc.text()) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        throw EIniFileException(FFileName);
    }
    FDoc = doc;
    struct stat now {};
    FCached = ::stat(target.c_str(), &now) == 0;
    FSeen = now;
}

}  // namespace vx
