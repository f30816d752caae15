#include "sysinfo/csv_text.h"

#include <QCoreApplication>
#include <QString>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <cmath>
#include <cstdio>

namespace vx {

std::string CsvNumber(double value, int decimals) {
    if (!std::isfinite(value)) return {};
    char text[400];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return {};
    std::string out(text, end);
    if (out.find_first_not_of("-0.") == std::string::npos && out[0] == '-') out.erase(0, 1);  // no "-0.00"
    return out;
}

std::string CsvField(const std::string& text) {
    std::string value = text;
    if (!value.empty() && (value[0] == '=' || value[0] == '+' || value[0] == '-' || value[0] == '@'))
        value.insert(0, 1, '\'');
    if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string IsoDateTime(TDateTime value) { return DateTimeText(value, 'T'); }

std::string IsoDay(int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", day / 10000, day / 100 % 100, day % 100);
    return text;
}

std::string WriteCsvFile(const std::string& path, const std::function<void(std::ostream&)>& write) {
    const auto failed = [&path](const std::string& why) {
        return QCoreApplication::translate("vx::CsvFile", "Unable to write to %1: %2")
            .arg(QString::fromStdString(path), QString::fromStdString(why))
            .toStdString();
    };
    // Only a regular file is replaced, or a new one made: a pipe would hold
    // the program in open() until a reader comes, a device is no file, and
    // a link would have its target overwritten.
    struct stat old {};
    const bool exists = ::lstat(path.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return failed(std::strerror(errno));
    if (exists && S_ISLNK(old.st_mode)) return failed(QCoreApplication::translate("vx::CsvFile", "it is a symbolic link").toStdString());
    if (exists && !S_ISREG(old.st_mode)) return failed(QCoreApplication::translate("vx::CsvFile", "it is not a regular file").toStdString());

    std::ostringstream text;
    write(text);
    const std::string data = std::move(text).str();

    // Written beside it and renamed over it: a full disk or a crash leaves
    // the earlier file whole.
    const std::filesystem::path target(path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string temp = (folder / ("." + target.filename().string() + ".tmp-XXXXXX")).string();
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return failed(std::strerror(errno));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    int error = ::fchmod(fd, exists ? (old.st_mode & 07777) : (0666 & ~mask)) == 0 ? 0 : errno;
    for (std::size_t done = 0; error == 0 && done < data.size();) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        else done += static_cast<std::size_t>(n);
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return failed(std::strerror(error));
    }
    return {};
}

}  // namespace vx
