#pragma once
// Choosing and loading a language from config.ini. Reading fills the text table; rebuilding
// the menus and putting the texts on the windows follow from its textsLoaded() signal.

#include "LanguageTexts.h"

#include <QString>
#include <QStringList>

namespace dunmere {

// The highest language number from Settings/NumLangs: 1 to 14 as written, any other text 1,
// a missing key 0 (only language 0 then).
[[nodiscard]] int HighestLanguageNumber();

// Start-up: validates Language against the highest number (rewriting "0" when the key held
// anything not taken), then loads that language.
void LoadLanguageSettings(LanguageTexts& texts = LanguageTexts::program());

// Reads Settings/Type and every key of section "Language" + texts.language(), replacing the
// whole table. Missing keys or sections give empty texts.
void LoadLanguageTexts(LanguageTexts& texts = LanguageTexts::program());

// Stores n as Settings/Language and loads it. False, and nothing changed, for a number
// outside 0 to HighestLanguageNumber().
[[nodiscard]] bool SetLanguage(int number, LanguageTexts& texts = LanguageTexts::program());

// The key Lang of every language 0 to HighestLanguageNumber(), for the language menu.
[[nodiscard]] QStringList LanguageNames();

// The help file of a language: a fixed name for languages 8 to 12, else the language's own
// Lang text, with ".txt". Empty when that name is empty or holds a path separator.
[[nodiscard]] QString HelpFileName(int language, const QString& ownName);
// DataFolder() + HelpFileName(), or empty.
[[nodiscard]] QString HelpFilePath(int language, const QString& ownName);

}  // namespace dunmere
