#include <gtest/gtest.h>

#include "persistence/ini_document.h"

namespace vx {
namespace {

TEST(IniDocumentTest, KeepsFirstWrittenOrderOfSectionsAndKeys) {
    TIniDocument doc;
    doc.setValue("Twnd_vx_Main", "Size", "491,488");
    doc.setValue("Twnd_vx_Main\\Tree", "Tag", "1");
    doc.setValue("Twnd_vx_Main", "Pos", "714,296");
    doc.setValue("twnd_vx_main", "SIZE", "500,500");  // replaced in place, other case
    doc.setValue("Settings", "Units", "0");
    EXPECT_EQ(doc.text(),
              "[Twnd_vx_Main]\n"
              "SIZE=500,500\n"
              "Pos=714,296\n"
              "\n"
              "[Twnd_vx_Main\\Tree]\n"
              "Tag=1\n"
              "\n"
              "[Settings]\n"
              "Units=0\n");
}

TEST(IniDocumentTest, ReadsHandEditedFiles) {
    const TIniDocument doc(
        "\xEF\xBB\xBF; written by hand\r\n"
        "orphan=ignored\r\n"
        "[ Settings ]  trailing text\r\n"
        "  Units = 2  \r\n"
        "# a comment=not a key\r\n"
        "no equals sign\r\n"
        "Units=3\r\n"
        "Empty=\r\n"
        "[Settings]\r\n"
        "Period=9\r\n"
        "[Other]\r\n");
    EXPECT_EQ(doc.value("settings", "UNITS"), "2");  // the first occurrence wins
    EXPECT_EQ(doc.value("Settings", "Empty"), "");
    EXPECT_EQ(doc.value("Settings", "Period"), std::nullopt);  // in the second, shadowed section
    EXPECT_EQ(doc.value("", "orphan"), std::nullopt);
    EXPECT_EQ(doc.value("Settings", "# a comment"), std::nullopt);
    EXPECT_TRUE(doc.sectionExists("Settings"));
    EXPECT_FALSE(doc.sectionExists("Other"));  // no key in it
    EXPECT_EQ(doc.sectionLines("Settings"), (std::vector<std::string>{"Units=2", "Units=3", "Empty="}));
}

// Only one leading byte-order mark is a mark: a second one makes the first
// line unreadable, and a save must not change that (nor drop the mark).
TEST(IniDocumentTest, ByteOrderMarksKeepTheirMeaningThroughASave) {
    const std::string bom = "\xEF\xBB\xBF";
    TIniDocument doc(bom + bom + "[S]\nk=1\n[T]\nx=2\n");
    EXPECT_EQ(doc.value("S", "k"), std::nullopt);
    EXPECT_EQ(doc.value("T", "x"), "2");
    doc.setValue("T", "y", "3");
    const TIniDocument saved(doc.text());
    EXPECT_EQ(saved.value("S", "k"), std::nullopt);
    EXPECT_EQ(saved.value("T", "y"), "3");
    EXPECT_EQ(doc.text(), bom + bom + "[S]\nk=1\n[T]\nx=2\ny=3\n");
}

TEST(IniDocumentTest, EditsKeepCommentsLineEndsAndNonAsciiNames) {
    TIniDocument doc("; keep me\r\n[Größe]\r\nKey=1\r\n\r\n[B]\r\nx=y\r\n");
    EXPECT_EQ(doc.value("GRÖSSE", "key"), std::nullopt);  // ß does not fold to SS in simple case folding
    EXPECT_EQ(doc.value("GRÖßE", "key"), "1");
    doc.setValue("größe", "New", "2");
    EXPECT_EQ(doc.text(), "; keep me\r\n[Größe]\r\nKey=1\r\nNew=2\r\n\r\n[B]\r\nx=y\r\n");
}

TEST(IniDocumentTest, EraseSectionAndDeleteKey) {
    TIniDocument doc("[A]\nk=1\n\n[B]\nx=1\ny=2\nX=3\n\n[C]\nz=1\n[b]\nw=1\n");
    doc.deleteKey("B", "x");  // both spellings within the section
    EXPECT_EQ(doc.sectionLines("B"), std::vector<std::string>{"y=2"});
    doc.eraseSection("B");  // every section of that name
    EXPECT_EQ(doc.text(), "[A]\nk=1\n\n[C]\nz=1\n");
}

TEST(IniDocumentTest, ValidityOfNamesAndValues) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        bool valid;
    };
    const Case cases[] = {
        {"Twnd_vx_Main\\Tree", "Size(1920x1080x96)", "1,2", true},
        {"Settings", "eth0", "", true},
        {"Set]tings", "k", "v", false},
        {"Set\ntings", "k", "v", false},
        {" Settings", "k", "v", false},
        {"Settings", "a=b", "v", false},
        {"Settings", "", "v", false},
        {"Settings", "[k", "v", false},
        {"Settings", ";k", "v", false},
        {"Settings", "k ", "v", false},
        {"Settings", "k", "line1\nline2", false},
        {"Settings", "k", "a\rb", false},
    };
    for (const auto& c : cases) {
        const bool valid = TIniDocument::isValidSection(c.section) && TIniDocument::isValidKey(c.key) &&
                           TIniDocument::isValidValue(c.value);
        EXPECT_EQ(valid, c.valid) << c.section << " / " << c.key << " / " << c.value;
    }
}

TEST(IniDocumentTest, CallbackParserSeesValuesInFileOrder) {
    std::string seen;
    ParseIniText("x=0\n[S]\na=1\r\n[T]\nb = 2\n", [&](std::string_view s, std::string_view k, std::string_view v) {
        seen += std::string(s) + "." + std::string(k) + "=" + std::string(v) + ";";
    });
    EXPECT_EQ(seen, "S.a=1;T.b=2;");
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

// Found by fuzzing: a stray CR before the line end became part of the value
// and was lost when the file was written back with clean line ends.
TEST(IniDocumentTest, RewritingKeepsValuesOfLinesWithStrayCarriageReturns) {
    TIniDocument doc("[S]\nk = v\r\r\nj=w\n");
    EXPECT_EQ(doc.value("S", "k"), "v");
    doc.setValue("T", "x", "1");
    EXPECT_EQ(TIniDocument(doc.text()).value("S", "k"), "v");
}

}  // namespace
}  // namespace vx
