#include "persistence/ini_document.h"

#include <QString>
#include <algorithm>

namespace vx {
namespace {

// A stray carriage return (a line ending in CR CR LF) counts as a blank, so
// that rewriting the file with clean line ends changes no value.
std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

enum class LineKind { Other, Section, Value };

struct LineInfo {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section name or key
    std::string_view value;  // value lines only
};

LineInfo classify(std::string_view line) {
    const std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#') return {};
    if (t.front() == '[') {
        const auto close = t.find(']');
        return {LineKind::Section, trim(t.substr(1, close == std::string_view::npos ? close : close - 1)), {}};
    }
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) return {};
    return {LineKind::Value, trim(t.substr(0, eq)), trim(t.substr(eq + 1))};
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool hasOuterBlanks(std::string_view s) { return trim(s).size() != s.size(); }

}  // namespace

bool SameIniName(std::string_view a, std::string_view b) {
    if (isAscii(a) && isAscii(b)) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
    }
    const QString qa = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    const QString qb = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
    return qa.compare(qb, Qt::CaseInsensitive) == 0;
}

void ParseIniText(std::string_view text,
                  const std::function<void(std::string_view, std::string_view, std::string_view)>& onValue) {
    std::string_view section;
    bool inSection = false;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const LineInfo info = classify(line);
        if (info.kind == LineKind::Section) {
            section = info.name;
            inSection = true;
        } else if (info.kind == LineKind::Value && inSection) {
            onValue(section, info.name, info.value);
        }
    }
}

TIniDocument::TIniDocument(std::string_view text) {
    // One leading byte-order mark; a second one belongs to the first line.
    FBom = text.substr(0, 3) == "\xEF\xBB\xBF";
    if (FBom) text.remove_prefix(3);
    const auto firstBreak = text.find('\n');
    FCrlf = firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r';
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        FLines.emplace_back(line);
    }
}

std::string TIniDocument::text() const {
    const std::string_view eol = FCrlf ? "\r\n" : "\n";
    std::string out = FBom ? "\xEF\xBB\xBF" : "";
    for (const std::string& line : FLines) {
        out += line;
        out += eol;
    }
    return out;
}

std::optional<TIniDocument::Range> TIniDocument::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const LineInfo info = classify(FLines[i]);
        if (info.kind != LineKind::Section || !SameIniName(info.name, section)) continue;
        std::size_t end = i + 1;
        while (end < FLines.size() && classify(FLines[end]).kind != LineKind::Section) ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> TIniDocument::findKey(const Range& r, std::string_view key) const {
    for (std::size_t i = r.header + 1; i < r.end; ++i) {
        const LineInfo info = classify(FLines[i]);
        if (info.kind == LineKind::Value && SameIniName(info.name, key)) return i;
    }
    return std::nullopt;
}

bool TIniDocument::sectionExists(std::string_view section) const {
    const auto r = findSection(section);
    if (!r) return false;
    for (std::size_t i = r->header + 1; i < r->end; ++i)
        if (classify(FLines[i]).kind == LineKind::Value) return true;
    return false;
}

bool TIniDocument::valueExists(std::string_view section, std::string_view key) const {
    const auto r = findSection(section);
    return r && findKey(*r, key);
}

std::optional<std::string> TIniDocument::value(std::string_view section, std::string_view key) const {
    const auto r = findSection(section);
    if (!r) return std::nullopt;
    const auto i = findKey(*r, key);
    if (!i) return std::nullopt;
    return std::string(classify(FLines[*i]).value);
}

std::vector<std::string> TIniDocument::sectionLines(std::string_view section) const {
    std::vector<std::string> out;
    const auto r = findSection(section);
    if (!r) return out;
    for (std::size_t i = r->header + 1; i < r->end; ++i) {
        const LineInfo info = classify(FLines[i]);
        if (info.kind == LineKind::Value) out.push_back(std::string(info.name) + "=" + std::string(info.value));
    }
    return out;
}

void TIniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=" + std::string(value);
    const auto r = findSection(section);
    if (!r) {
        if (!FLines.empty() && !trim(FLines.back()).empty()) FLines.emplace_back();
        FLines.push_back("[" + std::string(section) + "]");
        FLines.push_back(std::move(line));
        return;
    }
    if (const auto i = findKey(*r, key)) {
        FLines[*i] = std::move(line);
        return;
    }
    std::size_t at = r->end;
    while (at > r->header + 1 && trim(FLines[at - 1]).empty()) --at;
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void TIniDocument::eraseSection(std::string_view section) {
    while (const auto r = findSection(section))
        FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(r->header),
                     FLines.begin() + static_cast<std::ptrdiff_t>(r->end));
}

void TIniDocument::deleteKey(std::string_view section, std::string_view key) {
    const auto r = findSection(section);
    if (!r) return;
    std::size_t end = r->end;
    while (const auto i = findKey(Range{r->header, end}, key)) {
        FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(*i));
        --end;
    }
}

bool TIniDocument::isValidSection(std::string_view section) {
    return !hasLineBreak(section) && section.find(']') == std::string_view::npos && !hasOuterBlanks(section);
}

bool TIniDocument::isValidKey(std::string_view key) {
    if (key.empty() || hasLineBreak(key) || hasOuterBlanks(key) || key.find('=') != std::string_view::npos)
        return false;
    return key.front() != '[' && key.front() != ';' && key.front() != '#';
}

bool TIniDocument::isValidValue(std::string_view value) { return !hasLineBreak(value); }

}  // namespace vx
