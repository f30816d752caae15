#include <gtest/gtest.h>

#include <QDateTime>

#include "persistence/ini_storage.h"
#include "persistence/layout_manager.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

using test::ReadWholeFile;

class LayoutValuesTest : public ::testing::Test {
protected:
    test::TTempDir dir;
    std::string file = dir.file("vantrix.ini");
    TLayoutManager lm;
    TLayoutManagerValues& values = lm.StoredValues();

    void SetUp() override {
        auto storage = std::make_shared<TLayoutManagerINIStorage>();
        storage->SetFileName(file);
        lm.SetStorage(storage);
    }
};

TEST_F(LayoutValuesTest, NamesAreUniqueWithoutRegardToCase) {
    values.AddItem("Units", 1, "key");
    values.AddItem("UNITS", 5);  // exists: nothing changes
    EXPECT_EQ(values.Count(), 1);
    EXPECT_EQ(values.GetValue("units")->Value(), 1);
    EXPECT_EQ(values.GetValue("units")->Key(), "key");

    EXPECT_TRUE(IsNullValue(lm.GetValueByName("Nothing")));
    lm.SetValueByName("Period", 2);
    EXPECT_EQ(values.Count(), 2);
    EXPECT_EQ(values.GetValue("Period")->Key(), "");
    lm.SetValueByName("units", 3);  // the key stays
    EXPECT_EQ(values.GetValue("Units")->Key(), "key");

    TLayoutManagerValue* period = values.GetValue("Period");
    try {
        period->SetName("uNITS");
        FAIL() << "a duplicate name was accepted";
    } catch (const ELayoutManager& e) {
        EXPECT_STREQ(e.what(), "TLayoutManagerValue: Duplicates not allowed");
    }
    EXPECT_EQ(period->Name(), "Period");
    period->SetName("PERIOD");  // its own name in another case is no duplicate
    period->SetName("");
    EXPECT_EQ(period->Name(), "");
}

TEST_F(LayoutValuesTest, KindsSurviveASaveAndRestore) {
    const QDateTime when(QDate(2018, 5, 3), QTime(14, 7, 9));
    struct Case {
        const char* name;
        QVariant saved;
        const char* text;
        QVariant restoredFrom;  // what the value holds before the restore
        QVariant expected;
    };
    const Case cases[] = {
        {"Byte", QVariant::fromValue<uchar>(0), "0", QVariant::fromValue<uchar>(9), QVariant::fromValue<qlonglong>(0)},
        {"Int", -5, "-5", 1, QVariant::fromValue<qlonglong>(-5)},
        {"Big", QVariant::fromValue<qlonglong>(1LL << 40), "1099511627776", 0, QVariant::fromValue<qlonglong>(1LL << 40)},
        {"Flag", false, "0", true, false},
        {"Ratio", 0.5, "0.5", 1.0, 0.5},
        {"When", when, "2018-05-03 14:07:09", QDateTime(QDate(2000, 1, 1), QTime()), when},
        {"Name", QString("eth0"), "eth0", QString(), QString("eth0")},
        {"Unsigned", QVariant::fromValue<qulonglong>(18446744073709551615ULL), "18446744073709551615",
         QVariant::fromValue<qulonglong>(0), QString("18446744073709551615")},
        {"Empty", QVariant(), "", QVariant(), QString("")},
    };
    for (const auto& c : cases) values.AddItem(c.name, c.saved);
    values.Save();
    TLayoutManagerINIStorage check;
    check.SetFileName(file);
    for (const auto& c : cases) EXPECT_EQ(check.ReadString("Settings", c.name, "?"), c.text) << c.name;

    for (const auto& c : cases) values.GetValue(c.name)->SetValue(c.restoredFrom);
    values.Restore();
    for (const auto& c : cases) {
        const QVariant v = values.GetValue(c.name)->Value();
        EXPECT_EQ(v.metaType(), c.expected.metaType()) << c.name;
        EXPECT_EQ(v, c.expected) << c.name;
    }
}

TEST_F(LayoutValuesTest, ValuesWithAKeyAreScrambled) {
    values.AddItem("Secret", QString("AB"), "xy");
    values.Save();
    EXPECT_EQ(ReadWholeFile(file), "[Settings]\nSecret=383A\n");
    values.GetValue("Secret")->SetValue(7);
    values.Restore();
    EXPECT_EQ(values.GetValue("Secret")->Value(), QVariant(QString("AB")));  // comes back as text

    test::WriteWholeFile(file, "[Settings]\nSecret=zz\n");
    values.Restore();
    EXPECT_EQ(values.GetValue("Secret")->Value(), QVariant(QString("")));
}

TEST_F(LayoutValuesTest, SectionCopyAndNoStorage) {
    values.SetSection("Other");
    values.AddItem("A", 1);
    TLayoutManager copy;
    copy.SetStoredValues(values);
    EXPECT_EQ(copy.GetValueByName("a"), 1);
    copy.StoredValues().Save();  // no storage: nothing happens
    values.Save();
    EXPECT_EQ(ReadWholeFile(file), "[Other]\nA=1\n");
}

}  // namespace
}  // namespace vx
