// The stock of names the simulated league draws from: Windows-1252 bytes, with the quotes,
// backslashes, umlauts and digits that make real replies need escapes.
#pragma once

#include <string>
#include <vector>

namespace quintor::sim {

struct ScenarioInfo {
    std::string title;
    std::string filename; // with "\" as separator
    std::string author;
    std::string goals;
    bool settlement; // a Settle league scenario rather than a Melee one
};

struct DefinitionInfo {
    std::string filename;
    std::string author;
};

const std::vector<ScenarioInfo>& scenarioNames();
const std::vector<DefinitionInfo>& definitionNames();
const std::vector<std::string>& playerNames();
const std::vector<std::string>& computerPlayerNames();
const std::vector<std::string>& commentTexts(); // "" where a game has none
const std::vector<std::string>& teamNames();
const std::vector<std::string>& clanTags();
const std::vector<std::string>& ruleLists();
const std::vector<std::string>& motdTexts();

} // namespace quintor::sim
