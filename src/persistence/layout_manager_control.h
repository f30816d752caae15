#pragma once

// One component registered with a layout manager: what of it is saved, and
// how it is saved and restored.

#include <QPointer>
#include <QStringList>
#include <memory>

#include "persistence/layout_storage.h"
#include "persistence/layout_types.h"
#include "persistence/prop_info.h"

namespace vx {

class TLayoutManagerControl;

// An optional per-entry hook that saves and restores extra layout data.
class ILayoutManagerControlLayout {
public:
    virtual ~ILayoutManagerControlLayout() = default;
    virtual TLayoutManagerControl* LayoutManagerControl() const = 0;
    virtual void SetLayoutManagerControl(TLayoutManagerControl* control) = 0;
    virtual void SaveDefault() = 0;
    virtual void Save() = 0;
    virtual void RestoreDefault() = 0;
    virtual void Restore() = 0;
    virtual void DeleteData() = 0;
};

// Base for hooks: keeps the entry, and erases "<entry section>\Layout".
class TLayoutManagerControlLayout : public ILayoutManagerControlLayout {
public:
    TLayoutManagerControl* LayoutManagerControl() const override { return FLMC; }
    void SetLayoutManagerControl(TLayoutManagerControl* control) override { FLMC = control; }
    void DeleteData() override;

protected:
    TLayoutManagerControl* FLMC = nullptr;
};

using TLayoutHookFactory = std::function<std::unique_ptr<ILayoutManagerControlLayout>()>;

class TLayoutManagerControl {
public:
    explicit TLayoutManagerControl(TLayoutManager* manager) : FLM(manager) {}

    const ILayoutManagerStorageRef& Storage() const { return FStorage; }
    // A different storage closes the old one first.
    void SetStorage(const ILayoutManagerStorageRef& storage);
    QObject* Component() const { return FComponent; }
    // Builds the property list; a component that is no widget gets no options.
    void SetComponent(QObject* component);
    const QStringList& Properties() const { return FProps; }
    // Kept sorted without regard to case, duplicates dropped.
    void SetProperties(const QStringList& names);
    TLayoutManagerControlOptions Options() const { return FOptions; }
    // Only widgets have layout options.
    void SetOptions(TLayoutManagerControlOptions options);
    ILayoutManagerControlLayout* Layout() const { return FLayout.get(); }
    void SetLayout(std::unique_ptr<ILayoutManagerControlLayout> hook);
    TLayoutManager* LayoutManager() const { return FLM; }
    const TPropInfoList& PropList() const { return FPropList; }

    // Worked out from the component's class and name each time, except
    // while the layout manager keeps the names it knows (while its form is
    // being destroyed, when the class name no longer tells the truth).
    std::string SectionName() const;
    void Save();
    void Restore();
    void DeleteData();

private:
    void saveWindowLayout(ILayoutManagerStorage& s, const std::string& section);
    void restoreWindowLayout(ILayoutManagerStorage& s, const std::string& section);
    void saveProperties(ILayoutManagerStorage& s, const std::string& section);
    void restoreProperties(ILayoutManagerStorage& s, const std::string& section);

    ILayoutManagerStorageRef FStorage;
    QPointer<QObject> FComponent;
    QStringList FProps;
    TPropInfoList FPropList;
    std::unique_ptr<ILayoutManagerControlLayout> FLayout;
    TLayoutManagerControlOptions FOptions = 0;
    TLayoutManager* FLM;
    mutable std::string FSectionName;
};

}  // namespace vx
