#pragma once

// The Prometheus text exposition format (version 0.0.4), as node_exporter
// and every other exporter serve it: "# HELP" and "# TYPE" lines, other
// comments, and samples
//
//     name{label="value",...} value [timestamp]
//
// with label values escaped (\\, \", \n), values in Go's float syntax
// (4.5095179e+08, NaN, +Inf, -Inf) and an optional timestamp in
// milliseconds. A line that breaks the format is counted and skipped; the
// rest of the page still counts. Limits bound what a hostile page can make
// the parser keep.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx {

struct TPromSample {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Labels;  // as written, values unescaped
    double Value = 0;
    std::optional<std::int64_t> TimestampMs;

    // The value of a label; nothing when the sample has none of that name.
    std::optional<std::string_view> Label(std::string_view name) const;
};

struct TPromLimits {
    std::size_t MaxSamples = 200000;
    std::size_t MaxLabels = 64;        // per sample
    std::size_t MaxLineLength = 65536;  // longer lines are bad lines
};

struct TPromPage {
    std::vector<TPromSample> Samples;
    std::map<std::string, std::string> Types;  // from "# TYPE name type"
    std::size_t BadLines = 0;
    std::size_t FirstBadLine = 0;  // its number (from 1); 0 when every line was good
    bool Truncated = false;        // samples beyond MaxSamples were left out
};

// `wanted`: the metric names to keep (a sample of another name is skipped
// as soon as its name is read); empty keeps every sample.
TPromPage ParsePromText(std::string_view text, const std::vector<std::string_view>& wanted = {},
                        const TPromLimits& limits = {});

// One value in Go's float syntax, as the format writes it; nothing when the
// text is not one.
std::optional<double> ParsePromFloat(std::string_view text);

}  // namespace vx
