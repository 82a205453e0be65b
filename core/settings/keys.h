// Names of the settings of "config.txt" and of the files of the application folder.
#pragma once

#include <string>
#include <string_view>

namespace quintor::keys {

inline constexpr std::string_view crdir = "crdir";
inline constexpr std::string_view width = "width";
inline constexpr std::string_view height = "height";
inline constexpr std::string_view left = "left";
inline constexpr std::string_view top = "top";
inline constexpr std::string_view noupdater = "noupdater";
inline constexpr std::string_view tagparse = "tagparse";
inline constexpr std::string_view feed = "feed";
// "False" switches the activity history off; absent means on.
inline constexpr std::string_view history = "history";
// "Freunde melden": "False" keeps the friends' balloons away; absent means on.
inline constexpr std::string_view friendnotify = "friendnotify";
// "de", "en" or "system" (also when absent): the language of the texts, from the next start on.
inline constexpr std::string_view language = "language";

// Numbered keys: the prefix followed by the number in decimal.
inline constexpr std::string_view clipBoardDisable = "ClipBoardDisable";
inline constexpr std::string_view columnWidth = "ColumnWidth";
inline constexpr std::string_view column = "Column";

inline std::string numbered(std::string_view prefix, int number)
{
    return std::string(prefix) + std::to_string(number);
}

} // namespace quintor::keys

namespace quintor::files {

inline constexpr std::string_view server = "server.txt";
inline constexpr std::string_view aliases = "syno.txt";
inline constexpr std::string_view config = "config.txt";
inline constexpr std::string_view log = "log.txt";
inline constexpr std::string_view filter = "filter.txt";
inline constexpr std::string_view index = "index.txt";
inline constexpr std::string_view history = "history.txt";
inline constexpr std::string_view friends = "friends.txt";
// A change of the filter store in progress; see filejournal.h.
inline constexpr std::string_view filterJournal = "filter.journal";

} // namespace quintor::files
