#include "persistence/layout_manager.h"

#include <QWidget>

namespace vx {

TLayoutManager::TLayoutManager() : FValues(std::make_unique<TLayoutManagerValues>(this)) {}

TLayoutManager::~TLayoutManager() {
    OnBeforeRestore = OnAfterRestore = OnBeforeSave = OnAfterSave = nullptr;
    for (auto& entry : FList) entry->SetLayout(nullptr);
}

int TLayoutManager::FindComponent(const QObject* component) const {
    if (!component) return -1;
    for (std::size_t i = 0; i < FList.size(); ++i)
        if (FList[i]->Component() == component) return static_cast<int>(i);
    return -1;
}

TLayoutManagerControl* TLayoutManager::entryOf(const QObject* component) const {
    const int i = FindComponent(component);
    return i < 0 ? nullptr : GetControl(i);
}

int TLayoutManager::Add(QObject* component, const QStringList& properties) {
    if (!component || FindComponent(component) >= 0) return -1;
    auto entry = std::make_unique<TLayoutManagerControl>(this);
    entry->SetStorage(FStorage);
    entry->SetComponent(component);
    entry->SetProperties(properties);
    entry->SetOptions(0);
    (void)entry->SectionName();
    FList.push_back(std::move(entry));
    return Count() - 1;
}

int TLayoutManager::Add(QWidget* control, const QStringList& properties, const TLayoutHookFactory& hook,
                        TLayoutManagerControlOptions options) {
    if (!control || FindComponent(control) >= 0) return -1;
    auto entry = std::make_unique<TLayoutManagerControl>(this);
    entry->SetStorage(FStorage);
    entry->SetComponent(control);
    entry->SetProperties(properties);
    entry->SetOptions(options);
    (void)entry->SectionName();
    TLayoutManagerControl* added = entry.get();
    FList.push_back(std::move(entry));
    if (hook) {
        added->SetLayout(hook());
        if (added->Layout() && !FRO) added->Layout()->SaveDefault();
    }
    return Count() - 1;
}

void TLayoutManager::Delete(QObject* component) {
    const int i = FindComponent(component);
    if (i < 0) return;
    FList[static_cast<std::size_t>(i)]->SetLayout(nullptr);
    FList.erase(FList.begin() + i);
    FList.shrink_to_fit();
}

void TLayoutManager::Clear(bool deleteData) {
    for (auto& entry : FList) {
        entry->SetLayout(nullptr);
        if (deleteData) entry->DeleteData();
    }
    FList.clear();
}

void TLayoutManager::SetStorage(const ILayoutManagerStorageRef& storage) {
    FStorage = storage;
    for (auto& entry : FList) entry->SetStorage(storage);
}

void TLayoutManager::SetOptions(QWidget* control, TLayoutManagerControlOptions options) {
    if (TLayoutManagerControl* entry = entryOf(control)) entry->SetOptions(options);
}

void TLayoutManager::Save() {
    if (FRO || FRestoring) return;
    // The form, its components and the stored values land in one replace.
    const TStorageUpdate update(FStorage.get());
    if (OnBeforeSave) OnBeforeSave(this);
    for (auto& entry : FList) entry->Save();
    FValues->Save();
    if (OnAfterSave) OnAfterSave(this);
}

void TLayoutManager::Restore() {
    struct RestoringFlag {
        bool& flag;
        explicit RestoringFlag(bool& f) : flag(f) { flag = true; }
        ~RestoringFlag() { flag = false; }
    } restoring(FRestoring);
    if (OnBeforeRestore) OnBeforeRestore(this);
    // By index: an event handler or a restored property may register more.
    for (std::size_t i = 0; i < FList.size(); ++i) FList[i]->Restore();
    FValues->Restore();
    if (OnAfterRestore) OnAfterRestore(this);
}

void TLayoutManager::Save(QObject* component) {
    if (FRO || FRestoring) return;
    if (TLayoutManagerControl* entry = entryOf(component)) entry->Save();
}

void TLayoutManager::Restore(QObject* component) {
    if (TLayoutManagerControl* entry = entryOf(component)) entry->Restore();
}

void TLayoutManager::DeleteData() {
    for (auto& entry : FList) entry->DeleteData();
}

void TLayoutManager::DeleteData(QObject* component) {
    if (TLayoutManagerControl* entry = entryOf(component)) entry->DeleteData();
}

}  // namespace vx
