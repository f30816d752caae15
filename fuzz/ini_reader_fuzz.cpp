// Any text as an INI file: reading it must be safe, and writing a value
// into it must keep every other value readable as before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/ini_document.h"
#include "persistence/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    struct Entry {
        std::string section, key, value;
    };
    std::vector<Entry> entries;
    vx::ParseIniText(text, [&](std::string_view s, std::string_view k, std::string_view v) {
        entries.push_back({std::string(s), std::string(k), std::string(v)});
        (void)vx::IniTextToIntegerOrHex(v);
        (void)vx::IniTextToFloat(v);
        (void)vx::IniTextToDateTime(v);
    });

    vx::TIniDocument doc(text);
    for (const Entry& e : entries) {
        (void)doc.value(e.section, e.key);
        (void)doc.sectionLines(e.section);
    }
    // Write a new key into the file as it stands, then read it back.
    const std::string section = "Fuzz";
    doc.setValue(section, "Probe", "42");
    const vx::TIniDocument again(doc.text());
    if (again.value(section, "Probe") != std::optional<std::string>("42")) std::abort();
    // Other values (first occurrence of each key in the first section of a
    // name) read the same before and after the write.
    const vx::TIniDocument before(text);
    for (const Entry& e : entries) {
        if (vx::SameIniName(e.section, section)) continue;
        if (before.value(e.section, e.key) != again.value(e.section, e.key)) std::abort();
    }
    if (!entries.empty()) {
        vx::TIniDocument erased(text);
        erased.eraseSection(entries.front().section);
        if (erased.sectionExists(entries.front().section)) std::abort();
    }
    return 0;
}
