#include "shell/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace vx {
namespace {

const QString kFolder = QStringLiteral(":/i18n");

std::unique_ptr<QTranslator>& own() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator>& toolkit() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

}  // namespace

QStringList TranslatedLanguages() {
    QStringList languages;
    for (QString file : QDir(kFolder).entryList({QStringLiteral("vantrix_*.qm")}, QDir::Files, QDir::Name))
        languages << file.remove(0, 8).chopped(3);
    return languages;
}

QString InstallTranslations(const QLocale& locale) {
    RemoveTranslations();
    auto mine = std::make_unique<QTranslator>();
    // The locale's UI languages in order; English is the source and stops the search.
    for (const QString& name : locale.uiLanguages()) {
        const QString language = QLocale(name).name().section(QLatin1Char('_'), 0, 0);
        if (language == QLatin1String("en") || language == QLatin1String("C")) return {};
        if (!mine->load(QStringLiteral("vantrix_") + language, kFolder)) continue;
        QCoreApplication::installTranslator(mine.get());
        own() = std::move(mine);
        // The toolkit's own texts (Yes/No, the file dialog) in the same language,
        // where Qt's translations are installed.
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt.get());
            toolkit() = std::move(qt);
        }
        return language;
    }
    return {};
}

void RemoveTranslations() {
    for (std::unique_ptr<QTranslator>* t : {&own(), &toolkit()}) {
        if (*t) QCoreApplication::removeTranslator(t->get());
        t->reset();
    }
}

}  // namespace vx
