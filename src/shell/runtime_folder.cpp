#include "shell/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vx {
namespace {

std::string modeText(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

}  // namespace

std::string EnsurePrivateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0) {
        // The umask may have taken bits away; the owner needs all three.
        if (::chmod(path.c_str(), 0700) != 0) return path + ": " + std::strerror(errno);
    } else if (errno != EEXIST) {
        return path + ": " + std::strerror(errno);
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return path + ": " + std::strerror(errno);
    if (S_ISLNK(st.st_mode)) return path + " is a symbolic link";
    if (!S_ISDIR(st.st_mode)) return path + " is not a folder";
    if (st.st_uid != ::getuid()) return path + " belongs to another user (uid " + std::to_string(st.st_uid) + ")";
    if ((st.st_mode & 07777) != 0700) return path + " is open to other users (mode " + modeText(st.st_mode) + ")";
    return {};
}

TRuntimeFolder ChooseRuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        struct stat st {};
        const std::string path = runtime.toStdString();
        if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
            (st.st_mode & 077) == 0)
            return {path, {}};
    }
    const std::string fallback =
        QDir(QDir::tempPath()).filePath(QStringLiteral("vantrix-%1").arg(::getuid())).toStdString();
    std::string error = EnsurePrivateFolder(fallback);
    if (!error.empty()) return {{}, std::move(error)};
    return {fallback, {}};
}

}  // namespace vx
