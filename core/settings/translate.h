// The language of the user-visible texts. The program's own texts are German; another language comes
// from a message catalog (a GNU gettext .mo file) whose message ids are those German texts in UTF-8.
// Texts that are stored or sent (file names, keys, protocol, filter files) are never translated.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quintor {

enum class Language { german, english };

// The locale variables that may ask for a language; empty when unset.
struct LocaleEnvironment {
    std::string language;   // LANGUAGE: a list such as "en_GB:de"
    std::string lcAll;      // LC_ALL
    std::string lcMessages; // LC_MESSAGES
    std::string lang;       // LANG

    static LocaleEnvironment current();
};

// What the setting "language" of "config.txt" chooses: "de", "en", or (missing, "system", anything
// else) what the environment asks for: English when it asks for English, German otherwise.
Language chooseLanguage(std::string_view setting, const LocaleEnvironment& environment);

// The value of "language" in "config.txt" of an application folder; "" when the file or key is missing.
std::string storedLanguageSetting(const std::string& appFolder);

// Where the catalog of a language is looked for, in order: "locale/" beside the program (a portable
// folder), then the installed "share/locale/" beside the program's "bin/", then the extra folders.
std::vector<std::string> catalogCandidates(const std::string& programFolder, Language language,
                                           const std::vector<std::string>& extraLocaleFolders = {});

// Makes a language the one tr() gives. German needs no catalog; for another language the first
// catalog of the candidates that reads is used. False (and German texts) when none reads.
// Chosen once at start-up, before other threads translate.
bool useLanguage(Language language, const std::vector<std::string>& candidates);
// Loads one catalog file; false (and German texts) when it cannot be read.
bool useCatalogFile(const std::string& path);
void useGermanTexts();
// The language tr() gives now.
Language activeLanguage();

// A German text (Windows-1252) in a language that need not be the active one, its catalog read from the
// candidates; the German text when none reads. For the one text said in the language just chosen.
std::string textInLanguage(Language language, const std::vector<std::string>& candidates, const char* german);

// The user-visible text for a German string literal of the system (Windows-1252). Looked up once per
// literal and thread (by its address, so only literals may be passed); the reference stays valid until
// the language changes.
const std::string& tr(const char* german);
// A German text that is not a literal (a column name, an entry of a fixed list): looked up by content,
// so call it once per text shown, not per row.
std::string translateText(std::string_view german);
// Marks a German literal for the catalog where it is kept untranslated because it is also stored or
// compared (a column name of "config.txt", a filter field); translateText() turns it where it is shown.
constexpr const char* untranslated(const char* german)
{
    return german;
}

// A counted text: the singular or plural form for `count`, with "%1" replaced by the number.
std::string trn(const char* singular, const char* plural, long long count);

// The same for UTF-8 texts (the windows' literals); the translation, or the text itself, in UTF-8.
std::string translateUtf8(const char* german);
std::string translateUtf8Plural(const char* singular, const char* plural, long long count);

} // namespace quintor
