// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Marks a text for the catalogs where it is kept (a table) and translated later with tr().
#define N_(text) text

namespace vantrel {

// The languages the program speaks. English is the source every catalog translates.
enum class Language { English, German, French };

// "en", "de", "fr".
const char* languageCode(Language language);
// "de", "de_DE.UTF-8", "fr_CH" ...; English for anything else.
Language languageFromCode(std::string_view code);
// The language's own name: "English", "Deutsch", "Français".
const char* languageName(Language language);

// The locale the desktop sets for a category ("LC_MESSAGES", "LC_MONETARY"): LC_ALL, else
// the category, else LANG; empty when none is set.
std::string desktopLocale(const char* category);

// The desktop's language, as every gettext program chooses it: LANGUAGE (a colon-separated
// list, the first language the program has) unless the messages locale (LC_ALL, else
// LC_MESSAGES, else LANG) is C or POSIX, then that locale's language. Read once.
Language programLanguage();

// The program's text in the program's language: the catalog's translation, or the English
// text itself when the catalog has none (never a key). Catalogs are the GNU gettext
// catalogs built from po/*.po (locale/LANG/LC_MESSAGES/vantrel.mo), found beside the
// program in a build tree or under share/locale where it is installed, read on first use.
std::string tr(const char* english);
// The same text in a given language: a document in its customer's language.
std::string trIn(Language language, const char* english);
// A text with a translator's context (the same English word meaning two things).
std::string trc(const char* context, const char* english);

// Puts the arguments in for %1, %2 ... %9: fill(tr("Could not save %1: %2"), path, why).
std::string fill(std::string_view text, std::initializer_list<std::string_view> args);

// Where the catalogs are looked for first (tests and the script driver); empty: beside the
// program. Call before the first translation.
void setCatalogFolder(std::string folder);
// Forgets the catalogs read and the language chosen, so a test can choose another.
void resetTranslations();

}  // namespace vantrel
