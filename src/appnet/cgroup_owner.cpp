#include "appnet/cgroup_owner.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace vx {
namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string_view::npos; from = at + 1)
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

bool strip(std::string_view& text, std::string_view prefix, std::string_view suffix) {
    if (text.size() <= prefix.size() + suffix.size() || !text.starts_with(prefix) || !text.ends_with(suffix))
        return false;
    text = text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
    return true;
}

// The application id an app-* unit names; nothing for another unit.
std::optional<std::string> applicationOf(std::string_view unit) {
    std::string_view name = unit;
    if (strip(name, "app-", ".scope")) {
        // [launcher-]id-random
        const auto parts = split(name, '-');
        if (parts.size() < 2) return std::nullopt;
        return UnescapeUnitName(parts[parts.size() - 2]);
    }
    if (strip(name, "app-", ".service")) {
        // [launcher-]id[@random]
        const auto parts = split(name.substr(0, name.find('@')), '-');
        return UnescapeUnitName(parts.back());
    }
    if (strip(name, "app-", ".slice")) return UnescapeUnitName(split(name, '-').back());
    return std::nullopt;
}

std::optional<uid_t> userOfSlice(std::string_view unit) {
    std::string_view digits = unit;
    if (!strip(digits, "user-", ".slice")) return std::nullopt;
    uid_t uid = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), uid);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return uid;
}

}  // namespace

std::string UnescapeUnitName(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        unsigned value = 0;
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            std::from_chars(name.data() + i + 2, name.data() + i + 4, value, 16).ptr == name.data() + i + 4) {
            out.push_back(static_cast<char>(value));
            i += 3;
        } else {
            out.push_back(name[i]);
        }
    }
    return out;
}

TCgroupOwner OwnerOfCgroup(std::string_view path) {
    std::vector<std::string_view> units;
    for (std::string_view part : split(path, '/'))
        if (!part.empty()) units.push_back(part);
    TCgroupOwner owner;
    for (std::string_view unit : units)
        if (const auto uid = userOfSlice(unit)) owner.Uid = uid;
    // The unit nearest the leaf that names an application decides.
    for (auto it = units.rbegin(); it != units.rend(); ++it)
        if (auto id = applicationOf(*it)) {
            owner.Kind = TOwnerKind::Application;
            owner.Id = std::move(*id);
            return owner;
        }
    if (owner.Uid) {
        for (std::size_t i = 0; i < units.size(); ++i) {
            if (units[i].starts_with("user@") && units[i].ends_with(".service")) {
                owner.Kind = TOwnerKind::UserService;
                // The service's own unit below the manager (app.slice and
                // session.slice hold them); the manager itself otherwise.
                owner.Id = std::string(units[i]);
                for (std::size_t j = i + 1; j < units.size(); ++j)
                    if (!units[j].ends_with(".slice")) {
                        owner.Id = UnescapeUnitName(units[j]);
                        break;
                    }
                return owner;
            }
            if (units[i].starts_with("session-") && units[i].ends_with(".scope")) {
                owner.Kind = TOwnerKind::Session;
                owner.Id = std::string(units[i]);
                return owner;
            }
        }
    } else if (units.size() >= 2 && units[0] == "system.slice") {
        owner.Kind = TOwnerKind::SystemService;
        for (std::size_t j = 1; j < units.size(); ++j)
            if (!units[j].ends_with(".slice")) {
                owner.Id = UnescapeUnitName(units[j]);
                return owner;
            }
        owner.Id = UnescapeUnitName(units.back());
        return owner;
    }
    owner.Kind = TOwnerKind::Other;
    owner.Id = path.empty() ? "/" : std::string(path);
    return owner;
}

std::optional<std::string> CgroupV2Root(std::string_view mountinfo) {
    // id parent major:minor root mount-point options [optional...] - fstype source super-options
    std::istringstream lines{std::string(mountinfo)};
    for (std::string line; std::getline(lines, line);) {
        const std::size_t dash = line.find(" - ");
        if (dash == std::string::npos) continue;
        std::istringstream tail(line.substr(dash + 3));
        std::string type;
        tail >> type;
        if (type != "cgroup2") continue;
        std::istringstream head(line.substr(0, dash));
        std::string id, parent, device, root, mountPoint;
        if (!(head >> id >> parent >> device >> root >> mountPoint)) continue;
        // Blanks and other bytes in a mount point come as octal escapes.
        std::string unescaped;
        for (std::size_t i = 0; i < mountPoint.size(); ++i) {
            if (mountPoint[i] == '\\' && i + 3 < mountPoint.size()) {
                unsigned value = 0;
                if (std::from_chars(mountPoint.data() + i + 1, mountPoint.data() + i + 4, value, 8).ptr ==
                    mountPoint.data() + i + 4) {
                    unescaped.push_back(static_cast<char>(value));
                    i += 3;
                    continue;
                }
            }
            unescaped.push_back(mountPoint[i]);
        }
        return unescaped;
    }
    return std::nullopt;
}

}  // namespace vx
