#include "netconfig/ip_variants.h"

#include <QProcess>
#include <QString>
#include <stdexcept>

#include "netconfig/ipv4.h"

namespace vx {
namespace {

bool isIPv4(const QVariant& v) { return v.metaType() == QMetaType::fromType<TIPv4Value>(); }
bool isIPv6(const QVariant& v) { return v.metaType() == QMetaType::fromType<TIPv6Object>(); }

std::string textOf(const QVariant& v) {
    if (isIPv6(v)) return v.value<TIPv6Object>().AsString();
    if (isIPv4(v)) return IPv4ToStr(v.value<TIPv4Value>().value);
    return v.toString().toStdString();
}

void openUrl(const std::string& url) { QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(url)}); }

}  // namespace

bool TIPv6Object::Equals(const QVariant& other) const {
    if (!other.isValid() || other.isNull()) return false;
    if (isIPv6(other)) return FIPv6 == other.value<TIPv6Object>().FIPv6;
    return FIPv6 == StrToIPv6(textOf(other));
}

void TIPv6Object::Follow() const { openUrl(AsURL()); }

void RegisterIPVariantTypes() {
    static const bool done = [] {
        QMetaType::registerConverter<TIPv4Value, QString>([](const TIPv4Value& a) { return QString::fromStdString(IPv4ToStr(a.value)); });
        QMetaType::registerConverter<TIPv4Value, double>([](const TIPv4Value& a) { return IPv4ToNumber(a.value); });
        QMetaType::registerConverter<TIPv4Value, uint>([](const TIPv4Value& a) { return uint{a.value}; });
        QMetaType::registerConverter<TIPv4Value, qlonglong>([](const TIPv4Value& a) { return qlonglong{a.value}; });
        QMetaType::registerConverter<TIPv6Object, QString>([](const TIPv6Object& a) { return QString::fromStdString(a.AsString()); });
        return true;
    }();
    (void)done;
}

QVariant MakeIPv4Variant(const QVariant& from) {
    RegisterIPVariantTypes();
    if (isIPv4(from)) return from;
    switch (from.metaType().id()) {
        case QMetaType::Float:
        case QMetaType::Double: return QVariant::fromValue(TIPv4Value{NumberToIPv4(from.toDouble())});
        case QMetaType::QString:
        case QMetaType::QByteArray: return QVariant::fromValue(TIPv4Value{StrToIPv4(from.toString().toStdString())});
        case QMetaType::UChar:
        case QMetaType::UShort:
        case QMetaType::UInt: return QVariant::fromValue(TIPv4Value{from.toUInt()});
        default: throw EIPv4Error::InvalidFormatType();
    }
}

QVariant MakeIPv6Variant(const QVariant& from) {
    RegisterIPVariantTypes();
    return QVariant::fromValue(TIPv6Object(textOf(from)));
}

QVariant IPVariantProperty(const QVariant& v, const std::string& name) {
    if (isIPv4(v)) {
        const std::uint32_t a = v.value<TIPv4Value>().value;
        if (name == "ASCARDINAL") return QVariant::fromValue<uint>(a);
        if (name == "ASEXTENDED" || name == "ASDOUBLE") return IPv4ToNumber(a);
        if (name == "ASSINGLE") return static_cast<float>(IPv4ToNumber(a));
        if (name == "ASSTRING") return QString::fromStdString(IPv4ToStr(a));
        if (name == "ASSTRINGOUTWRITTEN") return QString::fromStdString(IPv4ToStrOutwritten(a));
        return {};
    }
    if (isIPv6(v)) {
        const TIPv6Object o = v.value<TIPv6Object>();
        if (name == "ASEXTENDED" || name == "ASDOUBLE") return o.AsDouble();
        if (name == "ASSINGLE") return o.AsSingle();
        if (name == "ASSTRING") return QString::fromStdString(o.AsString());
        if (name == "ASSTRINGCOMPRESSED") return QString::fromStdString(o.AsStringCompressed());
        if (name == "ASSTRINGOUTWRITTEN") return QString::fromStdString(o.AsStringOutwritten());
    }
    return {};
}

bool SetIPVariantProperty(QVariant& v, const std::string& name, const QVariant& value) {
    if (!isIPv6(v)) return false;
    TIPv6Object o = v.value<TIPv6Object>();
    if (name == "ASEXTENDED" || name == "ASDOUBLE" || name == "ASSINGLE")
        o.SetAsExtended(value.toDouble());
    else if (name == "ASSTRING" || name == "ASSTRINGCOMPRESSED" || name == "ASSTRINGOUTWRITTEN")
        o.SetAsString(textOf(value));
    else
        return false;
    v = QVariant::fromValue(o);
    return true;
}

QVariant IPVariantFunction(const QVariant& v, const std::string& name, const QVariant& argument) {
    if (isIPv4(v) && name == "FOLLOW") {
        openUrl(IPv4ToURL(v.value<TIPv4Value>().value));
        return QVariant(true);
    }
    if (!isIPv6(v)) return {};
    const TIPv6Object o = v.value<TIPv6Object>();
    if (name == "ASURL") return QString::fromStdString(o.AsURL());
    if (name == "EQUALS") return o.Equals(argument);
    if (name == "GROUP") return QVariant::fromValue<ushort>(o.Group(argument.toInt()));
    if (name == "ISZERO") return o.IsZero();
    if (name == "FOLLOW") {
        o.Follow();
        return QVariant(true);
    }
    return {};
}

QVariant IPv6Operator(char op, const QVariant& left, const QVariant& right) {
    const bool leftString = left.metaType().id() == QMetaType::QString;
    const bool rightString = right.metaType().id() == QMetaType::QString;
    if (op == '+' && ((isIPv6(left) && rightString) || (leftString && isIPv6(right))))
        return QString::fromStdString(textOf(left) + textOf(right));
    if (!isIPv6(left) || !isIPv6(right)) throw std::invalid_argument("IPv6 operands expected");
    const TIPv6 a = left.value<TIPv6Object>().IPv6();
    const TIPv6 b = right.value<TIPv6Object>().IPv6();
    switch (op) {
        case '+': return QVariant::fromValue(TIPv6Object(AddIPv6(a, b)));
        case '-': return QVariant::fromValue(TIPv6Object(SubtractIPv6(a, b)));
        case '&': return QVariant::fromValue(TIPv6Object(AndIPv6(a, b)));
        case '|': return QVariant::fromValue(TIPv6Object(OrIPv6(a, b)));
        case '^': return QVariant::fromValue(TIPv6Object(XorIPv6(a, b)));
        default: throw std::invalid_argument("unsupported IPv6 operator");
    }
}

}  // namespace vx
