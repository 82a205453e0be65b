// Friends: the names of "friends.txt", found among a game's players and its host, and the texts that name them.
#pragma once

#include "reference/gameentry.h"
#include "settings/textlist.h"

#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// The lines of "friends.txt" as the ticks match them. A line is a name, or, ending with "*", the beginning of
// every name it stands for ("Clan-*"). Blanks around a line and empty lines count for nothing, nor does a line
// that is only "*": it would make everyone a friend.
class FriendList {
public:
    FriendList() = default;
    explicit FriendList(const TextList& lines);

    bool empty() const { return patterns_.empty(); }
    // Whether the name (as the record holds it: its tags may still be in it) is a friend's. It is compared
    // without its tags, whether or not the ticks strip them, and without regard to letter case.
    bool matches(std::string_view name) const;
    // The friends in the game: its players in their order, then its host unless a player has that name;
    // each name once, without its tags.
    std::vector<std::string> in(const GameRecord& game) const;

private:
    bool matchesShown(std::string_view shown) const;

    struct Pattern {
        std::string text;
        bool prefix = false;
    };
    std::vector<Pattern> patterns_;
};

// "Als Freund merken": the line of "friends.txt" that names the player: without tags, on one line, without
// blanks around it.
std::string friendLine(std::string_view name);
// Whether a line names the player exactly (not through a "*").
bool namesFriend(const TextList& friends, std::string_view name);
// "Nicht mehr als Freund": removes the lines that name the player exactly. A "*" line that matches the name
// stays: it stands for others too.
void forgetFriend(TextList& friends, std::string_view name);

// The distinct friends in the games (compared without regard to letter case; the first spelling is kept), in
// the order of the games and of each game's friends.
std::vector<std::string> friendsOnline(const std::vector<GameRecord>& games, const FriendList& friends);

// "Freunde: A, B": the line a row's tooltip adds for the friends in its game.
std::string friendsToolTipLine(const std::vector<std::string>& names);
// "Freunde online: N": the details panel's label.
std::string friendsOnlineLabel(std::size_t count);
// "Freunde online: A, B": the tray icon's line, at most five names, then "und N weitere"; empty without any.
std::string trayFriendsText(const std::vector<std::string>& names);

} // namespace quintor
