#include "refresh/rowtexts.h"
#include "settings/translate.h"

#include "reference/textroutines.h"
#include "settings/keys.h"

#include <algorithm>
#include <charconv>

namespace quintor {
namespace {

std::string fraction(std::int32_t a, std::int32_t b)
{
    // Written in place: the list asks for it for every game.
    char text[32];
    char* end = std::to_chars(text, text + 11, a).ptr;
    end = std::copy_n(" / ", 3, end);
    end = std::to_chars(end, end + 11, b).ptr;
    return std::string(text, end);
}

// A user's alias wins over the value's own translation.
std::string aliasOrShownValue(const std::string& value, const TextList& aliases)
{
    const int line = aliasLineIndex(value, aliases);
    return line < 0 ? shownFixedValue(value) : aliases.valueAt(line);
}

} // namespace

std::optional<std::string> columnText(std::string_view name, const GameRecord& e, const TextList& aliases)
{
    if (name == "Szenario") return aliasFor(e.Title, aliases);
    if (name == "Status") return aliasOrShownValue(e.Status, aliases);
    if (name == "Hoster") return aliasFor(e.Hoster, aliases);
    if (name == "Spieler") return fraction(e.PlayerCount, e.MaxPlayers);
    if (name == "Emptys") return fraction(e.Emptys, e.Clients);
    if (name == "Spiel") return e.Game;
    if (name == "Kontrollrate") return e.ControlRate;
    if (name == "Version") return aliasFor(e.Version, aliases);
    if (name == "Kommentar") return aliasOrShownValue(e.Comment, aliases);
    if (name == "Passwort") return e.PasswordNeeded ? tr("Ja") : tr("Nein");
    if (name == "Liga") return aliasOrShownValue(e.League, aliases);
    if (name == "Offizieller Server") return e.OfficialServer ? tr("Ja") : tr("Nein");
    return std::nullopt;
}

const std::string& rowCaption(const GameRecord& entry, const TextList& aliases, std::string& alias)
{
    const int line = aliasLineIndex(entry.Title, aliases);
    if (line < 0) return entry.Title;
    alias = aliases.valueAt(line);
    return alias;
}

TextSpans columnSpans(std::string_view columnName, std::string_view shownText, const GameRecord& entry)
{
    const std::string* text = nullptr;
    const TextSpans* spans = nullptr;
    if (columnName == "Szenario") {
        text = &entry.Title;
        spans = &entry.TitleSpans.list();
    } else if (columnName == "Hoster") {
        text = &entry.Hoster;
        spans = &entry.HosterSpans.list();
    } else if (columnName == "Kommentar") {
        text = &entry.Comment;
        spans = &entry.CommentSpans.list();
    }
    if (!text || *text != shownText) return {};
    TextSpans result = *spans;
    if (entry.ColorByFilter || entry.Stale) {
        std::erase_if(result, [](const TextSpan& span) { return !span.italic; });
        for (TextSpan& span : result)
            span.rgb.reset();
    }
    return result;
}

std::string columnCaption(const TextList& config, int n)
{
    return config.value(keys::numbered(keys::column, n));
}

std::vector<std::string> subItemColumns(const TextList& config, int columnCount)
{
    std::vector<std::string> names;
    for (int n = 1; n < columnCount; ++n)
        names.push_back(columnCaption(config, n));
    return names;
}

std::vector<std::string> rowSubItems(const GameRecord& entry, const std::vector<std::string>& columns,
                                     const TextList& aliases)
{
    std::vector<std::string> texts;
    texts.reserve(columns.size());
    for (const std::string& name : columns)
        texts.push_back(columnText(name, entry, aliases).value_or(std::string()));
    return texts;
}

std::vector<std::string> rowSubItems(const GameRecord& entry, const TextList& config, const TextList& aliases,
                                     int columnCount)
{
    return rowSubItems(entry, subItemColumns(config, columnCount), aliases);
}

} // namespace quintor
