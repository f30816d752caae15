#pragma once

// The version block: a tree of nodes in the documented VS_VERSIONINFO
// layout. Each node is
//   u16 wLength       bytes of the whole node, children included
//   u16 wValueLength  value size: characters (wType 1) or bytes (wType 0)
//   u16 wType         1 = text value, 0 = binary value
//   UTF-16LE key, zero-terminated, padded to a 4-byte boundary
//   value, padded to a 4-byte boundary
//   child nodes, each starting on a 4-byte boundary
// The root is "VS_VERSION_INFO" with a 52-byte fixed part as its value and
// the children "StringFileInfo" (string tables named by an eight-digit
// language and code page, holding name/text pairs) and "VarFileInfo" (with
// "Translation", a list of 32-bit language/code-page words).
// Alignment counts from the start of the root node.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vx {

inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr std::size_t kFixedFileInfoSize = 52;

// File flags of the fixed part.
inline constexpr std::uint32_t kVsFfDebug = 0x1;
inline constexpr std::uint32_t kVsFfPreRelease = 0x2;
inline constexpr std::uint32_t kVsFfPatched = 0x4;
inline constexpr std::uint32_t kVsFfPrivateBuild = 0x8;
inline constexpr std::uint32_t kVsFfSpecialBuild = 0x20;

struct TFixedFileInfo {
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    std::uint32_t fileFlagsMask = 0x3F;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOS = 0x40004;  // NT, 32-bit
    std::uint32_t fileType = 1;      // application
    std::uint32_t fileSubtype = 0;
};

// What to put into a block. Empty translation list: no VarFileInfo at all.
struct TVersionBlockContents {
    std::optional<TFixedFileInfo> fixed = TFixedFileInfo{};
    struct StringTable {
        std::string name;  // eight hex digits, e.g. "040904B0"
        std::vector<std::pair<std::string, std::string>> strings;  // UTF-8
    };
    std::vector<StringTable> tables;
    std::vector<std::uint32_t> translations;  // language in the low, code page in the high 16 bits
};

// Serialises the block. Texts are UTF-8 and stored as UTF-16LE.
std::vector<std::uint8_t> BuildVersionBlock(const TVersionBlockContents& contents);

// One parsed node, pointing into the buffer it was parsed from.
struct TVersionNode {
    std::u16string key;
    std::uint16_t type = 0;
    std::uint16_t valueLength = 0;
    std::span<const std::uint8_t> value;  // clamped to the node
    std::vector<TVersionNode> children;
};

// Parses the node tree at the start of data. Returns nothing when the root
// node's header, key or extent does not fit the data or its key is not
// "VS_VERSION_INFO"; malformed children end the child list early.
std::optional<TVersionNode> ParseVersionBlock(std::span<const std::uint8_t> data);

// The contents of the section called `name` in a 64-bit ELF file (empty
// when the data is no such file or has no such section).
std::span<const std::uint8_t> ElfSection(std::span<const std::uint8_t> file, std::string_view name);

// Finds the version block: in a program's ".vx_version" section, else the
// first well-formed block with a valid fixed part anywhere in data (an
// executable, a resource file, any bytes).
std::optional<TVersionNode> FindVersionBlock(std::span<const std::uint8_t> data);

// Looks a node up by a backslash-separated path such as
// "\StringFileInfo\040904E4\ProductName"; names compare without regard to
// ASCII case; "\" is the root itself.
const TVersionNode* QueryVersionNode(const TVersionNode& root, std::string_view path);

// The fixed part of the root, when its value holds a valid one.
std::optional<TFixedFileInfo> ReadFixedFileInfo(const TVersionNode& root);

// A text node's value as UTF-8, up to its terminating zero.
std::string NodeText(const TVersionNode& node);

}  // namespace vx
