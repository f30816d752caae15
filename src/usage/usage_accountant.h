#pragma once

// Turns counter readings into booked traffic. Only differences of one
// interface's 64-bit counters are counted: a counter that went backwards
// (a driver reload, an interface re-created) or a new interface index
// starts a new baseline and counts nothing for that reading. Traffic while
// the program was closed is counted once, at the first reading of a run,
// when the machine has not restarted since the last baseline was kept
// (same boot id) and the interface still has the same index; otherwise it
// is not guessed.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "usage/usage_records.h"

namespace vx {

class TUsageAccountant {
public:
    // stored: the baselines the last run kept.
    TUsageAccountant(std::string bootId, const std::vector<TUsageBaseline>& stored);

    // Books the differences since the last reading on `day` (yyyymmdd).
    void Account(const std::vector<TUsageReading>& readings, int day);
    // What is not yet written: the increments, the names and baselines of
    // every interface seen.
    const TUsageBatch& Pending() const { return FPending; }
    bool HasPending() const { return !FPending.Increments.empty() || !FPending.Baselines.empty(); }
    // The pending batch is on disk: only later readings are pending now.
    void Committed();
    // The baselines of the last run, known only now (the history could not
    // be opened at the start, and the readings since were counted from the
    // first one of this run): traffic while the program was closed is
    // booked as at the start, on the first reading's day.
    void AdoptStored(const std::vector<TUsageBaseline>& stored);

private:
    // Books traffic on an interface, and on the uplink total when the
    // interface is physical.
    void book(const std::string& key, int day, const TUsageBytes& delta);

    std::string FBootId;
    std::set<std::string> FPhysical;  // keys of the physical interfaces seen
    std::map<std::string, TUsageBaseline> FStored;  // of the last run, by key, until first seen
    std::map<std::string, TUsageBaseline> FCurrent;
    std::map<std::string, std::pair<TUsageBaseline, int>> FFirst;  // this run's first reading and its day
    std::set<std::string> FNoCatchUp;  // keys seen whose readings never continue an earlier run
    TUsageBatch FPending;
};

}  // namespace vx
