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

bool combineConditions(CombineRule rule, const std::vector<bool>& flags)
{
    switch (rule) {
    case CombineRule::allHold:
        return allTrue(flags);
    case CombineRule::oneHolds:
        return anyTrue(flags);
    case CombineRule::noneHolds:
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

std::string fieldDatum(const GameRecord& game, ConditionField field)
{
    switch (field) {
    case ConditionField::title:
        return game.Title;
    case ConditionField::participants:
        return participantList(game);
    case ConditionField::hoster:
        return game.Hoster;
    case ConditionField::resources:
        return resourceList(game);
    case ConditionField::game:
        return game.Game;
    case ConditionField::status:
        return game.Status;
    case ConditionField::officialServer:
        return yesNoText(game.OfficialServer);
    case ConditionField::password:
        return yesNoText(game.PasswordNeeded);
    case ConditionField::league:
        return game.League;
    }
    return {};
}

namespace {

// The variables title to resources name the same data as the first four fields.
std::optional<ConditionField> fieldOfVariable(ActionVariable variable)
{
    switch (variable) {
    case ActionVariable::title:
        return ConditionField::title;
    case ActionVariable::participants:
        return ConditionField::participants;
    case ActionVariable::hoster:
        return ConditionField::hoster;
    case ActionVariable::resources:
        return ConditionField::resources;
    default:
        return std::nullopt;
    }
}

} // namespace

std::string variableValue(const GameRecord& game, ActionVariable variable)
{
    const auto field = fieldOfVariable(variable);
    return field ? fieldDatum(game, *field) : std::string();
}

bool conditionHolds(std::string_view datum, Comparison comparison, std::string_view text)
{
    switch (comparison) {
    case Comparison::contains:
        return !text.empty() && datum.find(text) != std::string_view::npos;
    case Comparison::equals:
        return datum == text;
    case Comparison::never:
        break;
    }
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

GameData::GameData(const GameRecord& game) : game_(&game)
{
    const auto set = [this](ConditionField field, std::string_view view) {
        views_[static_cast<std::size_t>(field)] = view;
        known_ |= std::uint32_t(1) << static_cast<std::size_t>(field);
    };
    set(ConditionField::title, game.Title);
    set(ConditionField::hoster, game.Hoster);
    set(ConditionField::game, game.Game);
    set(ConditionField::status, game.Status);
    set(ConditionField::league, game.League);
}

std::string_view GameData::computedField(ConditionField field)
{
    static const std::string yes = yesNoText(true), no = yesNoText(false);
    std::string_view view;
    switch (field) {
    case ConditionField::participants:
        participants_ = participantList(*game_);
        view = participants_;
        break;
    case ConditionField::resources:
        resources_ = resourceList(*game_);
        view = resources_;
        break;
    case ConditionField::officialServer:
        view = game_->OfficialServer ? yes : no;
        break;
    case ConditionField::password:
        view = game_->PasswordNeeded ? yes : no;
        break;
    default:
        return {}; // a field the files do not know
    }
    views_[static_cast<std::size_t>(field)] = view;
    known_ |= std::uint32_t(1) << static_cast<std::size_t>(field);
    return view;
}

BytePairs BytePairs::of(std::string_view text)
{
    BytePairs pairs{};
    for (std::size_t i = 1; i < text.size(); ++i) {
        const std::uint32_t pair = (static_cast<std::uint32_t>(static_cast<unsigned char>(text[i - 1])) << 8) |
                                   static_cast<unsigned char>(text[i]);
        const std::uint32_t bit = (pair * 0x9E3779B1u) >> 24;
        pairs.bits[bit >> 6] |= std::uint64_t(1) << (bit & 63);
    }
    return pairs;
}

std::string_view GameData::variable(ActionVariable variable)
{
    const auto datum = fieldOfVariable(variable);
    return datum ? field(*datum) : std::string_view();
}

} // namespace quintor
