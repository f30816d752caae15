#include "usage/usage_store.h"

#include <QCoreApplication>
#include <QString>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <ctime>
#include <filesystem>
#include <system_error>

namespace vx {

namespace fs = std::filesystem;

// A prepared statement, finalized when it goes. Step() notes damage on the
// store it belongs to.
class TUsageStore::Statement {
public:
    Statement(TUsageStore& store, const char* sql) : FStore(store) {
        const int rc = sqlite3_prepare_v2(store.FDb, sql, -1, &FStmt, nullptr);
        if (rc != SQLITE_OK) {
            FStore.noteError(rc);
            FStmt = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(FStmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return FStmt != nullptr; }
    Statement& bind(int i, std::int64_t v) {
        if (FStmt) sqlite3_bind_int64(FStmt, i, v);
        return *this;
    }
    Statement& bind(int i, double v) {
        if (FStmt) sqlite3_bind_double(FStmt, i, v);
        return *this;
    }
    Statement& bind(int i, const std::string& v) {
        if (FStmt) sqlite3_bind_text(FStmt, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // A row (true), or the end or an error (false; see done()).
    bool row() {
        if (!FStmt) return false;
        const int rc = sqlite3_step(FStmt);
        if (rc == SQLITE_ROW) return true;
        FFailed = rc != SQLITE_DONE;
        if (FFailed) FStore.noteError(rc);
        return false;
    }
    // Runs a statement that returns no rows; true when it succeeded.
    bool run() {
        while (row()) {
        }
        const bool good = ok() && !FFailed;
        if (FStmt) sqlite3_reset(FStmt);
        FFailed = false;
        return good;
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(FStmt, column); }
    std::uint64_t bytes(int column) const { return static_cast<std::uint64_t>(sqlite3_column_int64(FStmt, column)); }
    double real(int column) const { return sqlite3_column_double(FStmt, column); }
    std::string text(int column) const {
        const auto* t = sqlite3_column_text(FStmt, column);
        return t ? std::string(reinterpret_cast<const char*>(t), static_cast<std::size_t>(sqlite3_column_bytes(FStmt, column)))
                 : std::string();
    }

private:
    TUsageStore& FStore;
    sqlite3_stmt* FStmt = nullptr;
    bool FFailed = false;
};

namespace {

// A message in the user's language, its %1, %2... filled from `args`.
template <typename... Args>
std::string said(const char* text, const Args&... args) {
    const QString message = QCoreApplication::translate("vx::TUsageStore", text);
    if constexpr (sizeof...(args) == 0) return message.toStdString();
    else return message.arg(QString::fromStdString(args)...).toStdString();
}


constexpr const char* kSchema =
    "CREATE TABLE interfaces(id INTEGER PRIMARY KEY, key TEXT NOT NULL UNIQUE, name TEXT NOT NULL,"
    " allowance_gb REAL NOT NULL DEFAULT 0, billing_day INTEGER NOT NULL DEFAULT 1,"
    " notified_period INTEGER NOT NULL DEFAULT 0, notified_level INTEGER NOT NULL DEFAULT 0);"
    "CREATE TABLE daily(interface_id INTEGER NOT NULL REFERENCES interfaces(id), day INTEGER NOT NULL,"
    " received INTEGER NOT NULL, sent INTEGER NOT NULL, PRIMARY KEY(interface_id, day)) WITHOUT ROWID;"
    "CREATE TABLE baselines(interface_id INTEGER PRIMARY KEY REFERENCES interfaces(id), ifindex INTEGER NOT NULL,"
    " boot_id TEXT NOT NULL, received INTEGER NOT NULL, sent INTEGER NOT NULL);";

bool isDamage(int code) {
    code &= 0xff;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

std::string timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
    return text;
}

}  // namespace

TUsageStore::TUsageStore() = default;
TUsageStore::~TUsageStore() { Close(); }

void TUsageStore::Close() {
    if (FDb) sqlite3_close_v2(FDb);
    FDb = nullptr;
    FIds.clear();
}

void TUsageStore::noteError(int code) {
    if (isDamage(code)) FDamaged = true;
    // SQLite calls a write that ran out of space a "disk I/O error".
    const bool full = (code & 0xff) == SQLITE_FULL || (FDb && sqlite3_system_errno(FDb) == ENOSPC);
    FProblem = full ? "the disk is full" : FDb ? sqlite3_errmsg(FDb) : sqlite3_errstr(code);
}

bool TUsageStore::exec(const char* sql) {
    const int rc = sqlite3_exec(FDb, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) noteError(rc);
    return rc == SQLITE_OK;
}

bool TUsageStore::Open(const std::string& path) {
    // Damage a statement ran into is not seen by opening again.
    const bool knownDamaged = FDamaged && IsOpen() && path == FPath;
    Close();
    FPath = path;
    FProblem.clear();
    FMovedAside.clear();
    FDamaged = knownDamaged;
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    const bool walExisted = fs::exists(path + "-wal", ec);
    const bool shmExisted = fs::exists(path + "-shm", ec);
    if (!knownDamaged && openFile() && prepareSchema()) return true;
    if (!FDamaged) {
        Close();
        removeLogsOfFailedOpen(walExisted, shmExisted);
        return false;
    }
    // Unreadable: kept for whoever wants to look at it, and a new one begun.
    if (!moveAside()) {
        Close();
        return false;
    }
    FDamaged = false;
    const std::string aside = FMovedAside;
    const bool opened = openFile() && prepareSchema();
    FMovedAside = aside;
    FProblem = opened ? said(QT_TRANSLATE_NOOP("vx::TUsageStore",
                                         "The usage history could not be read; it was moved to %1 and a new one started."),
                            aside)
                      : FProblem;
    if (!opened) Close();
    return opened;
}

// A log or index that this open made is of no use when the open failed,
// and one made read-only would stop the next run from writing.
void TUsageStore::removeLogsOfFailedOpen(bool walExisted, bool shmExisted) {
    std::error_code ec;
    if (!walExisted) fs::remove(FPath + "-wal", ec);
    if (!shmExisted) fs::remove(FPath + "-shm", ec);
}

bool TUsageStore::openFile() {
    // The history says what was used on which day: the user's alone. The
    // file is made 0600 before SQLite opens it (its log and index take the
    // same mode), and an older one open to others is closed to them.
    const int fd = ::open(FPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        FProblem = FPath + ": " + std::strerror(errno);
        if (errno == EACCES || errno == EROFS || errno == EPERM) FProblem = "the file is read-only";
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 077) != 0 && st.st_uid == ::geteuid())
        (void)::fchmod(fd, st.st_mode & 0700);
    ::close(fd);
    const int rc = sqlite3_open_v2(FPath.c_str(), &FDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        noteError(rc);
        return false;
    }
    sqlite3_busy_timeout(FDb, kBusyTimeoutMs);
    sqlite3_extended_result_codes(FDb, 1);
    if (sqlite3_db_readonly(FDb, "main") == 1) {
        FProblem = "the file is read-only";
        return false;
    }
    return true;
}

bool TUsageStore::prepareSchema() {
    std::int64_t version = -1;
    {
        Statement read(*this, "PRAGMA user_version");
        if (read.row()) version = read.integer(0);
        if (version < 0) return false;
    }
    if (version > kSchemaVersion) {
        FProblem = said(QT_TRANSLATE_NOOP("vx::TUsageStore", "The usage history was written by a newer version of "
                                                         "Vantrix; it is left as it is and nothing is recorded."));
        return false;
    }
    // Reading the schema finds a file that is no database, or a damaged one.
    {
        Statement schema(*this, "SELECT count(*) FROM sqlite_master");
        if (!schema.row()) return false;
    }
    if (!exec("PRAGMA journal_mode=WAL") || !exec("PRAGMA synchronous=NORMAL")) return false;
    if (version == 0) {
        if (!exec("BEGIN IMMEDIATE")) return false;
        if (!exec(kSchema) || !exec("PRAGMA user_version=1") || !exec("COMMIT")) {
            exec("ROLLBACK");
            return false;
        }
    }
    // Every write looks at the interfaces with an allowance: found through
    // this index, not by reading every interface ever seen. (An index
    // changes nothing an earlier version reads.)
    return exec("CREATE INDEX IF NOT EXISTS interfaces_with_allowance ON interfaces(id) WHERE allowance_gb > 0");
}

bool TUsageStore::moveAside() {
    Close();
    std::string target = FPath + ".damaged-" + timestamp();
    std::error_code ec;
    for (int n = 2; fs::exists(target, ec); ++n) target = FPath + ".damaged-" + timestamp() + "-" + std::to_string(n);
    fs::rename(FPath, target, ec);
    if (ec) {
        FProblem = said(QT_TRANSLATE_NOOP("vx::TUsageStore", "The usage history %1 cannot be read or moved aside: %2"), FPath,
                        ec.message());
        return false;
    }
    // The log and its index belong to the old file.
    fs::rename(FPath + "-wal", target + "-wal", ec);
    fs::remove(FPath + "-shm", ec);
    FMovedAside = target;
    return true;
}

std::int64_t TUsageStore::interfaceId(const std::string& key, const std::string& name) {
    if (const auto known = FIds.find(key); known != FIds.end() && known->second.second == name) return known->second.first;
    Statement upsert(*this,
                     "INSERT INTO interfaces(key, name) VALUES(?1, ?2) "
                     "ON CONFLICT(key) DO UPDATE SET name = excluded.name WHERE name <> excluded.name");
    if (!upsert.bind(1, key).bind(2, name).run()) return 0;
    Statement find(*this, "SELECT id FROM interfaces WHERE key = ?1");
    const std::int64_t id = find.bind(1, key).row() ? find.integer(0) : 0;
    if (id) FIds[key] = {id, name};
    return id;
}

bool TUsageStore::Commit(const TUsageBatch& batch) {
    if (!FDb || !exec("BEGIN IMMEDIATE")) return false;
    std::map<std::string, std::int64_t> ids;
    bool good = true;
    for (const auto& [key, name] : batch.Names) {
        const std::int64_t id = interfaceId(key, name);
        good = good && id != 0;
        ids[key] = id;
    }
    auto idOf = [&ids](const std::string& key) {
        const auto it = ids.find(key);
        return it == ids.end() ? 0 : it->second;
    };
    Statement add(*this,
                  "INSERT INTO daily(interface_id, day, received, sent) VALUES(?1, ?2, ?3, ?4) "
                  "ON CONFLICT(interface_id, day) DO UPDATE SET received = received + excluded.received, "
                  "sent = sent + excluded.sent");
    for (const auto& [at, bytes] : batch.Increments) {
        const std::int64_t id = idOf(at.first);
        good = good && id != 0 &&
               add.bind(1, id)
                   .bind(2, std::int64_t{at.second})
                   .bind(3, static_cast<std::int64_t>(bytes.Received))
                   .bind(4, static_cast<std::int64_t>(bytes.Sent))
                   .run();
    }
    Statement base(*this,
                   "INSERT OR REPLACE INTO baselines(interface_id, ifindex, boot_id, received, sent) "
                   "VALUES(?1, ?2, ?3, ?4, ?5)");
    for (const TUsageBaseline& b : batch.Baselines) {
        const std::int64_t id = idOf(b.Key);
        good = good && id != 0 &&
               base.bind(1, id)
                   .bind(2, std::int64_t{b.Index})
                   .bind(3, b.BootId)
                   .bind(4, static_cast<std::int64_t>(b.Counters.Received))
                   .bind(5, static_cast<std::int64_t>(b.Counters.Sent))
                   .run();
    }
    if (good && exec("COMMIT")) return true;
    const std::string why = FProblem;  // not the rollback's own complaint
    exec("ROLLBACK");
    FProblem = why;
    FIds.clear();  // ids made in the rolled-back transaction are gone
    return false;
}

std::vector<TUsageBaseline> TUsageStore::Baselines(const std::string& bootId) {
    std::vector<TUsageBaseline> out;
    if (!FDb) return out;
    {
        Statement drop(*this, "DELETE FROM baselines WHERE boot_id <> ?1");
        drop.bind(1, bootId).run();
    }
    Statement q(*this,
                "SELECT i.key, b.ifindex, b.boot_id, b.received, b.sent FROM baselines b "
                "JOIN interfaces i ON i.id = b.interface_id WHERE b.boot_id = ?1");
    q.bind(1, bootId);
    while (q.row())
        out.push_back({q.text(0), static_cast<std::uint32_t>(q.integer(1)), q.text(2), {q.bytes(3), q.bytes(4)}});
    return out;
}

namespace {
constexpr const char* kInterfaceColumns =
    "SELECT id, key, name, allowance_gb, billing_day, notified_period, notified_level FROM interfaces";
}

std::vector<TUsageInterface> TUsageStore::Interfaces() { return interfaces(" ORDER BY name COLLATE NOCASE, id"); }

std::vector<TUsageInterface> TUsageStore::InterfacesWithAllowance() { return interfaces(" WHERE allowance_gb > 0"); }

std::optional<TUsageInterface> TUsageStore::Interface(std::int64_t id) {
    if (!FDb) return std::nullopt;
    auto found = interfaces(" WHERE id = ?1", id);
    if (found.empty()) return std::nullopt;
    return std::move(found.front());
}

// The interfaces the query's tail picks (`id` binds ?1 when given).
std::vector<TUsageInterface> TUsageStore::interfaces(const char* tail, std::optional<std::int64_t> id) {
    std::vector<TUsageInterface> out;
    if (!FDb) return out;
    Statement q(*this, (std::string(kInterfaceColumns) + tail).c_str());
    if (id) q.bind(1, *id);
    while (q.row())
        out.push_back({q.integer(0), q.text(1), q.text(2), q.real(3), static_cast<int>(q.integer(4)),
                       static_cast<int>(q.integer(5)), static_cast<int>(q.integer(6))});
    return out;
}

bool TUsageStore::SetAllowance(std::int64_t id, double gigabytes, int billingDay) {
    if (!FDb) return false;
    Statement q(*this, "UPDATE interfaces SET allowance_gb = ?2, billing_day = ?3 WHERE id = ?1");
    return q.bind(1, id).bind(2, gigabytes > 0 ? gigabytes : 0.0).bind(3, std::int64_t{billingDay}).run();
}

bool TUsageStore::SetNotified(std::int64_t id, int period, int level) {
    if (!FDb) return false;
    Statement q(*this, "UPDATE interfaces SET notified_period = ?2, notified_level = ?3 WHERE id = ?1");
    return q.bind(1, id).bind(2, std::int64_t{period}).bind(3, std::int64_t{level}).run();
}

TUsageBytes TUsageStore::Sum(std::int64_t id, int from, int to) {
    if (!FDb) return {};
    Statement q(*this,
                "SELECT coalesce(sum(received), 0), coalesce(sum(sent), 0) FROM daily "
                "WHERE interface_id = ?1 AND day >= ?2 AND day < ?3");
    if (!q.bind(1, id).bind(2, std::int64_t{from}).bind(3, std::int64_t{to}).row()) return {};
    return {q.bytes(0), q.bytes(1)};
}

std::vector<TDayUsage> TUsageStore::Days(std::int64_t id, int from, int to) {
    std::vector<TDayUsage> out;
    if (!FDb) return out;
    Statement q(*this,
                "SELECT day, received, sent FROM daily WHERE interface_id = ?1 AND day >= ?2 AND day < ?3 ORDER BY day");
    q.bind(1, id).bind(2, std::int64_t{from}).bind(3, std::int64_t{to});
    while (q.row()) out.push_back({static_cast<int>(q.integer(0)), {q.bytes(1), q.bytes(2)}});
    return out;
}

std::vector<TDayUsage> TUsageStore::Months(std::int64_t id, int from, int to) {
    std::vector<TDayUsage> out;
    if (!FDb) return out;
    Statement q(*this,
                "SELECT day / 100, sum(received), sum(sent) FROM daily "
                "WHERE interface_id = ?1 AND day >= ?2 AND day < ?3 GROUP BY day / 100 ORDER BY day / 100");
    q.bind(1, id).bind(2, std::int64_t{from}).bind(3, std::int64_t{to});
    while (q.row()) out.push_back({static_cast<int>(q.integer(0)), {q.bytes(1), q.bytes(2)}});
    return out;
}

void TUsageStore::forEachDay(void (*row)(void*, const std::string&, int, const TUsageBytes&), void* context) {
    if (!FDb) return;
    Statement q(*this,
                "SELECT i.name, d.day, d.received, d.sent FROM daily d JOIN interfaces i ON i.id = d.interface_id "
                "ORDER BY i.name COLLATE NOCASE, i.id, d.day");
    while (q.row()) row(context, q.text(0), static_cast<int>(q.integer(1)), {q.bytes(2), q.bytes(3)});
}

}  // namespace vx
