#include <gtest/gtest.h>

#include <elf.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "support/temp_dir.h"
#include "sysinfo/version_block.h"
#include "sysinfo/version_info.h"

namespace vx {

// The generated block linked into this test program.
extern const unsigned char kEmbeddedVersionBlock[];
extern const std::size_t kEmbeddedVersionBlockSize;
namespace {

TFixedFileInfo fixedPart(unsigned major, unsigned minor, unsigned release, unsigned build, std::uint32_t flags = 0) {
    TFixedFileInfo f;
    f.fileVersionMS = (major << 16) | minor;
    f.fileVersionLS = (release << 16) | build;
    f.productVersionMS = (3u << 16) | 0u;
    f.productVersionLS = (0u << 16) | 9u;  // a fourth product part that must never show
    f.fileFlags = flags;
    return f;
}

const std::vector<std::pair<std::string, std::string>> kStrings = {
    {"CompanyName", "Maker"},           {"FileDescription", "Traffic meter"}, {"FileVersion", "3.4"},
    {"InternalName", "vantrix"},        {"LegalCopyright", "(C) Maker"},      {"LegalTrademarks", "TM"},
    {"OriginalFilename", "vantrix"},    {"ProductName", "Vantrix"},           {"ProductVersion", "3.0"},
    {"Comments", "Hello"},              {"SpecialBuild", "Special"},
};

bool readBlock(const TVersionBlockContents& contents, TVersionInfo& info) {
    const auto bytes = BuildVersionBlock(contents);
    return ReadVersionInfoFromBytes(bytes, info);
}

TEST(VersionInfoTest, ReadsEveryFieldThroughTheTranslationTable) {
    TVersionBlockContents contents{fixedPart(3, 4, 0, 0), {{"040904B0", kStrings}}, {0x04B00409}};
    TVersionInfo info;
    ASSERT_TRUE(readBlock(contents, info));
    EXPECT_EQ(info.FileVersion, "3.4.0.0");
    EXPECT_EQ(info.ProductVersion, "3.0.0");
    EXPECT_EQ(info.ProductBuild, 9u);
    EXPECT_EQ(info.CompanyName, "Maker");
    EXPECT_EQ(info.ProductName, "Vantrix");
    EXPECT_EQ(info.Description, "Traffic meter");
    EXPECT_EQ(info.Copyright, "(C) Maker");
    EXPECT_EQ(info.Trademarks, "TM");
    EXPECT_EQ(info.Comments, "Hello");
    EXPECT_EQ(info.SpecialBuild, "Special");
    EXPECT_EQ(info.InternalName, "vantrix");
    EXPECT_EQ(info.OriginalFilename, "vantrix");
    EXPECT_EQ(info.FileVersionText, "3.4");
    EXPECT_EQ(info.ProductVersionText, "3.0");
    EXPECT_FALSE(info.PreReleaseBuild || info.DebugBuild || info.PrivateBuild);
}

TEST(VersionInfoTest, TranslationDecidesWhichStringTableIsRead) {
    const TVersionBlockContents::StringTable usAnsi{"040904E4", {{"ProductName", "from 040904E4"}}};
    const TVersionBlockContents::StringTable usUnicode{"040904B0", {{"ProductName", "from 040904B0"}}};
    struct Case {
        const char* name;
        std::vector<TVersionBlockContents::StringTable> tables;
        std::vector<std::uint32_t> translations;
        const char* productName;
    };
    const Case cases[] = {
        {"no translation table: 040904E4", {usUnicode, usAnsi}, {}, "from 040904E4"},
        {"translation 040904B0", {usAnsi, usUnicode}, {0x04B00409}, "from 040904B0"},
        {"first translation wins", {usAnsi, usUnicode}, {0x04E40409, 0x04B00409}, "from 040904E4"},
        {"table names ignore case", {{"040904b0", {{"ProductName", "lower"}}}}, {0x04B00409}, "lower"},
        {"translation without its table", {usAnsi}, {0x04B00409}, ""},
        {"no strings at all", {}, {}, ""},
    };
    for (const auto& c : cases) {
        TVersionInfo info;
        ASSERT_TRUE(readBlock({fixedPart(1, 0, 0, 0), c.tables, c.translations}, info)) << c.name;
        EXPECT_EQ(info.ProductName, c.productName) << c.name;
        EXPECT_EQ(info.FileVersion, "1.0.0.0") << c.name;
    }
}

TEST(VersionInfoTest, FlagsAndBetaSuffix) {
    struct Case {
        unsigned build;
        std::uint32_t flags;
        std::uint32_t mask;
        const char* fileVersion;
        bool debug, privateBuild;
    };
    const Case cases[] = {
        {7, kVsFfPreRelease, 0x3F, "1.5.0.7 BETA 7", false, false},
        {0, kVsFfPreRelease, 0x3F, "1.5.0.0 BETA", false, false},
        {0, kVsFfDebug | kVsFfPrivateBuild, 0x3F, "1.5.0.0", true, true},
        {3, kVsFfPreRelease | kVsFfDebug, 0, "1.5.0.3 BETA 3", true, false},  // the mask is not applied
    };
    for (const auto& c : cases) {
        TFixedFileInfo fixed = fixedPart(1, 5, 0, c.build, c.flags);
        fixed.fileFlagsMask = c.mask;
        TVersionInfo info;
        ASSERT_TRUE(readBlock({fixed, {}, {}}, info));
        EXPECT_EQ(info.FileVersion, c.fileVersion);
        EXPECT_EQ(info.DebugBuild, c.debug);
        EXPECT_EQ(info.PrivateBuild, c.privateBuild);
    }
}

TEST(VersionInfoTest, BadInputReturnsFalseAndClearsTheRecord) {
    const auto good = BuildVersionBlock({fixedPart(1, 2, 3, 4), {{"040904E4", kStrings}}, {}});
    std::vector<std::vector<std::uint8_t>> inputs = {
        {},
        std::vector<std::uint8_t>(good.begin(), good.begin() + 40),  // cut inside the fixed part
        BuildVersionBlock({std::nullopt, {{"040904E4", kStrings}}, {}}),  // no fixed part
    };
    auto badSignature = good;
    badSignature[40] ^= 0xFF;  // first byte of the fixed part's signature
    inputs.push_back(badSignature);
    std::vector<std::uint8_t> noise(4096);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 7919 % 251);
    inputs.push_back(noise);

    for (const auto& bytes : inputs) {
        TVersionInfo info;
        info.ProductName = "stale";
        info.Major = 9;
        EXPECT_FALSE(ReadVersionInfoFromBytes(bytes, info));
        EXPECT_EQ(info.ProductName, "");
        EXPECT_EQ(info.Major, 0u);
    }
}

TEST(VersionInfoTest, FindsTheBlockInsideOtherBytesAtAnyOffset) {
    const auto block = BuildVersionBlock({fixedPart(2, 1, 0, 5), {{"040904E4", kStrings}}, {}});
    for (std::size_t offset : {0u, 1u, 3u, 1001u}) {
        std::vector<std::uint8_t> file(offset, 0x5A);
        // A stray copy of the key without a valid block in front of it.
        for (char c : std::string("VS_VERSION_INFO")) {
            file.push_back(static_cast<std::uint8_t>(c));
            file.push_back(0);
        }
        file.insert(file.end(), block.begin(), block.end());
        file.insert(file.end(), 100, 0xA5);
        TVersionInfo info;
        ASSERT_TRUE(ReadVersionInfoFromBytes(file, info)) << offset;
        EXPECT_EQ(info.FileVersion, "2.1.0.5");
        EXPECT_EQ(info.ProductName, "Vantrix");
    }
}

TEST(VersionInfoTest, ReadsFilesByName) {
    test::TTempDir dir;
    TVersionInfo info;
    EXPECT_FALSE(ReadVersionInfo(dir.file("missing"), info));
    EXPECT_EQ(info.FileName, dir.file("missing"));

    const auto block = BuildVersionBlock({fixedPart(3, 4, 0, 0), {{"040904E4", kStrings}}, {}});
    test::WriteWholeFile(dir.file("prog"), std::string(block.begin(), block.end()));
    ASSERT_TRUE(ReadVersionInfo(dir.file("prog"), info));
    EXPECT_EQ(info.FileName, dir.file("prog"));
    EXPECT_EQ(info.FileVersion, "3.4.0.0");

    test::WriteWholeFile(dir.file("empty"), "");
    EXPECT_FALSE(ReadVersionInfo(dir.file("empty"), info));
    EXPECT_FALSE(ReadVersionInfo(dir.path().string(), info));  // a folder
}

// This test program carries the same generated block as the program itself.
TEST(VersionInfoTest, ProgramReadsItsOwnEmbeddedVersion) {
    ASSERT_TRUE(LoadProgramVersionInfo());
    EXPECT_EQ(ProgramVersionInfo.FileName, ProgramFileName());
    EXPECT_EQ(ProgramVersionInfo.ProductName, "Vantrix");
    EXPECT_EQ(ProgramVersionInfo.CompanyName, "Vantrix");
    EXPECT_FALSE(ProgramVersionInfo.Copyright.empty());
    EXPECT_EQ(ProgramVersionInfo.ProductVersion,
              std::to_string(ProgramVersionInfo.ProductMajor) + "." + std::to_string(ProgramVersionInfo.ProductMinor) +
                  "." + std::to_string(ProgramVersionInfo.ProductRelease));
    EXPECT_EQ(ProgramVersionInfo.FileVersionText.rfind(ProgramVersionInfo.ProductVersion, 0), 0u);
}

// The section table leads to the block without a search; a damaged table
// leads nowhere, never outside the file.
TEST(VersionInfoTest, FindsItsSectionThroughTheSectionTable) {
    std::ifstream in(ProgramFileName(), std::ios::binary);
    const std::vector<std::uint8_t> program((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto section = ElfSection(program, ".vx_version");
    ASSERT_EQ(section.size(), kEmbeddedVersionBlockSize);
    EXPECT_EQ(std::memcmp(section.data(), kEmbeddedVersionBlock, kEmbeddedVersionBlockSize), 0);
    EXPECT_TRUE(ElfSection(program, ".no_such_section").empty());

    Elf64_Ehdr header;
    std::memcpy(&header, program.data(), sizeof header);
    const struct {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
    } cases[] = {
        {"cut before the table", [&](auto& f) { f.resize(header.e_shoff + 10); }},
        {"cut in the header", [](auto& f) { f.resize(20); }},
        {"table beyond the end", [&](auto& f) { reinterpret_cast<Elf64_Ehdr*>(f.data())->e_shoff = f.size() - 8; }},
        {"table offset wraps", [](auto& f) { reinterpret_cast<Elf64_Ehdr*>(f.data())->e_shoff = ~0ull - 100; }},
        {"name table index out of range", [](auto& f) { reinterpret_cast<Elf64_Ehdr*>(f.data())->e_shstrndx = 60000; }},
        {"not ELF", [](auto& f) { f[1] = 'X'; }},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> damaged = program;
        c.damage(damaged);
        EXPECT_TRUE(ElfSection(damaged, ".vx_version").empty()) << c.what;
    }
    // Every section claiming to lie past the end: none is handed out.
    std::vector<std::uint8_t> damaged = program;
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        auto* entry = reinterpret_cast<Elf64_Shdr*>(damaged.data() + header.e_shoff + i * sizeof(Elf64_Shdr));
        entry->sh_offset = damaged.size() - 4;
        entry->sh_size = 64;
    }
    EXPECT_TRUE(ElfSection(damaged, ".vx_version").empty());
}

}  // namespace
}  // namespace vx
