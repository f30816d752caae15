#include "persistence/layout_types.h"

#include <QObject>
#include <QWidget>

namespace vx {

TValueKind KindOfValue(const QVariant& v) {
    if (!v.isValid()) return TValueKind::Empty;
    switch (v.metaType().id()) {
        case QMetaType::Nullptr: return TValueKind::Null;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Long: return TValueKind::Integer;
        case QMetaType::Double:
        case QMetaType::Float: return TValueKind::Float;
        case QMetaType::QDateTime: return TValueKind::DateTime;
        case QMetaType::Bool: return TValueKind::Boolean;
        case QMetaType::QString: return TValueKind::String;
        default: return TValueKind::Other;  // unsigned 64-bit among them: kept as text
    }
}

QVariant NullValue() { return QVariant::fromValue(nullptr); }

std::string SectionClassName(const QObject* object) {
    std::string name = object->metaObject()->className();
    const auto colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

bool IsForm(const QObject* object) {
    const auto* w = qobject_cast<const QWidget*>(object);
    return w && w->isWindow();
}

QWidget* OwnerOf(const QObject* object) {
    for (QObject* p = object ? object->parent() : nullptr; p; p = p->parent())
        if (IsForm(p)) return static_cast<QWidget*>(p);
    return nullptr;
}

std::string SectionNameOf(const QObject* component) {
    if (IsForm(component)) return SectionClassName(component);
    const QWidget* owner = OwnerOf(component);
    if (!owner) return SectionClassName(component);
    return SectionClassName(owner) + "\\" + component->objectName().toStdString();
}

}  // namespace vx
