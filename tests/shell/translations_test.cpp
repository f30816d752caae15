// The translations: complete and current (no text of the program missing,
// none left over), built into the program, chosen by the user's languages,
// with the toolkit's own texts in the same language.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QXmlStreamReader>
#include <filesystem>

#include "shell/translations.h"
#include "support/temp_dir.h"

namespace vx {
namespace {

struct TEntryCounts {
    int finished = 0;
    QStringList unfinished, obsolete;
};

TEntryCounts readTs(const QString& path) {
    TEntryCounts counts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return counts;
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"source") {
            source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString text = xml.readElementText();
            if (type == u"obsolete" || type == u"vanished") counts.obsolete << source;
            else if (type == u"unfinished" || text.isEmpty()) counts.unfinished << source;
            else ++counts.finished;
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return counts;
}

const QStringList& tsFiles() {
    static const QStringList files = QString::fromUtf8(VX_TS_FILES).split(QLatin1Char(','));
    return files;
}

// Every entry translated, none left from texts the program no longer has;
// and lupdate run over today's sources finds nothing new to translate.
TEST(TranslationsTest, EveryTsFileIsCompleteAndCurrent) {
    test::TTempDir dir;
    for (const QString& ts : tsFiles()) {
        SCOPED_TRACE(ts.toStdString());
        const TEntryCounts stored = readTs(ts);
        EXPECT_GT(stored.finished, 100);
        EXPECT_TRUE(stored.unfinished.isEmpty()) << "unfinished: " << stored.unfinished.join(" | ").toStdString();
        EXPECT_TRUE(stored.obsolete.isEmpty()) << "obsolete: " << stored.obsolete.join(" | ").toStdString();

        const QString copy = QString::fromStdString(dir.file(std::filesystem::path(ts.toStdString()).filename()));
        ASSERT_TRUE(QFile::copy(ts, copy));
        QProcess lupdate;
        lupdate.start(QStringLiteral(VX_LUPDATE), {QStringLiteral("-silent"), QStringLiteral("-locations"),
                                                   QStringLiteral("none"), QStringLiteral(VX_SOURCE_DIR "/src"),
                                                   QStringLiteral("-ts"), copy});
        ASSERT_TRUE(lupdate.waitForFinished(120000));
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
        const TEntryCounts current = readTs(copy);
        EXPECT_TRUE(current.unfinished.isEmpty())
            << "texts of the program without a translation (cmake --build <dir> --target vx_update_translations): "
            << current.unfinished.join(" | ").toStdString();
        EXPECT_TRUE(current.obsolete.isEmpty()) << "left over: " << current.obsolete.join(" | ").toStdString();
    }
}

// The user's first language that Vantrix has is taken; English needs none.
TEST(TranslationsTest, TheUsersLanguageIsChosenWithTheToolkitsTexts) {
    EXPECT_EQ(TranslatedLanguages(), (QStringList{QStringLiteral("cs"), QStringLiteral("de")}));
    const struct {
        const char* locale;
        const char* taken;
        const char* file;  // "&File" as it reads then
    } cases[] = {
        {"de_DE", "de", "&Datei"}, {"de_AT", "de", "&Datei"}, {"cs_CZ", "cs", "&Soubor"},
        {"en_GB", "", "&File"},    {"fr_FR", "", "&File"},    {"C", "", "&File"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(InstallTranslations(QLocale(QString::fromLatin1(c.locale))), QString::fromLatin1(c.taken));
        EXPECT_EQ(QCoreApplication::translate("vx::Twnd_vx_Main", "&File"), QString::fromUtf8(c.file));
        RemoveTranslations();
    }
    EXPECT_EQ(QCoreApplication::translate("vx::Twnd_vx_Main", "&File"), QStringLiteral("&File"));

    // The toolkit's buttons in the same language, where Qt's translations are installed.
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    InstallTranslations(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    RemoveTranslations();
}

}  // namespace
}  // namespace vx
