#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "persistence/ini_storage.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::WriteWholeFile;

class IniStorageTest : public ::testing::Test {
protected:
    test::TTempDir dir;
    std::string file = dir.file("Maker/Product/vantrix.ini");
    TLayoutManagerINIStorage storage;

    void SetUp() override { storage.SetFileName(file); }
    void preset(const std::string& text) {
        fs::create_directories(fs::path(file).parent_path());
        WriteWholeFile(file, text);
    }
};

TEST_F(IniStorageTest, ReadingBeforeTheFileExistsCreatesNothing) {
    EXPECT_EQ(storage.ReadInteger("Settings", "Units", 7), 7);
    EXPECT_EQ(storage.ReadString("Settings", "Name", "def"), "def");
    EXPECT_FALSE(storage.ValueExists("Settings", "Units"));
    EXPECT_FALSE(storage.SectionExists("Settings"));
    std::vector<std::string> lines{"stale"};
    storage.ReadSection("Settings", lines);
    EXPECT_TRUE(lines.empty());
    storage.DeleteSection("Settings");
    storage.DeleteValue("Settings", "Units");
    EXPECT_FALSE(storage.Opened());
    EXPECT_FALSE(fs::exists(dir.path() / "Maker"));
}

TEST_F(IniStorageTest, FirstWriteCreatesTheFolderChainAndFile) {
    storage.WriteInteger("Settings", "Units", -1);
    EXPECT_TRUE(storage.Opened());
    EXPECT_EQ(ReadWholeFile(file), "[Settings]\nUnits=-1\n");
}

TEST_F(IniStorageTest, ValuesRoundTripInTheirStoredForms) {
    const TDateTime when = *TryEncodeDateTime({2018, 5, 3, 14, 7, 9, 0});
    storage.WriteInteger("S", "Int", INT64_MIN);
    storage.WriteBoolean("S", "True", true);
    storage.WriteBoolean("S", "False", false);
    storage.WriteFloat("S", "Float", 0.5);
    storage.WriteDatetime("S", "When", when);
    storage.WriteString("S", "Text", "eth0 — wired");
    storage.WriteString("S", "Empty", "");
    EXPECT_EQ(ReadWholeFile(file),
              "[S]\nInt=-9223372036854775808\nTrue=1\nFalse=0\nFloat=0.5\nWhen=2018-05-03 14:07:09\n"
              "Text=eth0 — wired\nEmpty=\n");
    EXPECT_EQ(storage.ReadInteger("s", "int", 0), INT64_MIN);
    EXPECT_TRUE(storage.ReadBoolean("S", "True", false));
    EXPECT_FALSE(storage.ReadBoolean("S", "False", true));
    EXPECT_EQ(storage.ReadFloat("S", "Float", 0), 0.5);
    EXPECT_EQ(storage.ReadDatetime("S", "When", 0), when);
    EXPECT_EQ(storage.ReadString("S", "Text", ""), "eth0 — wired");
    EXPECT_EQ(storage.ReadString("S", "Empty", "def"), "");  // present but empty is not absent
}

TEST_F(IniStorageTest, TextsThatDoNotConvertGiveTheDefault) {
    preset("[S]\nhex=0x10\nHEX=0X10\ndollar=$10\nshort=0x\nword=abc\ntwo=2\nzero=0\nyes=yes\n"
           "comma=0,5\nbaddate=2018-02-30\n");
    struct Case {
        const char* key;
        std::int64_t integer;
        bool boolean;
    };
    const Case cases[] = {
        {"dollar", 16, true}, {"short", 99, false}, {"word", 99, false},
        {"two", 2, true},     {"zero", 0, false},   {"yes", 99, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(storage.ReadInteger("S", c.key, 99), c.integer) << c.key;
        EXPECT_EQ(storage.ReadBoolean("S", c.key, false), c.boolean) << c.key;
    }
    EXPECT_EQ(storage.ReadInteger("S", "hex", 99), 16);
    EXPECT_EQ(storage.ReadFloat("S", "comma", 1.5), 1.5);
    EXPECT_EQ(storage.ReadDatetime("S", "baddate", 3.0), 3.0);
}

TEST_F(IniStorageTest, LongValuesAreCutAt2047CharactersWhenRead) {
    const std::string ascii(3000, 'x');
    std::string wide;
    for (int i = 0; i < 3000; ++i) wide += "é";
    storage.WriteString("S", "Ascii", ascii);
    storage.WriteString("S", "Wide", wide);
    EXPECT_EQ(storage.ReadString("S", "Ascii", ""), ascii.substr(0, 2047));
    EXPECT_EQ(storage.ReadString("S", "Wide", ""), wide.substr(0, 2047 * 2));  // whole characters
}

TEST_F(IniStorageTest, SectionExistsClosesTheStorage) {
    storage.WriteInteger("S", "k", 1);
    ASSERT_TRUE(storage.Opened());
    EXPECT_TRUE(storage.SectionExists("s"));
    EXPECT_FALSE(storage.Opened());
    EXPECT_FALSE(storage.SectionExists("Missing"));
}

TEST_F(IniStorageTest, FileNameChangesAndOpenedProperty) {
    storage.WriteInteger("S", "k", 1);
    storage.SetFileName(file);  // the same name: stays open
    EXPECT_TRUE(storage.Opened());

    const std::string other = dir.file("other.ini");
    WriteWholeFile(other, "[S]\nk=2\n");
    storage.SetFileName(other);  // was open: reopened on the new file
    EXPECT_TRUE(storage.Opened());
    EXPECT_EQ(storage.ReadInteger("S", "k", 0), 2);

    storage.SetOpened(false);
    EXPECT_FALSE(storage.Opened());
    storage.SetOpened(true);
    EXPECT_TRUE(storage.Opened());

    storage.Close();
    storage.SetFileName(dir.file("none.ini"));  // was closed: stays closed, creates nothing
    storage.SetOpened(true);
    EXPECT_FALSE(storage.Opened());
    EXPECT_FALSE(fs::exists(dir.file("none.ini")));
}

TEST_F(IniStorageTest, DeleteSectionAndValue) {
    storage.WriteInteger("A", "k", 1);
    storage.WriteInteger("B", "k", 1);
    storage.WriteInteger("B", "j", 2);
    storage.WriteInteger("C", "k", 1);
    storage.Close();
    storage.DeleteValue("B", "K");
    storage.DeleteSection("a");
    std::vector<std::string> lines;
    storage.ReadSection("B", lines);
    EXPECT_EQ(lines, std::vector<std::string>{"j=2"});
    EXPECT_EQ(ReadWholeFile(file), "[B]\nj=2\n\n[C]\nk=1\n");
}

TEST_F(IniStorageTest, SeesWhatAnotherProcessWroteMeanwhile) {
    storage.WriteInteger("S", "k", 1);
    EXPECT_EQ(storage.ReadInteger("S", "k", 0), 1);
    WriteWholeFile(file, "[S]\nk=22\nother=1\n");
    EXPECT_EQ(storage.ReadInteger("S", "k", 0), 22);
    storage.WriteInteger("S", "k", 3);  // the other writer's key survives
    EXPECT_EQ(ReadWholeFile(file), "[S]\nk=3\nother=1\n");
}

TEST_F(IniStorageTest, WritesThroughALinkReplaceTheLinkedFile) {
    const std::string real = dir.file("real.ini");
    WriteWholeFile(real, "[S]\nk=1\n");
    fs::create_directories(fs::path(file).parent_path());
    fs::create_symlink(real, file);
    storage.WriteInteger("S", "k", 2);
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(ReadWholeFile(real), "[S]\nk=2\n");
}

TEST_F(IniStorageTest, WritesKeepTheFilePermissionsAndLeaveNoTemporaryFiles) {
    preset("[S]\nk=1\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    storage.WriteInteger("S", "k", 2);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(fs::path(file).parent_path())) ++entries;
    EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

// After an explicit Open(false) the writes of one step land together at Close.
TEST(IniStorageGatheredWritesTest, LandTogetherAtClose) {
    test::TTempDir dir;
    const std::string file = dir.file("sub/vantrix.ini");
    TLayoutManagerINIStorage storage;
    storage.SetFileName(file);
    storage.Open(false);
    storage.WriteString("Form", "Size", "491,488");
    storage.WriteInteger("Form", "State", 0);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(storage.Opened());
    EXPECT_EQ(storage.ReadString("Form", "Size", ""), "491,488");  // reads see gathered writes
    storage.Close();
    EXPECT_EQ(ReadWholeFile(file), "[Form]\nSize=491,488\nState=0\n");

    storage.WriteInteger("Form", "State", 2);  // opened by the write itself: straight to disk
    EXPECT_EQ(ReadWholeFile(file), "[Form]\nSize=491,488\nState=2\n");
}

TEST(IniStorageGatheredWritesTest, RefusedAtCloseLeavesTheFileAsItWas) {
    test::TTempDir dir;
    const std::string file = dir.file("vantrix.ini");
    WriteWholeFile(file, "[Form]\nState=0\n");
    TLayoutManagerINIStorage storage;
    storage.SetFileName(file);
    storage.Open(false);
    storage.WriteInteger("Form", "State", 2);
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_THROW(storage.Close(), EIniFileException);
    EXPECT_FALSE(storage.Opened());
    EXPECT_EQ(ReadWholeFile(file), "[Form]\nState=0\n");
}

}  // namespace
}  // namespace vx
