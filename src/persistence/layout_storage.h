#pragma once

// Where the layout manager keeps what it saves. Reads take the value that
// they return when the key is absent or its text does not convert.

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "sysinfo/date_time.h"

namespace vx {

class ILayoutManagerStorage {
public:
    virtual ~ILayoutManagerStorage() = default;

    virtual bool Opened() = 0;
    virtual void SetOpened(bool value) = 0;
    virtual bool SectionExists(const std::string& section) = 0;
    virtual bool ValueExists(const std::string& section, const std::string& key) = 0;
    virtual void WriteInteger(const std::string& section, const std::string& key, std::int64_t value) = 0;
    virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual void WriteFloat(const std::string& section, const std::string& key, double value) = 0;
    virtual void WriteDatetime(const std::string& section, const std::string& key, TDateTime value) = 0;
    virtual void WriteBoolean(const std::string& section, const std::string& key, bool value) = 0;
    virtual std::int64_t ReadInteger(const std::string& section, const std::string& key, std::int64_t def) = 0;
    virtual std::string ReadString(const std::string& section, const std::string& key, const std::string& def) = 0;
    virtual double ReadFloat(const std::string& section, const std::string& key, double def) = 0;
    virtual TDateTime ReadDatetime(const std::string& section, const std::string& key, TDateTime def) = 0;
    virtual bool ReadBoolean(const std::string& section, const std::string& key, bool def) = 0;
    virtual void ReadSection(const std::string& section, std::vector<std::string>& lines) = 0;
    virtual void DeleteSection(const std::string& section) = 0;
    virtual void DeleteValue(const std::string& section, const std::string& key) = 0;
    virtual void Save() = 0;
    virtual void Open(bool readOnly) = 0;
    virtual void Close() = 0;
    // One whole save as one change: between BeginUpdate and the matching
    // EndUpdate, Close keeps what was written, and the outermost EndUpdate
    // writes it all at once (commit) or drops it (a save that failed part
    // way leaves the stored state as it was). Nests. Storages without such
    // a notion write as they go.
    virtual void BeginUpdate() {}
    virtual void EndUpdate(bool commit) { (void)commit; }
};

// Brackets one whole save; drops the gathered writes when an error leaves
// the scope, commits them otherwise.
class TStorageUpdate {
public:
    explicit TStorageUpdate(ILayoutManagerStorage* storage) : FStorage(storage) {
        if (FStorage) FStorage->BeginUpdate();
    }
    TStorageUpdate(const TStorageUpdate&) = delete;
    TStorageUpdate& operator=(const TStorageUpdate&) = delete;
    ~TStorageUpdate() noexcept(false) {
        if (!FStorage) return;
        if (std::uncaught_exceptions() > FExceptions) {
            try {
                FStorage->EndUpdate(false);
            } catch (...) {
            }
            return;
        }
        FStorage->EndUpdate(true);
    }

private:
    ILayoutManagerStorage* FStorage;
    int FExceptions = std::uncaught_exceptions();
};

// Storage objects are shared: every holder of the interface keeps it alive.
using ILayoutManagerStorageRef = std::shared_ptr<ILayoutManagerStorage>;

}  // namespace vx
