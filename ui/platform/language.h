// The language of the texts for this run, chosen at start-up from "config.txt" and the environment.
#pragma once

#include "settings/translate.h"

#include <string>
#include <vector>

class QCoreApplication;

namespace quintor::ui {

// Where the catalogs are looked for: "locale/" beside the program, the installed "share/locale/", then
// `extraLocaleFolders` (the build's own catalogs).
std::vector<std::string> catalogCandidatesOf(Language language, const std::vector<std::string>& extraLocaleFolders);

// Chooses the language from the setting "language" of the application folder's "config.txt" and the
// environment, loads our catalog and Qt's own translations for the standard texts (file dialogs, text
// fields' context menus). English without a catalog found falls back to German. The language in use.
Language setUpLanguage(QCoreApplication& application, const std::string& appFolder,
                       const std::vector<std::string>& extraLocaleFolders);

} // namespace quintor::ui
