#pragma once

// The counter's book: every cgroup the kernel counted, resolved to its path
// and owner while its directory exists, and the totals of cgroups that went
// away, kept under their owner (their map entries are then deleted: the
// kernel never removes one, and a full map counts no new cgroup). What a
// user is shown (Rows) depends on who asks: their own units in full
// (everything under their user-<uid>.slice), the system's services summed
// per unit, everybody else's traffic as one "other users" total, and the
// rest (the root, cgroups outside the rules) as one "system" total.

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "appnet/cgroup_counter.h"
#include "appnet/cgroup_owner.h"
#include "appnet/traffic_rows.h"

namespace vx {

class TTrafficBook {
public:
    // Where a cgroup id's directory is now (relative to the root, "/..."),
    // for ids not yet known; ids it cannot place are taken as gone.
    using TResolver = std::map<std::uint64_t, std::string> (*)(const std::string& root,
                                                                 const std::vector<std::uint64_t>& ids);
    // Whether the cgroup at `path` still has id `id`.
    using TExists = bool (*)(const std::string& root, const std::string& path, std::uint64_t id);

    TTrafficBook(std::string root, TResolver resolve, TExists exists);

    // Takes a reading of the counter. Returns the ids of cgroups that went
    // away, their totals now booked under their owners: the counter is to
    // forget them.
    std::vector<std::uint64_t> Take(const std::vector<TCgroupTraffic>& reading);
    std::vector<TTrafficRow> Rows(uid_t asker) const;
    std::size_t LiveCgroups() const { return FLive.size(); }

private:
    struct TLive {
        std::string Path;
        TCgroupOwner Owner;
        TTrafficTotals Totals;
    };
    using TKey = std::tuple<int, std::string, std::optional<uid_t>>;  // kind, id, uid
    static TKey keyOf(const TCgroupOwner& owner);

    std::string FRoot;
    TResolver FResolve;
    TExists FExists;
    std::map<std::uint64_t, TLive> FLive;
    std::map<TKey, TTrafficTotals> FGone;
};

// The system's own resolver and check, over the cgroup tree at `root`.
std::map<std::uint64_t, std::string> ResolveCgroups(const std::string& root, const std::vector<std::uint64_t>& ids);
bool CgroupExists(const std::string& root, const std::string& path, std::uint64_t id);

}  // namespace vx
