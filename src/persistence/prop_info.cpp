#include "persistence/prop_info.h"

#include <QMetaObject>
#include <QObject>
#include <QWidget>
#include <optional>

namespace vx {
namespace {

std::optional<TPropKind> kindOf(const QMetaProperty& p) {
    if (p.isFlagType()) return TPropKind::Set;
    if (p.isEnumType()) return TPropKind::Enumeration;
    const QMetaType type = p.metaType();
    switch (type.id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::SChar:
        case QMetaType::UChar: return TPropKind::Integer;
        case QMetaType::LongLong:
        case QMetaType::ULongLong: return TPropKind::Int64;
        case QMetaType::Bool: return TPropKind::Enumeration;
        case QMetaType::Double:
        case QMetaType::Float: return TPropKind::Float;
        case QMetaType::Char:
        case QMetaType::QChar: return TPropKind::Char;
        case QMetaType::QString:
        case QMetaType::QByteArray: return TPropKind::String;
        case QMetaType::QStringList: return TPropKind::StringList;
        default: break;
    }
    if (type.flags() & QMetaType::PointerToQObject) return TPropKind::Component;
    return std::nullopt;
}

QString storedName(const char* name) {
    QString s = QString::fromLatin1(name);
    if (!s.isEmpty()) s[0] = s[0].toUpper();
    return s;
}

}  // namespace

QVariant TPropInfo::read(const QObject* component) const {
    if (const auto* w = qobject_cast<const QWidget*>(component)) {
        if (qstrcmp(property.name(), "visible") == 0) return !w->isHidden();
        if (qstrcmp(property.name(), "enabled") == 0) return !w->testAttribute(Qt::WA_ForceDisabled);
    }
    return property.read(component);
}

TPropInfoList::TPropInfoList(const QObject* component) {
    if (!component) return;
    const QMetaObject* mo = component->metaObject();
    for (int i = 0; i < mo->propertyCount(); ++i) {
        const QMetaProperty p = mo->property(i);
        if (!p.isReadable() || !p.isWritable()) continue;
        if (const auto kind = kindOf(p)) FList.push_back({storedName(p.name()), *kind, p});
    }
}

const TPropInfo* TPropInfoList::Find(const QString& name) const {
    for (const TPropInfo& info : FList)
        if (info.name.compare(name, Qt::CaseInsensitive) == 0) return &info;
    return nullptr;
}

bool TPropInfoList::Contains(const TPropInfo& info) const {
    for (const TPropInfo& own : FList)
        if (own.kind == info.kind && own.name.compare(info.name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace vx
