#include "sysinfo/version_block.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <elf.h>
#include <functional>

namespace vx {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr int kMaxDepth = 6;  // the layout has four levels; more is garbage

std::u16string toUtf16(const std::string& s) {
    const QString q = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    return std::u16string(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<std::size_t>(q.size()));
}

std::u16string asciiUtf16(std::string_view s) { return std::u16string(s.begin(), s.end()); }

std::uint16_t get16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t get32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
           (static_cast<std::uint32_t>(d[at + 2]) << 16) | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

std::size_t align4(std::size_t v) { return (v + 3) & ~std::size_t{3}; }

// --- writing -------------------------------------------------------------

class BlockWriter {
public:
    void put16(std::uint16_t v) {
        FOut.push_back(static_cast<std::uint8_t>(v & 0xFF));
        FOut.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void put32(std::uint32_t v) {
        put16(static_cast<std::uint16_t>(v & 0xFFFF));
        put16(static_cast<std::uint16_t>(v >> 16));
    }
    void putText(const std::u16string& s) {
        for (char16_t c : s) put16(c);
        put16(0);
    }
    void pad() {
        while (FOut.size() % 4) FOut.push_back(0);
    }

    // Writes a node; `value` and `children` append their bytes. The length
    // field is patched once the node is complete.
    void node(const std::u16string& key, std::uint16_t type, std::uint16_t valueLength,
              const std::function<void()>& value, const std::function<void()>& children) {
        pad();
        const std::size_t start = FOut.size();
        put16(0);
        put16(valueLength);
        put16(type);
        putText(key);
        pad();
        if (value) value();
        if (children) {
            pad();
            children();
        }
        const std::size_t length = FOut.size() - start;
        FOut[start] = static_cast<std::uint8_t>(length & 0xFF);
        FOut[start + 1] = static_cast<std::uint8_t>((length >> 8) & 0xFF);
    }

    std::vector<std::uint8_t> take() { return std::move(FOut); }

private:
    std::vector<std::uint8_t> FOut;
};

// --- reading -------------------------------------------------------------

// Parses the node at `at` (relative to the root start `base`), bounded by
// `limit`. Returns its length, or 0 when the header does not fit.
std::size_t parseNode(std::span<const std::uint8_t> d, std::size_t at, std::size_t limit, int depth,
                      TVersionNode& node) {
    if (at + kHeaderSize > limit) return 0;
    const std::size_t length = get16(d, at);
    if (length < kHeaderSize || at + length > limit) return 0;
    const std::size_t end = at + length;
    node.valueLength = get16(d, at + 2);
    node.type = get16(d, at + 4);
    std::size_t p = at + kHeaderSize;
    node.key.clear();
    for (;;) {
        if (p + 2 > end) return 0;
        const char16_t c = get16(d, p);
        p += 2;
        if (c == 0) break;
        node.key.push_back(c);
    }
    p = align4(p);
    const std::size_t valueBytes = node.type == 1 ? std::size_t{node.valueLength} * 2 : node.valueLength;
    const std::size_t valueStart = std::min(p, end);
    const std::size_t valueEnd = std::min(valueStart + valueBytes, end);
    node.value = d.subspan(valueStart, valueEnd - valueStart);
    p = align4(valueStart + valueBytes);
    if (depth >= kMaxDepth) return length;
    while (p + kHeaderSize <= end) {
        TVersionNode child;
        const std::size_t used = parseNode(d, p, end, depth + 1, child);
        if (used == 0) break;
        node.children.push_back(std::move(child));
        p = align4(p + used);
    }
    return length;
}

bool equalsIgnoreCase(const std::u16string& a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i];
        char y = b[i];
        if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != static_cast<unsigned char>(y)) return false;
    }
    return true;
}

}  // namespace

std::vector<std::uint8_t> BuildVersionBlock(const TVersionBlockContents& contents) {
    BlockWriter w;
    const auto fixedValue = [&] {
        if (!contents.fixed) return;
        const TFixedFileInfo& f = *contents.fixed;
        w.put32(kFixedFileInfoSignature);
        w.put32(0x00010000);  // structure version 1.0
        for (std::uint32_t v : {f.fileVersionMS, f.fileVersionLS, f.productVersionMS, f.productVersionLS,
                                f.fileFlagsMask, f.fileFlags, f.fileOS, f.fileType, f.fileSubtype, 0u, 0u})
            w.put32(v);
    };
    const auto children = [&] {
        if (!contents.tables.empty()) {
            w.node(asciiUtf16("StringFileInfo"), 1, 0, nullptr, [&] {
                for (const auto& table : contents.tables) {
                    w.node(toUtf16(table.name), 1, 0, nullptr, [&] {
                        for (const auto& [name, text] : table.strings) {
                            const std::u16string value = toUtf16(text);
                            w.node(toUtf16(name), 1, static_cast<std::uint16_t>(value.size() + 1),
                                   [&] { w.putText(value); }, nullptr);
                        }
                    });
                }
            });
        }
        if (!contents.translations.empty()) {
            w.node(asciiUtf16("VarFileInfo"), 1, 0, nullptr, [&] {
                w.node(asciiUtf16("Translation"), 0, static_cast<std::uint16_t>(contents.translations.size() * 4),
                       [&] {
                           for (std::uint32_t t : contents.translations) w.put32(t);
                       },
                       nullptr);
            });
        }
    };
    w.node(asciiUtf16("VS_VERSION_INFO"), 0, contents.fixed ? kFixedFileInfoSize : 0, fixedValue, children);
    return w.take();
}

std::optional<TVersionNode> ParseVersionBlock(std::span<const std::uint8_t> data) {
    TVersionNode root;
    if (parseNode(data, 0, data.size(), 0, root) == 0) return std::nullopt;
    if (!equalsIgnoreCase(root.key, "VS_VERSION_INFO")) return std::nullopt;
    return root;
}

std::span<const std::uint8_t> ElfSection(std::span<const std::uint8_t> file, std::string_view name) {
    // Every offset and size comes from the file: each is checked against
    // its length before use.
    Elf64_Ehdr header;
    if (file.size() < sizeof header) return {};
    std::memcpy(&header, file.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64 ||
        header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shoff == 0)
        return {};
    const auto sectionAt = [&](std::size_t index, Elf64_Shdr& out) {
        const std::uint64_t at = header.e_shoff + index * sizeof(Elf64_Shdr);
        if (header.e_shoff > file.size() || at > file.size() - sizeof out) return false;
        std::memcpy(&out, file.data() + at, sizeof out);
        return true;
    };
    const auto contents = [&](const Elf64_Shdr& section) -> std::span<const std::uint8_t> {
        if (section.sh_type == SHT_NOBITS || section.sh_offset > file.size() ||
            section.sh_size > file.size() - section.sh_offset)
            return {};
        return file.subspan(section.sh_offset, section.sh_size);
    };
    Elf64_Shdr names;
    if (!sectionAt(header.e_shstrndx, names)) return {};
    const auto nameTable = contents(names);
    for (std::size_t i = 1; i < header.e_shnum; ++i) {
        Elf64_Shdr section;
        if (!sectionAt(i, section)) return {};
        if (section.sh_name >= nameTable.size()) continue;
        const auto* text = reinterpret_cast<const char*>(nameTable.data()) + section.sh_name;
        const std::size_t room = nameTable.size() - section.sh_name;
        if (std::string_view(text, strnlen(text, room)) == name) return contents(section);
    }
    return {};
}

std::optional<TVersionNode> FindVersionBlock(std::span<const std::uint8_t> data) {
    // A program built here keeps its block in a section of its own: found
    // through the section table instead of a search through the whole file.
    if (const auto section = ElfSection(data, ".vx_version"); section.size() > kHeaderSize) {
        auto block = ParseVersionBlock(section);
        if (block && ReadFixedFileInfo(*block)) return block;
    }
    // The root key in UTF-16LE, built here so that this code's own constant
    // data never holds the pattern it searches for.
    std::string needle;
    for (char c : std::string_view("VS_VERSION_INFO")) {
        needle.push_back(c);
        needle.push_back('\0');
    }
    const auto* begin = reinterpret_cast<const char*>(data.data());
    const auto* end = begin + data.size();
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    for (const char* hit = begin; (hit = std::search(hit, end, searcher)) != end; ++hit) {
        const auto offset = static_cast<std::size_t>(hit - begin);
        if (offset < kHeaderSize) continue;
        auto block = ParseVersionBlock(data.subspan(offset - kHeaderSize));
        if (block && ReadFixedFileInfo(*block)) return block;
    }
    return std::nullopt;
}

const TVersionNode* QueryVersionNode(const TVersionNode& root, std::string_view path) {
    const TVersionNode* node = &root;
    std::size_t p = 0;
    while (p < path.size()) {
        if (path[p] == '\\') {
            ++p;
            continue;
        }
        const std::size_t q = std::min(path.find('\\', p), path.size());
        const std::string_view name = path.substr(p, q - p);
        const auto it = std::find_if(node->children.begin(), node->children.end(),
                                     [&](const TVersionNode& c) { return equalsIgnoreCase(c.key, name); });
        if (it == node->children.end()) return nullptr;
        node = &*it;
        p = q;
    }
    return node;
}

std::optional<TFixedFileInfo> ReadFixedFileInfo(const TVersionNode& root) {
    const auto v = root.value;
    if (v.size() < kFixedFileInfoSize || get32(v, 0) != kFixedFileInfoSignature) return std::nullopt;
    TFixedFileInfo f;
    f.fileVersionMS = get32(v, 8);
    f.fileVersionLS = get32(v, 12);
    f.productVersionMS = get32(v, 16);
    f.productVersionLS = get32(v, 20);
    f.fileFlagsMask = get32(v, 24);
    f.fileFlags = get32(v, 28);
    f.fileOS = get32(v, 32);
    f.fileType = get32(v, 36);
    f.fileSubtype = get32(v, 40);
    return f;
}

std::string NodeText(const TVersionNode& node) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < node.value.size(); i += 2) {
        const char16_t c = get16(node.value, i);
        if (c == 0) break;
        text.push_back(c);
    }
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

}  // namespace vx
