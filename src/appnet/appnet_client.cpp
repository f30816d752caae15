#include "appnet/appnet_client.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace vx {

TAppNetReply AskAppNet(const std::string& socketPath, int timeoutMs) {
    TAppNetReply reply;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un at{};
    at.sun_family = AF_UNIX;
    std::strncpy(at.sun_path, socketPath.c_str(), sizeof at.sun_path - 1);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
        const int error = errno;
        reply.Problem = error == ENOENT ? TAppNetProblem::NotInstalled : TAppNetProblem::NotRunning;
        reply.Detail = std::strerror(error);
        if (fd >= 0) ::close(fd);
        return reply;
    }
    std::string text;
    if (::send(fd, kAppNetRequest.data(), kAppNetRequest.size(), MSG_NOSIGNAL) ==
        static_cast<ssize_t>(kAppNetRequest.size())) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        char buffer[8192];
        while (text.find("\nEND\n") == std::string::npos && text.size() < (16u << 20)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            pollfd p{fd, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    reply.Answer = ParseAppNetAnswer(text);
    if (!reply.Answer) {
        reply.Problem = TAppNetProblem::NoAnswer;
        reply.Detail = text.empty() ? "no answer" : "an answer cut short";
    }
    return reply;
}

std::vector<std::string> DesktopDataDirs() {
    std::vector<std::string> dirs;
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome) dirs.emplace_back(dataHome);
    else if (home) dirs.push_back(std::string(home) + "/.local/share");
    if (home) dirs.push_back(std::string(home) + "/.local/share/flatpak/exports/share");
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::istringstream list(dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share");
    for (std::string dir; std::getline(list, dir, ':');)
        if (!dir.empty()) dirs.push_back(dir);
    dirs.emplace_back("/var/lib/flatpak/exports/share");
    return dirs;
}

TDesktopEntry DesktopEntryOf(const std::string& appId, const std::vector<std::string>& dataDirs) {
    if (appId.empty() || appId.find('/') != std::string::npos || appId.starts_with('.')) return {};
    for (const std::string& dir : dataDirs) {
        std::ifstream in(dir + "/applications/" + appId + ".desktop");
        if (!in) continue;
        TDesktopEntry entry;
        bool inMain = false;
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with('[')) {
                if (inMain) break;  // only the first group counts
                inMain = line == "[Desktop Entry]";
                continue;
            }
            if (!inMain) continue;
            if (line.starts_with("Name=") && entry.Name.empty()) entry.Name = line.substr(5);
            if (line.starts_with("Icon=") && entry.Icon.empty()) entry.Icon = line.substr(5);
        }
        return entry;
    }
    return {};
}

std::vector<std::string> ProcessNamesOf(const std::string& root, const std::vector<std::string>& cgroups) {
    std::set<std::string> names;
    for (const std::string& cgroup : cgroups) {
        if (cgroup.find("..") != std::string::npos) continue;
        std::ifstream procs(root + cgroup + "/cgroup.procs");
        for (std::string pid; std::getline(procs, pid);) {
            std::ifstream comm("/proc/" + pid + "/comm");
            std::string name;
            if (std::getline(comm, name) && !name.empty()) names.insert(name);
        }
    }
    return {names.begin(), names.end()};
}

}  // namespace vx
