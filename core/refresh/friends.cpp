#include "refresh/friends.h"

#include "reference/textroutines.h"
#include "settings/translate.h"

#include <algorithm>

namespace quintor {
namespace {

constexpr std::size_t trayNames = 5;

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool containsName(const std::vector<std::string>& names, std::string_view name)
{
    return std::any_of(names.begin(), names.end(),
                       [name](const std::string& known) { return sameNameIgnoringCase(known, name); });
}

std::string joined(const std::vector<std::string>& names, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count && i < names.size(); ++i) {
        if (i > 0) text += ", ";
        text += names[i];
    }
    return text;
}

} // namespace

FriendList::FriendList(const TextList& lines)
{
    for (const std::string& line : lines.lines()) {
        std::string_view text = trimmed(line);
        const bool prefix = !text.empty() && text.back() == '*';
        if (prefix) text.remove_suffix(1);
        if (text.empty()) continue;
        patterns_.push_back({std::string(text), prefix});
    }
}

bool FriendList::matches(std::string_view name) const
{
    // Stripping is idempotent, so a name the reader already stripped stays as it is.
    return !patterns_.empty() && matchesShown(stripTags(name, true));
}

bool FriendList::matchesShown(std::string_view shown) const
{
    return std::any_of(patterns_.begin(), patterns_.end(), [shown](const Pattern& pattern) {
        if (!pattern.prefix) return sameNameIgnoringCase(shown, pattern.text);
        return shown.size() >= pattern.text.size() &&
               sameNameIgnoringCase(shown.substr(0, pattern.text.size()), pattern.text);
    });
}

std::vector<std::string> FriendList::in(const GameRecord& game) const
{
    std::vector<std::string> found;
    if (patterns_.empty()) return found;
    const auto consider = [&](const std::string& name) {
        std::string shown = stripTags(name, true);
        if (matchesShown(shown) && !containsName(found, shown)) found.push_back(std::move(shown));
    };
    for (const Player& player : game.Players)
        consider(player.Name);
    consider(game.Hoster);
    return found;
}

std::string friendLine(std::string_view name)
{
    return std::string(trimmed(oneLine(stripTags(name, true))));
}

bool namesFriend(const TextList& friends, std::string_view name)
{
    const std::string line = friendLine(name);
    return std::any_of(friends.lines().begin(), friends.lines().end(),
                       [&line](const std::string& known) { return sameNameIgnoringCase(trimmed(known), line); });
}

void forgetFriend(TextList& friends, std::string_view name)
{
    const std::string line = friendLine(name);
    for (int i = friends.count() - 1; i >= 0; --i) {
        if (sameNameIgnoringCase(trimmed(friends.line(i)), line)) friends.remove(i);
    }
}

std::vector<std::string> friendsOnline(const std::vector<GameRecord>& games, const FriendList& friends)
{
    std::vector<std::string> online;
    if (friends.empty()) return online;
    for (const GameRecord& game : games) {
        for (std::string& name : friends.in(game)) {
            if (!containsName(online, name)) online.push_back(std::move(name));
        }
    }
    return online;
}

std::string friendsToolTipLine(const std::vector<std::string>& names)
{
    return tr("Freunde: ") + joined(names, names.size());
}

std::string friendsOnlineLabel(std::size_t count)
{
    return tr("Freunde online: ") + std::to_string(count);
}

std::string trayFriendsText(const std::vector<std::string>& names)
{
    if (names.empty()) return {};
    std::string text = tr("Freunde online: ") + joined(names, trayNames);
    if (names.size() > trayNames) text += tr(" und ") + std::to_string(names.size() - trayNames) + tr(" weitere");
    return text;
}

} // namespace quintor
