// Which language a program speaks. The sources hold the English texts; a
// translation catalogue compiled into the program (":/i18n/NAME_LANG.qm") and
// Qt's own catalogue for its dialogs' buttons make it speak another. Only
// what the operator reads is translated: requests, replies, log lines, file
// names and stored keys stay as they are in every language.
#pragma once

#include <QString>

/// The language of the first of the system's preferred ones (LANGUAGE, then
/// LC_ALL, LC_MESSAGES, LANG) that is English or that catalog translates:
/// "de", or "en" when none is (the texts of the sources).
QString systemLanguage(const QString& catalog);

/// Makes the application speak language ("en", "de"): installs catalog's
/// translation and Qt's own, or removes what an earlier call installed. Dates
/// and the calendar follow the language too; numbers keep their decimal
/// point, as the analyzer reads and writes them. False when language has no
/// catalogue (the application then speaks English).
bool setLanguage(const QString& catalog, const QString& language);

/// The language set last ("en" before any call).
QString currentLanguage();
