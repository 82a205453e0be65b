// The column chooser's keys: which of the fixed column captions the settings choose, and storing a
// new choice as "Column" + n.
#pragma once

#include "settings/textlist.h"
#include "settings/translate.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// The columns the list can show besides "Szenario", in the chooser's fixed order.
inline constexpr std::array<std::string_view, 11> columnCaptions = {
    untranslated("Hoster"), untranslated("Spieler"),           untranslated("Status"),
    untranslated("Emptys"), untranslated("Version"),           untranslated("Kontrollrate"),
    untranslated("Spiel"),  untranslated("Kommentar"),         untranslated("Passwort"),
    untranslated("Liga"),   untranslated("Offizieller Server")};

// One flag per entry of columnCaptions: whether "Column" + 1, 2, ... (up to the first empty one)
// names it, letter case included.
std::vector<bool> chosenColumns(const TextList& config);

// Removes every line that begins with "Column" and has no "Width" in it (so every "ColumnWidth" + i
// stays), then sets "Column" + 1, 2, ... to the captions in the order given.
void storeColumnChoice(TextList& config, const std::vector<std::string>& captions);

} // namespace quintor
