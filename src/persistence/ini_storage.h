#pragma once

#include <memory>

#include "persistence/ini_file.h"
#include "persistence/layout_storage.h"

namespace vx {

// The settings file as layout storage.
//
// Opened lazily: reads open it read-only, writes open it for writing, and
// only a write creates the file and its missing folders; reading a storage
// whose file does not exist returns every default and creates nothing.
// Between operations the storage is normally closed (the layout manager
// closes it after each component); SectionExists closes it by itself.
//
// Stored forms: integers in decimal (read also as "$1F", "0x1F"), Booleans
// as "1"/"0" (any integer reads), floats with "." whatever the locale,
// date-times as "yyyy-mm-dd hh:nn:ss", strings unchanged. Values read are
// cut at 2047 characters. Section and key names ignore case; the file keeps
// the order in which sections and keys were first written.
//
// Writes replace the file atomically. A write that opened the storage by
// itself reaches the disk at once. After an explicit Open(false), as the
// layout manager does around each component, writes are gathered and
// reach the disk together at Close (or SectionExists): one replace per
// component. A refused write throws EIniFileException ("Unable to write to
// <path>") from the write or from that Close and leaves the file as it was;
// so does any write while FileName is empty.
class TLayoutManagerINIStorage : public ILayoutManagerStorage {
public:
    TLayoutManagerINIStorage() = default;
    // Writes what is still gathered; a failure can no longer be reported here.
    ~TLayoutManagerINIStorage() override;

    const std::string& FileName() const { return FFileName; }
    // A different name closes the storage and, when it was Opened, reopens
    // it read-only on the new file; the same name changes nothing.
    void SetFileName(const std::string& name);

    // True only while the accessor exists and the file is on disk.
    bool Opened() override;
    // true: Open(true); false: Close().
    void SetOpened(bool value) override;
    // Whether the section holds a key; closes the storage before returning.
    bool SectionExists(const std::string& section) override;
    bool ValueExists(const std::string& section, const std::string& key) override;
    void WriteInteger(const std::string& section, const std::string& key, std::int64_t value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    void WriteFloat(const std::string& section, const std::string& key, double value) override;
    void WriteDatetime(const std::string& section, const std::string& key, TDateTime value) override;
    void WriteBoolean(const std::string& section, const std::string& key, bool value) override;
    std::int64_t ReadInteger(const std::string& section, const std::string& key, std::int64_t def) override;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) override;
    double ReadFloat(const std::string& section, const std::string& key, double def) override;
    TDateTime ReadDatetime(const std::string& section, const std::string& key, TDateTime def) override;
    bool ReadBoolean(const std::string& section, const std::string& key, bool def) override;
    // Empties lines, then adds "key=value" per key of the section in file order.
    void ReadSection(const std::string& section, std::vector<std::string>& lines) override;
    void DeleteSection(const std::string& section) override;
    void DeleteValue(const std::string& section, const std::string& key) override;
    // Every write is already on disk, and nothing on this system holds a
    // settings file locked, so there is nothing to wait for or flush.
    void Save() override {}
    // Creates the accessor (and, unless readOnly, the file's folder chain)
    // when there is none and FileName is set. Reads nothing. Open(false)
    // gathers the following writes until Close.
    void Open(bool readOnly) override;
    // Writes gathered writes, then drops the accessor (also when the write
    // is refused, which then throws). Inside an update it keeps gathering.
    void Close() override;
    // A whole-form save reaches the disk as one atomic replace, so the file
    // always holds the state before or after a whole save.
    void BeginUpdate() override;
    void EndUpdate(bool commit) override;

private:
    void openAccessor(bool readOnly);
    void openForRead();
    TIniFile& writer();
    std::optional<std::string> storedText(const std::string& section, const std::string& key);

    std::unique_ptr<TIniFile> FStorage;
    std::string FFileName;
    int FUpdateDepth = 0;
};

}  // namespace vx
