#include "shell/autostart.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QUtf8StringView>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>

#include "shell/settings_location.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// The program as PATH finds it under its installed name, if it is this file.
bool isOnPathAsVantrix(const std::string& programFile) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::stringstream folders(path);
    std::error_code ec;
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (folder.empty()) continue;
        const fs::path candidate = fs::path(folder) / "vantrix";
        if (fs::exists(candidate, ec) && fs::equivalent(candidate, programFile, ec)) return true;
    }
    return false;
}

}  // namespace

std::string TAutostart::EntryPath() {
    const std::string config = GetSpecialFolderPath(CSIDL_APPDATA);
    if (config.empty()) return {};
    return (fs::path(config) / "autostart" / (std::string(VX_APP_ID) + ".desktop")).string();
}

bool TAutostart::Enabled() {
    std::error_code ec;
    const std::string path = EntryPath();
    return !path.empty() && fs::is_regular_file(path, ec);
}

std::string TAutostart::ExecValue(const std::string& programFile) {
    // Arguments with reserved characters are quoted, with ", `, $ and \ escaped;
    // % is doubled; then the value itself escapes its backslashes.
    bool quote = false;
    for (const char c : programFile)
        if (std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos) quote = true;
    std::string arg;
    for (const char c : programFile) {
        if (c == '%') {
            arg += "%%";
            continue;
        }
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) arg += '\\';
        arg += c;
    }
    if (quote) arg = "\"" + arg + "\"";
    // GLib looks for the program named first without undoing the %% it
    // holds, finds no such file and refuses the entry: a path with a %
    // starts through env, which GLib finds, and which gets the path with
    // its % restored.
    if (programFile.find('%') != std::string::npos) arg = "env " + arg;
    std::string value;
    for (const char c : arg) {
        if (c == '\\') value += '\\';
        value += c;
    }
    return value;
}

std::string TAutostart::CannotStart(const std::string& programFile) {
    if (!QUtf8StringView(programFile).isValidUtf8())
        return QCoreApplication::translate("vx::TAutostart", "Its path is not valid UTF-8, which a desktop entry cannot hold.").toStdString();
    for (const unsigned char c : programFile)
        if (c < 0x20 || c == 0x7f) return QCoreApplication::translate("vx::TAutostart", "Its path holds a control character, which a desktop entry cannot hold.").toStdString();
    return {};
}

std::string TAutostart::Enable(const std::string& programFile, bool portable) {
    const std::string path = EntryPath();
    if (path.empty()) return QCoreApplication::translate("vx::TAutostart", "No configuration folder is known.").toStdString();
    if (std::string why = CannotStart(programFile); !why.empty()) return why;
    const std::string exec = !portable && isOnPathAsVantrix(programFile) ? "vantrix" : ExecValue(programFile);
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    const std::string temp = path + ".tmp-" + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::trunc);
        if (!out) return path + ": " + std::strerror(errno);
        out << "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Vantrix\n"
               "Comment=Watch the download and upload rates of your network interfaces\n"
               "Exec="
            << exec << "\n"
            << "Icon=" << VX_APP_ID << "\n"
            << "Terminal=false\n"
               "X-GNOME-Autostart-enabled=true\n";
        out.flush();
        if (!out) {
            const int error = errno;
            fs::remove(temp, ec);
            return path + ": " + std::strerror(error);
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return path + ": " + ec.message();
    }
    return Enabled() ? std::string() : path + ": not written";
}

bool TAutostart::Disable() {
    std::error_code ec;
    fs::remove(EntryPath(), ec);
    return !Enabled();
}

}  // namespace vx
