#pragma once

// The usage history on disk: an SQLite database (write-ahead log) beside
// the settings file. One row per interface and local day with the bytes
// received and sent; the interfaces with their allowances; the last
// counters seen of each. A database that cannot be read is moved aside
// with a timestamp and a fresh one started; one written by a newer version
// is left alone and nothing is recorded.

#include <memory>
#include <optional>
#include <string>

#include "usage/usage_records.h"

struct sqlite3;

namespace vx {

class TUsageStore {
public:
    static constexpr int kSchemaVersion = 1;

    TUsageStore();
    ~TUsageStore();
    TUsageStore(const TUsageStore&) = delete;
    TUsageStore& operator=(const TUsageStore&) = delete;

    // Opens (creating the file, readable by the user alone, and its folder
    // when missing). False when no history can be kept; Problem() then says
    // why, and no log file of this attempt is left behind. A damaged file
    // is moved aside first (MovedAsideTo() names where) and a fresh one
    // opened. A file that is read-only is not opened.
    bool Open(const std::string& path);
    bool IsOpen() const { return FDb != nullptr; }
    void Close();
    const std::string& Path() const { return FPath; }
    // How long a statement waits for another program's lock before it
    // fails (the recorder tries again at its next write): short, since it
    // runs on the GUI thread.
    static constexpr int kBusyTimeoutMs = 100;
    // The last thing that went wrong, for the user; empty when all is well.
    const std::string& Problem() const { return FProblem; }
    const std::string& MovedAsideTo() const { return FMovedAside; }
    // Whether a statement found the file damaged since it was opened (the
    // owner then opens it again, which moves it aside).
    bool FoundDamage() const { return FDamaged; }

    // Adds the batch in one transaction; false (nothing written) on failure.
    bool Commit(const TUsageBatch& batch);

    // The baselines kept in this boot (`bootId`); those of other boots
    // are of no use again and are dropped.
    std::vector<TUsageBaseline> Baselines(const std::string& bootId);
    std::vector<TUsageInterface> Interfaces();
    // Only the interfaces with an allowance (what every write checks).
    std::vector<TUsageInterface> InterfacesWithAllowance();
    std::optional<TUsageInterface> Interface(std::int64_t id);
    bool SetAllowance(std::int64_t id, double gigabytes, int billingDay);
    bool SetNotified(std::int64_t id, int period, int level);

    // Sum over days from `from` up to, not including, `to` (yyyymmdd).
    TUsageBytes Sum(std::int64_t id, int from, int to);
    // The days with traffic in [from, to), in order.
    std::vector<TDayUsage> Days(std::int64_t id, int from, int to);
    // Per month (Day = yyyymm) over the days in [from, to), in order.
    std::vector<TDayUsage> Months(std::int64_t id, int from, int to);
    // Every row: interface name, day, bytes; by name, then day.
    template <typename Row>
    void ForEachDay(Row row);

private:
    class Statement;
    bool openFile();
    bool prepareSchema();
    bool exec(const char* sql);
    bool moveAside();
    void removeLogsOfFailedOpen(bool walExisted, bool shmExisted);
    void noteError(int code);
    std::int64_t interfaceId(const std::string& key, const std::string& name);
    std::vector<TUsageInterface> interfaces(const char* tail, std::optional<std::int64_t> id = std::nullopt);
    void forEachDay(void (*row)(void*, const std::string&, int, const TUsageBytes&), void* context);

    // Interface ids by key, with the name last written, so that a write
    // touches the interfaces table only for new or renamed interfaces.
    std::map<std::string, std::pair<std::int64_t, std::string>> FIds;
    sqlite3* FDb = nullptr;
    std::string FPath;
    std::string FProblem;
    std::string FMovedAside;
    bool FDamaged = false;
};

template <typename Row>
void TUsageStore::ForEachDay(Row row) {
    forEachDay(
        [](void* context, const std::string& name, int day, const TUsageBytes& bytes) {
            (*static_cast<Row*>(context))(name, day, bytes);
        },
        &row);
}

}  // namespace vx
