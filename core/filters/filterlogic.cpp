#include "filters/filterlogic.h"

#include "reference/textroutines.h"

#include <algorithm>

namespace quintor {

bool allTrue(const std::vector<bool>& flags)
{
    return std::all_of(flags.begin(), flags.end(), [](bool flag) { return flag; });
}

bool anyTrue(const std::vector<bool>& flags)
{
    return std::any_of(flags.begin(), flags.end(), [](bool flag) { return flag; });
}

bool noneTrue(const std::vector<bool>& flags)
{
    return std::none_of(flags.begin(), flags.end(), [](bool flag) { return flag; });
}

bool combineConditions(std::int32_t typ, const std::vector<bool>& flags)
{
    switch (typ) {
    case 0:
        return allTrue(flags);
    case 1:
        return anyTrue(flags);
    case 2:
        return noneTrue(flags);
    default:
        return false;
    }
}

namespace {

template <typename Items, typename Name> std::string joined(const Items& items, Name name)
{
    std::string text;
    bool first = true;
    for (const auto& item : items) {
        if (!first) text += ',';
        first = false;
        text += name(item);
    }
    return text;
}

} // namespace

std::string participantList(const GameRecord& game)
{
    return joined(game.Players, [](const Player& player) -> const std::string& { return player.Name; });
}

std::string resourceList(const GameRecord& game)
{
    return joined(game.Resources, [](const Resource& resource) -> const std::string& { return resource.Filename; });
}

std::string fieldDatum(const GameRecord& game, std::int32_t fieldCode)
{
    switch (fieldCode) {
    case 0:
        return game.Title;
    case 1:
        return participantList(game);
    case 2:
        return game.Hoster;
    case 3:
        return resourceList(game);
    case 4:
        return game.Game;
    case 5:
        return game.Status;
    case 6:
        return yesNoText(game.OfficialServer);
    case 7:
        return yesNoText(game.PasswordNeeded);
    case 8:
        return game.League;
    default:
        return {};
    }
}

std::string variableValue(const GameRecord& game, std::int32_t variableCode)
{
    return variableCode >= 0 && variableCode <= 3 ? fieldDatum(game, variableCode) : std::string();
}

bool conditionHolds(std::string_view datum, std::string_view comparisonCode, std::string_view text)
{
    if (comparisonCode == "0") return !text.empty() && datum.find(text) != std::string_view::npos;
    if (comparisonCode == "1") return datum == text;
    return false;
}

std::uint32_t colourOf(std::string_view name)
{
    struct Named {
        std::string_view name;
        std::uint32_t colour;
    };
    static constexpr Named kColours[] = {{"Blau", 0xFF0000}, {"Grau", 0x808080},   {"Rot", 0x0000FF},
                                         {"Gelb", 0x00FFFF}, {"Orange", 0x0080FF}, {"Gr\xFCn", 0x008000}};
    for (const auto& entry : kColours) {
        if (entry.name == name) return entry.colour;
    }
    return 0;
}

std::string_view GameData::field(std::int32_t fieldCode)
{
    switch (fieldCode) {
    case 0:
        return game_->Title;
    case 2:
        return game_->Hoster;
    case 4:
        return game_->Game;
    case 5:
        return game_->Status;
    case 8:
        return game_->League;
    case 1:
    case 3:
    case 6:
    case 7: {
        auto& slot = computed_[static_cast<std::size_t>(fieldCode)];
        if (!slot) slot = fieldDatum(*game_, fieldCode);
        return *slot;
    }
    default:
        return {};
    }
}

std::string_view GameData::variable(std::int32_t variableCode)
{
    return variableCode >= 0 && variableCode <= 3 ? field(variableCode) : std::string_view();
}

} // namespace quintor
