// Exported CSV reads the same in every locale and is safe to open in a
// spreadsheet.
#include <gtest/gtest.h>

#include <QLocale>
#include <sys/stat.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/temp_dir.h"
#include "sysinfo/csv_text.h"
#include "usage/usage_csv.h"

namespace vx {
namespace {

TEST(CsvTextTest, FieldsAndNumbers) {
    struct Case {
        std::string in, out;
    } fields[] = {{"eth0", "eth0"},           {"a,b", "\"a,b\""},           {"say \"hi\"", "\"say \"\"hi\"\"\""},
                  {"=1+2", "'=1+2"},          {"@SUM(A1)", "'@SUM(A1)"},     {"-x,y", "\"'-x,y\""},
                  {"line\nbreak", "\"line\nbreak\""}, {"", ""}};
    for (const Case& c : fields) EXPECT_EQ(CsvField(c.in), c.out) << c.in;
    EXPECT_EQ(CsvNumber(1234.5, 2), "1234.50");
    EXPECT_EQ(CsvNumber(-0.001, 2), "0.00");
    EXPECT_EQ(CsvNumber(0.125, 1), "0.1");
    EXPECT_EQ(CsvNumber(1.0 / 0.0, 2), "");
    EXPECT_EQ(IsoDay(20260301), "2026-03-01");
    EXPECT_EQ(IsoDateTime(46366.5 + 1.0 / 86400), "2026-12-10T12:00:01");
}

TEST(CsvTextTest, DecimalCommaLocaleChangesNothing) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(CsvNumber(1234567.891, 3), "1234567.891");

    test::TTempDir dir;
    TUsageStore store;
    ASSERT_TRUE(store.Open(dir.file("u.sqlite")));
    TUsageBatch b;
    b.Names["name:b,1"] = "b,1";
    b.Names["name:a"] = "a";
    b.Increments[{"name:b,1", 20261210}] = {1234567, 89};
    b.Increments[{"name:a", 20261211}] = {5, 6};
    b.Increments[{"name:a", 20261209}] = {1, 2};
    ASSERT_TRUE(store.Commit(b));
    const std::string file = dir.file("out/usage.csv");
    EXPECT_FALSE(ExportUsageCsv(store, file).empty());  // no such folder: said, not thrown
    ASSERT_EQ(ExportUsageCsv(store, dir.file("usage.csv")), "");
    EXPECT_EQ(test::ReadWholeFile(dir.file("usage.csv")),
              "interface,date,received_bytes,sent_bytes\n"
              "a,2026-12-09,1,2\n"
              "a,2026-12-11,5,6\n"
              "\"b,1\",2026-12-10,1234567,89\n");
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, saved.c_str());
}

// An export goes only to a regular file or a new name, is written beside
// it and renamed over it, and says why it could not be written.
TEST(CsvFileTest, OnlyRegularFilesAreReplacedAndNothingIsLeftHalfWritten) {
    test::TTempDir dir;
    const auto rows = [](std::ostream& out) { out << "a,b\n1,2\n"; };
    const std::string fifo = dir.file("pipe.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::WriteWholeFile(dir.file("target.csv"), "keep me\n");
    std::filesystem::create_symlink(dir.file("target.csv"), dir.file("link.csv"));
    std::filesystem::create_directory(dir.file("folder.csv"));
    test::WriteWholeFile(dir.file("old.csv"), "old\n");
    ::chmod(dir.file("old.csv").c_str(), 0640);
    const struct {
        std::string path;
        const char* said;  // empty: written
    } cases[] = {
        {fifo, "it is not a regular file"},             // would hang in open() otherwise
        {dir.file("link.csv"), "it is a symbolic link"},  // its target would be overwritten
        {dir.file("folder.csv"), "it is not a regular file"},
        {dir.file("no/such/folder.csv"), "No such file or directory"},
        {dir.file("new.csv"), ""},
        {dir.file("old.csv"), ""},
    };
    for (const auto& c : cases) {
        const std::string result = WriteCsvFile(c.path, rows);
        if (*c.said == 0) {
            EXPECT_EQ(result, "") << c.path;
            EXPECT_EQ(test::ReadWholeFile(c.path), "a,b\n1,2\n") << c.path;
        } else {
            EXPECT_EQ(result, "Unable to write to " + c.path + ": " + c.said);
        }
    }
    EXPECT_EQ(test::ReadWholeFile(dir.file("target.csv")), "keep me\n");
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("old.csv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // a replaced file keeps its mode
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}

TEST(CsvFileTest, AFullDiskLeavesTheEarlierFileWhole) {
    if (::geteuid() != 0) GTEST_SKIP() << "a small file system of its own needs root";
    test::TTempDir dir;
    if (std::system(("mount -t tmpfs -o size=64k tmpfs '" + dir.path().string() + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    struct Unmount {
        std::string at;
        ~Unmount() { (void)!std::system(("umount '" + at + "'").c_str()); }
    } unmount{dir.path().string()};
    const std::string file = dir.file("history.csv");
    test::WriteWholeFile(file, "the earlier export\n");
    const std::string result = WriteCsvFile(file, [](std::ostream& out) { out << std::string(200000, 'x'); });
    EXPECT_EQ(result, "Unable to write to " + file + ": No space left on device");
    EXPECT_EQ(test::ReadWholeFile(file), "the earlier export\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary file left
}

}  // namespace
}  // namespace vx
