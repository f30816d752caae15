#pragma once

// The persistable properties of a component, found by name at run time
// through Qt's meta-object system. Properties are listed under the names the
// settings file uses: the Q_PROPERTY name with its first letter in upper case
// ("visible" is "Visible", "Tag" stays "Tag"). Only readable and writable
// properties of the kinds below are listed.

#include <QMetaProperty>
#include <QString>
#include <vector>

class QObject;

namespace vx {

enum class TPropKind {
    Integer,      // int, unsigned, short, long, char-sized numbers
    Int64,        // 64-bit integers
    Enumeration,  // enums and Booleans
    Set,          // flag sets, kept as their bit mask
    Float,
    Char,
    String,       // QString, QByteArray
    StringList,
    Component,    // a reference to another QObject
};

struct TPropInfo {
    QString name;
    TPropKind kind;
    QMetaProperty property;

    // A widget's "Visible" and "Enabled" are its own settings, not whether
    // it shows or works right now (which depends on its parents): a hidden
    // window's child must not be stored, or restored, as hidden.
    QVariant read(const QObject* component) const;
    void write(QObject* component, const QVariant& value) const { property.write(component, value); }
};

class TPropInfoList {
public:
    TPropInfoList() = default;
    explicit TPropInfoList(const QObject* component);

    int Count() const { return static_cast<int>(FList.size()); }
    const TPropInfo& Get(int index) const { return FList.at(static_cast<std::size_t>(index)); }
    // The first property of that name, ignoring case; nullptr when none.
    const TPropInfo* Find(const QString& name) const;
    // Whether a property of the same kind and name (ignoring case) is listed.
    bool Contains(const TPropInfo& info) const;

private:
    std::vector<TPropInfo> FList;
};

}  // namespace vx
