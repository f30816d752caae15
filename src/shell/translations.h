#pragma once
// The user's language: Vantrix's own texts (translations built into the
// program) and the toolkit's (its standard dialogs and buttons).

#include <QLocale>
#include <QStringList>

namespace vx {

// Installs the translations for the first of `locale`'s UI languages that
// Vantrix has; English (the source texts) needs none. Returns the language
// taken, or an empty string.
QString InstallTranslations(const QLocale& locale = QLocale());

// Removes what InstallTranslations installed.
void RemoveTranslations();

// The languages Vantrix is translated into ("de", "cs", ...).
QStringList TranslatedLanguages();

}  // namespace vx
