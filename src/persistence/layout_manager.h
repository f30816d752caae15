#pragma once

// Saves and restores the layout of one form through a layout storage: the
// window geometry, state and style of registered widgets, chosen properties
// of registered components (by name), and named settings values.
//
// Sections: a form's class name; a component's "<owner class>\<name>";
// the stored values' own section ("Settings"). Form keys: "Size",
// "Size(WxHxDPI)", "Pos", "Pos(WxH)" (size and position only in the normal
// window state; the keyed forms win on the same desktop and DPI), "Align",
// "State" (0 normal, 2 maximized; not when minimized), "Style" (0 normal,
// 3 stay on top), "LayoutReadOnly". Other widgets: "Width", "Height",
// "Left", "Top", "Visible", "Enabled". Properties follow in the sorted order
// of their names.
//
// The storage is opened and closed around every entry and every value.
// ReadOnly suppresses whole-form and single-entry saves only; a save asked
// for during a restore is ignored. Storage write errors (EIniFileException)
// end a save and reach the caller; keys written before stay.

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

#include "persistence/layout_manager_control.h"
#include "persistence/layout_values.h"


namespace vx {

class TLayoutManager {
public:
    TLayoutManager();
    ~TLayoutManager();
    TLayoutManager(const TLayoutManager&) = delete;
    TLayoutManager& operator=(const TLayoutManager&) = delete;

    // Registers a component for its properties only (no layout options).
    // -1 when it is absent or already registered.
    int Add(QObject* component, const QStringList& properties);
    // Registers a widget with layout options and an optional hook, whose
    // SaveDefault runs at once unless read-only. -1 when absent or already
    // registered.
    int Add(QWidget* control, const QStringList& properties, const TLayoutHookFactory& hook,
            TLayoutManagerControlOptions options);
    void Delete(QObject* component);
    void Clear(bool deleteData);
    void Save();
    void Restore();
    void Save(QObject* component);
    void Restore(QObject* component);
    void DeleteData();
    void DeleteData(QObject* component);
    int FindComponent(const QObject* component) const;
    void SetOptions(QWidget* control, TLayoutManagerControlOptions options);
    TLayoutManagerControl* GetControl(int index) const { return FList.at(static_cast<std::size_t>(index)).get(); }
    QVariant GetValueByName(const QString& name) const { return FValues->GetValueByName(name); }
    void SetValueByName(const QString& name, const QVariant& value) { FValues->SetValueByName(name, value); }

    const ILayoutManagerStorageRef& Storage() const { return FStorage; }
    void SetStorage(const ILayoutManagerStorageRef& storage);
    int Count() const { return static_cast<int>(FList.size()); }
    bool ReadOnly() const { return FRO; }
    void SetReadOnly(bool value) { FRO = value; }
    bool Restoring() const { return FRestoring; }
    TLayoutManagerValues& StoredValues() { return *FValues; }
    void SetStoredValues(const TLayoutManagerValues& values) { FValues->Assign(values); }
    QWidget* Owner() const { return FOwner; }
    // While set, entries keep the section names they last worked out. A
    // form's destructor sets it before its last save: by then the form's
    // class name is that of the base class.
    bool SectionNamesKept() const { return FKeepNames; }
    void KeepSectionNames(bool keep) { FKeepNames = keep; }
    void SetOwner(QWidget* owner) { FOwner = owner; }

    TLayoutNotifyEvent OnBeforeRestore, OnAfterRestore, OnBeforeSave, OnAfterSave;

private:
    TLayoutManagerControl* entryOf(const QObject* component) const;

    std::vector<std::unique_ptr<TLayoutManagerControl>> FList;
    ILayoutManagerStorageRef FStorage;
    QPointer<QWidget> FOwner;
    std::unique_ptr<TLayoutManagerValues> FValues;
    bool FRestoring = false;
    bool FRO = false;
    bool FKeepNames = false;
};

}  // namespace vx
