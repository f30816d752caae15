#include "appnet/traffic_book.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace vx {

namespace {

TTrafficTotals totalsOf(const TCgroupTraffic& t) {
    return {t.ReceivedBytes, t.SentBytes, t.ReceivedPackets, t.SentPackets};
}

// The row a cgroup's traffic goes to, for `asker`.
std::pair<TRowKind, std::string> rowOf(const TCgroupOwner& owner, uid_t asker) {
    if (owner.Uid && *owner.Uid != asker) return {TRowKind::OtherUsers, {}};
    switch (owner.Kind) {
        case TOwnerKind::Application:
            if (owner.Uid) return {TRowKind::Application, owner.Id};
            return {TRowKind::System, {}};  // an application outside any user's slice
        case TOwnerKind::UserService: return {TRowKind::UserService, owner.Id};
        case TOwnerKind::Session: return {TRowKind::Session, owner.Id};
        case TOwnerKind::SystemService: return {TRowKind::SystemService, owner.Id};
        case TOwnerKind::Other:
            // The asker's own slice outside any unit, else the system's.
            if (owner.Uid) return {TRowKind::UserService, owner.Id.substr(owner.Id.rfind('/') + 1)};
            return {TRowKind::System, {}};
    }
    return {TRowKind::System, {}};
}

}  // namespace

TTrafficBook::TTrafficBook(std::string root, TResolver resolve, TExists exists)
    : FRoot(std::move(root)), FResolve(resolve), FExists(exists) {}

TTrafficBook::TKey TTrafficBook::keyOf(const TCgroupOwner& owner) {
    return {static_cast<int>(owner.Kind), owner.Id, owner.Uid};
}

std::vector<std::uint64_t> TTrafficBook::Take(const std::vector<TCgroupTraffic>& reading) {
    std::vector<std::uint64_t> forget;
    std::vector<std::uint64_t> unknown;
    for (const TCgroupTraffic& t : reading)
        if (!FLive.contains(t.Cgroup)) unknown.push_back(t.Cgroup);
    const std::map<std::uint64_t, std::string> found =
        unknown.empty() ? std::map<std::uint64_t, std::string>{} : FResolve(FRoot, unknown);
    std::set<std::uint64_t> seen;
    for (const TCgroupTraffic& t : reading) {
        seen.insert(t.Cgroup);
        if (auto live = FLive.find(t.Cgroup); live != FLive.end()) {
            live->second.Totals = totalsOf(t);
            continue;
        }
        if (const auto path = found.find(t.Cgroup); path != found.end()) {
            FLive[t.Cgroup] = {path->second, OwnerOfCgroup(path->second), totalsOf(t)};
            continue;
        }
        // Gone before it could be named: the system's, as nobody's.
        FGone[keyOf(TCgroupOwner{})] += totalsOf(t);
        forget.push_back(t.Cgroup);
    }
    for (auto it = FLive.begin(); it != FLive.end();) {
        // Forgotten by the kernel map (a counter that started anew) or gone.
        if (seen.contains(it->first) && FExists(FRoot, it->second.Path, it->first)) {
            ++it;
            continue;
        }
        FGone[keyOf(it->second.Owner)] += it->second.Totals;
        if (seen.contains(it->first)) forget.push_back(it->first);
        it = FLive.erase(it);
    }
    return forget;
}

std::vector<TTrafficRow> TTrafficBook::Rows(uid_t asker) const {
    std::map<std::pair<TRowKind, std::string>, TTrafficRow> rows;
    const auto row = [&](const std::pair<TRowKind, std::string>& at) -> TTrafficRow& {
        TTrafficRow& r = rows[at];
        r.Kind = at.first;
        r.Id = at.second;
        return r;
    };
    for (const auto& [id, live] : FLive) {
        const auto at = rowOf(live.Owner, asker);
        TTrafficRow& r = row(at);
        r.Totals += live.Totals;
        if (at.first == TRowKind::Application || at.first == TRowKind::UserService || at.first == TRowKind::Session)
            r.Cgroups.push_back(live.Path);
    }
    for (const auto& [key, totals] : FGone) {
        const TCgroupOwner owner{static_cast<TOwnerKind>(std::get<0>(key)), std::get<1>(key), std::get<2>(key)};
        row(rowOf(owner, asker)).Totals += totals;
    }
    std::vector<TTrafficRow> out;
    for (auto& [at, r] : rows) out.push_back(std::move(r));
    return out;
}

std::map<std::uint64_t, std::string> ResolveCgroups(const std::string& root, const std::vector<std::uint64_t>& ids) {
    namespace fs = std::filesystem;
    std::map<std::uint64_t, std::string> found;
    const std::set<std::uint64_t> wanted(ids.begin(), ids.end());
    const auto check = [&](const fs::path& dir, const std::string& relative) {
        struct stat st {};
        if (::lstat(dir.c_str(), &st) == 0 && wanted.contains(st.st_ino)) found[st.st_ino] = relative;
    };
    check(root, "/");
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end && found.size() < wanted.size(); it.increment(error)) {
        if (!it->is_directory(error) || it->is_symlink(error)) continue;
        check(it->path(), it->path().string().substr(root.size()));
    }
    return found;
}

bool CgroupExists(const std::string& root, const std::string& path, std::uint64_t id) {
    struct stat st {};
    return ::lstat((root + path).c_str(), &st) == 0 && st.st_ino == id;
}

}  // namespace vx
