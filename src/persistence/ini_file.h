#pragma once

// The INI file accessor: reads and writes one INI file on disk. A write
// replaces the file atomically (a temporary file in the same folder is
// written, flushed and renamed over the old one), so a crash or a full disk
// leaves either the old or the new file, never a torn one. Reads see the
// file as it is now, also after another process wrote it.
//
// Writes reach the disk at once, unless the accessor is told to gather
// them (setDeferred): then they are kept in memory, seen by reads, and
// written in one replace by commit(). A layout save gathers the keys of
// one component this way: one disk write per component instead of one per
// key, and each component's keys land together.

#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "persistence/ini_document.h"

namespace vx {

// A write that the file system refused. The message is
// "Unable to write to <full path>".
class EIniFileException : public std::runtime_error {
public:
    explicit EIniFileException(const std::string& fileName);
};

// Removes the temporary files that writers of `fileName` left behind when
// they were killed mid-write (".<name>.tmp-<pid>-<hex>" beside the file, or
// beside the file a link points to), for writers that no longer run.
// Returns how many were removed.
int RemoveStaleTempFiles(const std::string& fileName);

class TIniFile {
public:
    // Values read back are cut to this many characters.
    static constexpr std::size_t kMaxValueChars = 2047;

    // Neither creates nor reads the file.
    explicit TIniFile(std::string fileName);

    const std::string& fileName() const { return FFileName; }

    bool sectionExists(const std::string& section);
    bool valueExists(const std::string& section, const std::string& key);
    // Nothing for an absent key; a present value is cut to kMaxValueChars.
    std::optional<std::string> readString(const std::string& section, const std::string& key);
    std::vector<std::string> readSectionValues(const std::string& section);

    // These throw EIniFileException when the file cannot be replaced: its
    // folder cannot be created or written, the file is read-only (has no
    // write permission bit, whoever runs the program), the disk is full, or
    // the existing file cannot be read (it is never overwritten blind). They
    // also throw for a name or value that would change the file's structure
    // (see TIniDocument::isValid...). Missing folders are created.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void eraseSection(const std::string& section);
    void deleteKey(const std::string& section, const std::string& key);

    void setDeferred(bool deferred) { FDeferred = deferred; }
    bool deferred() const { return FDeferred; }
    bool hasPendingWrites() const { return FDirty; }
    // Writes gathered edits, if any; throws EIniFileException when refused
    // (the edits are then dropped, the file stays as it was).
    void commit();

private:
    enum class LoadState { Missing, Loaded, Unreadable };
    // Re-reads the file when it changed on disk since the last look.
    LoadState refresh();
    void store(const TIniDocument& doc);
    void apply(TIniDocument next);

    std::string FFileName;
    TIniDocument FDoc;
    bool FCached = false;
    bool FDeferred = false;
    bool FDirty = false;
    struct stat FSeen {};
};

}  // namespace vx
