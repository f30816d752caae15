#include "persistence/layout_values.h"

#include <QDateTime>

#include "persistence/layout_manager.h"
#include "persistence/storage_session.h"
#include "sysinfo/date_time.h"

namespace vx {
namespace {

TDateTime toDateTime(const QDateTime& dt) {
    const QDate d = dt.date();
    const QTime t = dt.time();
    return TryEncodeDateTime({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()}).value_or(0.0);
}

QDateTime fromDateTime(TDateTime value) {
    const auto p = DecodeDateTime(value);
    if (!p) return {};
    return QDateTime(QDate(p->year, p->month, p->day), QTime(p->hour, p->minute, p->second, p->millisecond));
}

}  // namespace

void TLayoutManagerValue::SetName(const QString& name) {
    if (!name.isEmpty() && name.compare(FName, Qt::CaseInsensitive) != 0 && FCollection &&
        FCollection->IndexOf(name) >= 0)
        throw ELayoutManager("TLayoutManagerValue: Duplicates not allowed");
    FName = name;
}

void TLayoutManagerValue::Assign(const TLayoutManagerValue& source) {
    FValue = source.FValue.isValid() ? source.FValue : QVariant();
    SetName(source.FName);
    FKey = source.FKey;
}

ILayoutManagerStorageRef TLayoutManagerValue::storage() const {
    TLayoutManager* lm = FCollection ? FCollection->LayoutManager() : nullptr;
    return lm ? lm->Storage() : nullptr;
}

void TLayoutManagerValue::Save() {
    const ILayoutManagerStorageRef storage = this->storage();
    if (!storage) return;
    const TStorageSession session(*storage);
    const std::string section = FCollection->Section().toStdString();
    const std::string name = FName.toStdString();
    const ILayoutManagerCiphererRef& cipherer = FCollection->Cipherer();
    if (!FKey.isEmpty() && cipherer) {
        storage->WriteString(section, name, cipherer->EncryptText(FValue.toString().toStdString(), FKey.toStdString()));
        return;
    }
    switch (KindOfValue(FValue)) {
        case TValueKind::Integer: storage->WriteInteger(section, name, FValue.toLongLong()); break;
        case TValueKind::Float: storage->WriteFloat(section, name, FValue.toDouble()); break;
        case TValueKind::DateTime: storage->WriteDatetime(section, name, toDateTime(FValue.toDateTime())); break;
        case TValueKind::Boolean: storage->WriteBoolean(section, name, FValue.toBool()); break;
        default: storage->WriteString(section, name, FValue.toString().toStdString()); break;
    }
}

void TLayoutManagerValue::Restore() {
    const ILayoutManagerStorageRef storage = this->storage();
    if (!storage) return;
    const TStorageSession session(*storage);
    const std::string section = FCollection->Section().toStdString();
    const std::string name = FName.toStdString();
    const ILayoutManagerCiphererRef& cipherer = FCollection->Cipherer();
    if (!FKey.isEmpty() && cipherer) {
        const std::string key = FKey.toStdString();
        const std::string def = cipherer->EncryptText(FValue.toString().toStdString(), key);
        FValue = QString::fromStdString(cipherer->DecryptText(storage->ReadString(section, name, def), key));
        return;
    }
    switch (KindOfValue(FValue)) {
        case TValueKind::Integer:
            FValue = QVariant::fromValue<qlonglong>(storage->ReadInteger(section, name, FValue.toLongLong()));
            break;
        case TValueKind::Float: FValue = storage->ReadFloat(section, name, FValue.toDouble()); break;
        case TValueKind::DateTime:
            FValue = fromDateTime(storage->ReadDatetime(section, name, toDateTime(FValue.toDateTime())));
            break;
        case TValueKind::Boolean: FValue = storage->ReadBoolean(section, name, FValue.toBool()); break;
        default:
            FValue = QString::fromStdString(storage->ReadString(section, name, FValue.toString().toStdString()));
            break;
    }
}

TLayoutManagerValues::TLayoutManagerValues(TLayoutManager* manager) : FLayoutManager(manager) {}

TLayoutManagerValue* TLayoutManagerValues::AddItem() {
    FItems.push_back(std::make_unique<TLayoutManagerValue>(this));
    return FItems.back().get();
}

TLayoutManagerValue* TLayoutManagerValues::AddItem(const QString& name, const QVariant& value, const QString& key) {
    if (TLayoutManagerValue* existing = GetValue(name)) return existing;
    TLayoutManagerValue* item = AddItem();
    item->SetName(name);
    item->SetValue(value);
    item->SetKey(key);
    return item;
}

int TLayoutManagerValues::IndexOf(const QString& name) const {
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Name().compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

TLayoutManagerValue* TLayoutManagerValues::GetValue(const QString& name) const {
    const int i = IndexOf(name);
    return i < 0 ? nullptr : GetItem(i);
}

void TLayoutManagerValues::SetValue(const QString& name, const TLayoutManagerValue& value) {
    if (TLayoutManagerValue* item = GetValue(name)) item->Assign(value);
}

QVariant TLayoutManagerValues::GetValueByName(const QString& name) const {
    const TLayoutManagerValue* item = GetValue(name);
    return item ? item->Value() : NullValue();
}

void TLayoutManagerValues::SetValueByName(const QString& name, const QVariant& value) {
    if (TLayoutManagerValue* item = GetValue(name))
        item->SetValue(value);
    else
        AddItem(name, value);
}

void TLayoutManagerValues::Assign(const TLayoutManagerValues& source) {
    if (&source == this) return;
    FItems.clear();
    for (const auto& item : source.FItems) AddItem()->Assign(*item);
}

void TLayoutManagerValues::Save() {
    for (const auto& item : FItems) item->Save();
}

void TLayoutManagerValues::Restore() {
    for (const auto& item : FItems) item->Restore();
}

}  // namespace vx
