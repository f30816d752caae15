// Any bytes as an exporter's page: parsing stays inside the text
// (AddressSanitizer watches), keeps to its limits, and every sample kept
// has a name of the format's characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "remote/prometheus_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vx::TPromLimits limits;
    limits.MaxSamples = 1000;
    limits.MaxLabels = 8;
    const vx::TPromPage page = vx::ParsePromText(text, {}, limits);
    if (page.Samples.size() > limits.MaxSamples) std::abort();
    for (const vx::TPromSample& s : page.Samples) {
        if (s.Name.empty() || s.Labels.size() > limits.MaxLabels) std::abort();
        for (const char c : s.Name)
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':'))
                std::abort();
    }
    if (page.BadLines > 0 && page.FirstBadLine == 0) std::abort();
    // The same page, keeping one metric only, never keeps more.
    const vx::TPromPage one = vx::ParsePromText(text, {"node_network_receive_bytes_total"}, limits);
    if (one.Samples.size() > page.Samples.size() && !page.Truncated) std::abort();
    return 0;
}
