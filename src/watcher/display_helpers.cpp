#include "watcher/display_helpers.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>

#include "netconfig/uplink_link_source.h"

#include <cmath>
#include <limits>

#include "sysinfo/format_settings.h"

namespace vx {
namespace {

// Round to nearest, ties to even, kept inside the 64-bit range.
std::int64_t roundHalfEven(double v) {
    const double r = std::nearbyint(v);
    if (std::isnan(r)) return 0;
    if (r >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
    if (r <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

std::string withUnit(double value, const char* unit) { return FormatFixed(value, 2) + " " + unit; }

}  // namespace

int GetInterfaceImageIndex(std::uint32_t ifType, std::uint32_t status) {
    if (status < 4) return 0;
    switch (ifType) {
        case 1: return 1;
        case 23: return 2;
        case 37: return 3;
        case 144: return 4;
        case 6:
        case 9: return 7;
        case 71:
        case 237: return 8;
        case 15: return 9;
        case 24: return 10;
        case 131: return 11;
        case 243:
        case 244: return 12;
        default: return 0;
    }
}

std::string FormatValue(int units, double value) {
    if (units == kUnitsTransfer) {
        const auto r = static_cast<std::uint64_t>(roundHalfEven(value));
        if (r >> 30) return withUnit(value / 1073741824.0, "GB");
        if (r >> 20) return withUnit(value / 1048576.0, "MB");
        if (r >> 10) return withUnit(value / 1024.0, "KB");
        return withUnit(value, "B");
    }
    if (units == kUnitsSpeed) {
        const double bits = value * 8;
        const std::int64_t r = roundHalfEven(bits);
        if (r / 1000000000 > 0) return withUnit(bits / 1000000000.0, "Gbps");
        if (r / 1000000 > 0) return withUnit(bits / 1000000.0, "Mbps");
        if (r / 1000 > 0) return withUnit(bits / 1000.0, "Kbps");
        return withUnit(bits, "bps");
    }
    return {};
}

std::string FormatSize(double value) { return FormatValue(kUnitsTransfer, value); }

QFont WithTabularFigures(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal zero = metrics.horizontalAdvance(QLatin1Char('0'));
    bool tabular = true;
    for (char digit = '1'; digit <= '9'; ++digit)
        tabular = tabular && qFuzzyCompare(metrics.horizontalAdvance(QLatin1Char(digit)), zero);
    if (tabular) return font;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (font.pixelSize() > 0) fixed.setPixelSize(font.pixelSize());
    else fixed.setPointSizeF(font.pointSizeF());
    fixed.setWeight(font.weight());
    return fixed;
}

QString ShownName(const std::string& name) {
    if (name == kUplinkName) return QCoreApplication::translate("vx::LinkKind", "All physical");
    return QString::fromStdString(name);
}

}  // namespace vx
