#pragma once

// What an exporter's page says about its host's network interfaces:
// node_exporter's netdev collector publishes
//     node_network_receive_bytes_total{device="eth0"} 4.5095179e+08
//     node_network_transmit_bytes_total{device="eth0"} 1.2e+07
// and its netclass collector node_network_up and node_network_speed_bytes.
//
// Counters come as floats: up to 2^53 bytes (8 PiB) they are exact; beyond,
// they are kept as the nearest integer the float names, so a difference
// between two of them is off by at most the float's step there (2 bytes at
// 2^54). A counter that is negative, not finite or beyond 2^64 makes its
// interface's reading invalid: the interface is left out and counted.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "remote/prometheus_text.h"

namespace vx {

struct TRemoteInterface {
    std::string Device;
    std::uint64_t Received = 0, Sent = 0;
    std::optional<bool> Up;                             // node_network_up
    std::optional<std::uint64_t> SpeedBitsPerSecond;  // node_network_speed_bytes * 8
};

struct TExporterReading {
    std::vector<TRemoteInterface> Interfaces;  // in the page's order of first appearance
    std::size_t InvalidSeries = 0;    // counters negative, NaN, infinite or too large
    std::size_t DuplicateSeries = 0;  // a device's counter given again (the first counts)
    std::size_t BadLines = 0;
    bool Truncated = false;  // more interfaces (or samples) than kept
};

// The metric names a reading needs (for ParsePromText's `wanted`).
const std::vector<std::string_view>& ExporterMetricNames();

// The interfaces in a parsed page: those with both byte counters; at most
// `maxInterfaces` of them.
TExporterReading ReadExporterPage(const TPromPage& page, std::size_t maxInterfaces = 4096);

// A counter's value as a byte count; nothing when it is not one.
std::optional<std::uint64_t> CounterValue(double value);

}  // namespace vx
