// What the monitor would show for a set of replies and an application folder, as JSON.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace quintor {

struct InspectionInput {
    std::optional<std::string> appFolder; // with settings, aliases and filters from there
    std::vector<std::string> replies;     // read in order through one parse state
    // The replies of the refresh before, evaluated first and silently, so that only the actions that fire
    // for `replies` are reported. None: every game is new to every filter.
    std::vector<std::string> previous;
};

// The inspection tool's JSON object (texts decoded from Windows-1252 to UTF-8).
nlohmann::json inspect(const InspectionInput& input);

} // namespace quintor
