// Exported CSV reads the same in every locale and is safe to open in a
// spreadsheet.
#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
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

}  // namespace
}  // namespace vx
