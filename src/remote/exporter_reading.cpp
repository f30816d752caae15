#include "remote/exporter_reading.h"

#include <cmath>
#include <unordered_map>

namespace vx {
namespace {
constexpr std::string_view kReceived = "node_network_receive_bytes_total";
constexpr std::string_view kSent = "node_network_transmit_bytes_total";
constexpr std::string_view kUp = "node_network_up";
constexpr std::string_view kSpeed = "node_network_speed_bytes";

struct TPartial {
    TRemoteInterface Interface;
    bool HasReceived = false, HasSent = false, Invalid = false;
};
}  // namespace

const std::vector<std::string_view>& ExporterMetricNames() {
    static const std::vector<std::string_view> names{kReceived, kSent, kUp, kSpeed};
    return names;
}

std::optional<std::uint64_t> CounterValue(double value) {
    // 2^64 as a double; every double below it converts.
    if (!std::isfinite(value) || value < 0 || value >= 18446744073709551616.0) return std::nullopt;
    return static_cast<std::uint64_t>(value);  // a fraction (never written for bytes) is dropped
}

TExporterReading ReadExporterPage(const TPromPage& page, std::size_t maxInterfaces) {
    TExporterReading reading;
    reading.BadLines = page.BadLines;
    reading.Truncated = page.Truncated;
    std::vector<TPartial> partials;
    std::unordered_map<std::string, std::size_t> byDevice;
    for (const TPromSample& sample : page.Samples) {
        const auto device = sample.Label("device");
        if (!device) continue;
        auto found = byDevice.find(std::string(*device));
        if (found == byDevice.end()) {
            if (partials.size() >= maxInterfaces) {
                reading.Truncated = true;
                continue;
            }
            found = byDevice.emplace(std::string(*device), partials.size()).first;
            partials.emplace_back().Interface.Device = std::string(*device);
        }
        TPartial& p = partials[found->second];
        if (sample.Name == kReceived || sample.Name == kSent) {
            bool& has = sample.Name == kReceived ? p.HasReceived : p.HasSent;
            if (has) {
                ++reading.DuplicateSeries;
                continue;
            }
            has = true;
            const auto bytes = CounterValue(sample.Value);
            if (!bytes) {
                ++reading.InvalidSeries;
                p.Invalid = true;
                continue;
            }
            (sample.Name == kReceived ? p.Interface.Received : p.Interface.Sent) = *bytes;
        } else if (sample.Name == kUp) {
            if (!p.Interface.Up && std::isfinite(sample.Value)) p.Interface.Up = sample.Value != 0;
        } else if (sample.Name == kSpeed) {
            const auto bytes = CounterValue(sample.Value);
            if (!p.Interface.SpeedBitsPerSecond && bytes && *bytes <= UINT64_MAX / 8)
                p.Interface.SpeedBitsPerSecond = *bytes * 8;
        }
    }
    for (TPartial& p : partials)
        if (p.HasReceived && p.HasSent && !p.Invalid) reading.Interfaces.push_back(std::move(p.Interface));
    return reading;
}

}  // namespace vx
