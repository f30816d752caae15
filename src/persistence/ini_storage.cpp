#include "persistence/ini_storage.h"

#include <filesystem>

#include "persistence/ini_text.h"

namespace vx {

namespace fs = std::filesystem;

void TLayoutManagerINIStorage::SetFileName(const std::string& name) {
    if (name == FFileName) return;
    const bool wasOpened = Opened();
    FFileName = name;
    Close();
    if (wasOpened) Open(true);
}

bool TLayoutManagerINIStorage::Opened() {
    std::error_code ec;
    return FStorage && (FStorage->hasPendingWrites() || fs::exists(FFileName, ec));
}

void TLayoutManagerINIStorage::SetOpened(bool value) {
    if (value)
        openAccessor(true);
    else
        Close();
}

TLayoutManagerINIStorage::~TLayoutManagerINIStorage() {
    try {
        Close();
    } catch (const EIniFileException&) {
    }
}

void TLayoutManagerINIStorage::Open(bool readOnly) {
    const bool created = !FStorage;
    openAccessor(readOnly);
    if (created && FStorage && !readOnly) FStorage->setDeferred(true);
}

void TLayoutManagerINIStorage::openAccessor(bool readOnly) {
    if (FStorage || FFileName.empty()) return;
    const fs::path folder = fs::path(FFileName).parent_path();
    if (!readOnly && !folder.empty()) {
        std::error_code ec;  // a folder that cannot be made shows as a failed write
        fs::create_directories(folder, ec);
    }
    FStorage = std::make_unique<TIniFile>(FFileName);
}

void TLayoutManagerINIStorage::Close() {
    if (FUpdateDepth > 0) return;
    const std::unique_ptr<TIniFile> accessor = std::move(FStorage);
    if (accessor) accessor->commit();
}

void TLayoutManagerINIStorage::BeginUpdate() {
    if (FUpdateDepth++ > 0) return;
    openAccessor(true);
    if (FStorage) FStorage->setDeferred(true);
}

void TLayoutManagerINIStorage::EndUpdate(bool commit) {
    if (FUpdateDepth == 0 || --FUpdateDepth > 0) return;
    if (!commit) {
        FStorage.reset();  // the gathered writes go unwritten
        return;
    }
    Close();
}

void TLayoutManagerINIStorage::openForRead() {
    if (!Opened()) openAccessor(true);
}

TIniFile& TLayoutManagerINIStorage::writer() {
    if (!Opened()) openAccessor(false);
    if (!FStorage) throw EIniFileException(FFileName);
    return *FStorage;
}

std::optional<std::string> TLayoutManagerINIStorage::storedText(const std::string& section, const std::string& key) {
    openForRead();
    if (!FStorage) return std::nullopt;
    return FStorage->readString(section, key);
}

bool TLayoutManagerINIStorage::SectionExists(const std::string& section) {
    openForRead();
    const bool exists = FStorage && FStorage->sectionExists(section);
    Close();
    return exists;
}

bool TLayoutManagerINIStorage::ValueExists(const std::string& section, const std::string& key) {
    openForRead();
    return FStorage && FStorage->valueExists(section, key);
}

void TLayoutManagerINIStorage::WriteInteger(const std::string& section, const std::string& key, std::int64_t value) {
    writer().writeString(section, key, IntegerToIniText(value));
}

void TLayoutManagerINIStorage::WriteString(const std::string& section, const std::string& key,
                                           const std::string& value) {
    writer().writeString(section, key, value);
}

void TLayoutManagerINIStorage::WriteFloat(const std::string& section, const std::string& key, double value) {
    writer().writeString(section, key, FloatToIniText(value));
}

void TLayoutManagerINIStorage::WriteDatetime(const std::string& section, const std::string& key, TDateTime value) {
    writer().writeString(section, key, DateTimeToIniText(value));
}

void TLayoutManagerINIStorage::WriteBoolean(const std::string& section, const std::string& key, bool value) {
    writer().writeString(section, key, value ? "1" : "0");
}

std::int64_t TLayoutManagerINIStorage::ReadInteger(const std::string& section, const std::string& key,
                                                   std::int64_t def) {
    const auto text = storedText(section, key);
    return text ? IniTextToIntegerOrHex(*text).value_or(def) : def;
}

std::string TLayoutManagerINIStorage::ReadString(const std::string& section, const std::string& key,
                                                 const std::string& def) {
    return storedText(section, key).value_or(def);
}

double TLayoutManagerINIStorage::ReadFloat(const std::string& section, const std::string& key, double def) {
    const auto text = storedText(section, key);
    return text ? IniTextToFloat(*text).value_or(def) : def;
}

TDateTime TLayoutManagerINIStorage::ReadDatetime(const std::string& section, const std::string& key, TDateTime def) {
    const auto text = storedText(section, key);
    return text ? IniTextToDateTime(*text).value_or(def) : def;
}

bool TLayoutManagerINIStorage::ReadBoolean(const std::string& section, const std::string& key, bool def) {
    const auto text = storedText(section, key);
    if (!text) return def;
    const auto v = IniTextToIntegerOrHex(*text);
    return v ? *v != 0 : def;
}

void TLayoutManagerINIStorage::ReadSection(const std::string& section, std::vector<std::string>& lines) {
    lines.clear();
    openForRead();
    if (FStorage) lines = FStorage->readSectionValues(section);
}

void TLayoutManagerINIStorage::DeleteSection(const std::string& section) {
    openForRead();
    // Checked on the accessor: asking SectionExists here would close the
    // storage before the section could be erased.
    if (FStorage && FStorage->sectionExists(section)) FStorage->eraseSection(section);
}

void TLayoutManagerINIStorage::DeleteValue(const std::string& section, const std::string& key) {
    openForRead();
    if (FStorage && FStorage->valueExists(section, key)) FStorage->deleteKey(section, key);
}

}  // namespace vx
