#pragma once

// The text of an INI file as lines, with lookups and edits that keep every
// line they do not touch (comments, blank lines, unknown lines) as it was.
//
//   [Section]        a section header; the name ends at the first "]"
//   key=value        a value; blanks around key and value are not part of them
//   ; or # ...       a comment
//
// Section and key names compare without regard to case. Where a name occurs
// twice, the first occurrence is the one read. New keys go to the end of
// their section (before its trailing blank lines), new sections to the end
// of the file after a blank line, so the order in the file is the order in
// which things were first written.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// Compares two UTF-8 names without regard to case (full Unicode case folding).
bool SameIniName(std::string_view a, std::string_view b);

// Streams the values of an INI text to a callback, in file order:
// (section, key, value). Lines outside any section are passed over.
void ParseIniText(std::string_view text,
                  const std::function<void(std::string_view, std::string_view, std::string_view)>& onValue);

class TIniDocument {
public:
    TIniDocument() = default;
    // Takes the file's text; a UTF-8 byte order mark is dropped and CR LF
    // line ends are remembered, so that the text is written back the same way.
    explicit TIniDocument(std::string_view text);

    std::string text() const;

    bool sectionExists(std::string_view section) const;  // holds at least one key
    bool valueExists(std::string_view section, std::string_view key) const;
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // "key=value" per key of the section, in file order.
    std::vector<std::string> sectionLines(std::string_view section) const;

    // Replaces the value in place, or appends the key (and its section).
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes every header and line of every section of that name.
    void eraseSection(std::string_view section);
    void deleteKey(std::string_view section, std::string_view key);

    // Whether a name or value can be written without changing the file's
    // structure (no line breaks; no "]" in section names; no "=" in keys;
    // keys not starting with "[", ";" or "#"; no blanks around names).
    static bool isValidSection(std::string_view section);
    static bool isValidKey(std::string_view key);
    static bool isValidValue(std::string_view value);

private:
    struct Range {
        std::size_t header;  // index of the "[name]" line
        std::size_t end;     // one past the last line of the section
    };
    std::optional<Range> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const Range& r, std::string_view key) const;

    std::vector<std::string> FLines;
    bool FCrlf = false;
    bool FBom = false;  // the text began with a byte-order mark, which a rewrite keeps
};

}  // namespace vx
