#pragma once

// Named settings values kept by a layout manager in one section of their
// own ("Settings" by default), each under its name as key. How a value is
// written follows the kind of its variant (integer, float, date-time,
// Boolean, otherwise text); on restore the kind of the current value decides
// how the stored text is read, and integers come back as 64-bit integers.
// A value with a key is written scrambled and comes back as text.

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

#include "persistence/cipherer.h"
#include "persistence/layout_storage.h"
#include "persistence/layout_types.h"

namespace vx {

class TLayoutManagerValues;

class TLayoutManagerValue {
public:
    explicit TLayoutManagerValue(TLayoutManagerValues* collection) : FCollection(collection) {}

    const QString& Name() const { return FName; }
    // Throws ELayoutManager ("TLayoutManagerValue: Duplicates not allowed")
    // for a non-empty new name that another value of the collection has,
    // ignoring case; the name is then left as it was.
    void SetName(const QString& name);
    const QVariant& Value() const { return FValue; }
    void SetValue(const QVariant& v) { FValue = v; }
    const QString& Key() const { return FKey; }
    void SetKey(const QString& key) { FKey = key; }
    QString DisplayName() const { return FName; }

    // Copies the variant (cleared when the source's is empty), the name
    // (through the duplicate check) and the key.
    void Assign(const TLayoutManagerValue& source);
    void Clear() { FValue = QVariant(); }
    void Save();
    void Restore();

private:
    ILayoutManagerStorageRef storage() const;

    TLayoutManagerValues* FCollection;
    QString FName;
    QVariant FValue;
    QString FKey;
};

class TLayoutManagerValues {
public:
    explicit TLayoutManagerValues(TLayoutManager* manager = nullptr);
    TLayoutManagerValues(const TLayoutManagerValues&) = delete;
    TLayoutManagerValues& operator=(const TLayoutManagerValues&) = delete;

    TLayoutManager* LayoutManager() const { return FLayoutManager; }
    void SetLayoutManager(TLayoutManager* m) { FLayoutManager = m; }
    const QString& Section() const { return FSection; }
    void SetSection(const QString& s) { FSection = s; }
    const ILayoutManagerCiphererRef& Cipherer() const { return FCipherer; }
    // nullptr brings the built-in scrambler back.
    void SetCipherer(ILayoutManagerCiphererRef c) { FCipherer = c ? std::move(c) : FCph; }

    int Count() const { return static_cast<int>(FItems.size()); }
    TLayoutManagerValue* GetItem(int index) const { return FItems.at(static_cast<std::size_t>(index)).get(); }
    void SetItem(int index, const TLayoutManagerValue& value) { GetItem(index)->Assign(value); }

    TLayoutManagerValue* AddItem();
    // Appends unless a value of that name (ignoring case) exists; then
    // nothing changes. Returns the new or the existing value.
    TLayoutManagerValue* AddItem(const QString& name, const QVariant& value, const QString& key = {});
    int IndexOf(const QString& name) const;
    TLayoutManagerValue* GetValue(const QString& name) const;
    void SetValue(const QString& name, const TLayoutManagerValue& value);
    // Null when no value has that name.
    QVariant GetValueByName(const QString& name) const;
    // Sets the named value (its key stays) or appends one without key.
    void SetValueByName(const QString& name, const QVariant& value);
    void Clear() { FItems.clear(); }
    // Copies every value of another collection, replacing this one's.
    void Assign(const TLayoutManagerValues& source);

    // Every value in order; no read-only check here: a direct call writes.
    void Save();
    void Restore();

private:
    TLayoutManager* FLayoutManager;
    QString FSection = QStringLiteral("Settings");
    ILayoutManagerCiphererRef FCph = std::make_shared<TLayoutManagerCipherer>();
    ILayoutManagerCiphererRef FCipherer = FCph;
    std::vector<std::unique_ptr<TLayoutManagerValue>> FItems;
};

}  // namespace vx
