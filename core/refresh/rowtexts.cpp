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

ColumnKind columnKind(std::string_view name)
{
    if (name == "Szenario") return ColumnKind::scenario;
    if (name == "Status") return ColumnKind::status;
    if (name == "Hoster") return ColumnKind::hoster;
    if (name == "Spieler") return ColumnKind::players;
    if (name == "Emptys") return ColumnKind::emptys;
    if (name == "Spiel") return ColumnKind::game;
    if (name == "Kontrollrate") return ColumnKind::controlRate;
    if (name == "Version") return ColumnKind::version;
    if (name == "Kommentar") return ColumnKind::comment;
    if (name == "Passwort") return ColumnKind::password;
    if (name == "Liga") return ColumnKind::league;
    if (name == "Offizieller Server") return ColumnKind::officialServer;
    return ColumnKind::none;
}

std::optional<std::string> columnText(ColumnKind column, const GameRecord& e, const TextList& aliases)
{
    switch (column) {
    case ColumnKind::scenario:
        return aliasFor(e.Title, aliases);
    case ColumnKind::status:
        return aliasOrShownValue(e.Status, aliases);
    case ColumnKind::hoster:
        return aliasFor(e.Hoster, aliases);
    case ColumnKind::players:
        return fraction(e.PlayerCount, e.MaxPlayers);
    case ColumnKind::emptys:
        return fraction(e.Emptys, e.Clients);
    case ColumnKind::game:
        return e.Game;
    case ColumnKind::controlRate:
        return e.ControlRate;
    case ColumnKind::version:
        return aliasFor(e.Version, aliases);
    case ColumnKind::comment:
        return aliasOrShownValue(e.Comment, aliases);
    case ColumnKind::password:
        return e.PasswordNeeded ? tr("Ja") : tr("Nein");
    case ColumnKind::league:
        return aliasOrShownValue(e.League, aliases);
    case ColumnKind::officialServer:
        return e.OfficialServer ? tr("Ja") : tr("Nein");
    case ColumnKind::none:
        break;
    }
    return std::nullopt;
}

std::optional<std::string> columnText(std::string_view name, const GameRecord& e, const TextList& aliases)
{
    return columnText(columnKind(name), e, aliases);
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

std::vector<ColumnKind> subItemColumns(const TextList& config, int columnCount)
{
    std::vector<ColumnKind> columns;
    for (int n = 1; n < columnCount; ++n)
        columns.push_back(columnKind(columnCaption(config, n)));
    return columns;
}

void rowSubItems(const GameRecord& entry, const std::vector<ColumnKind>& columns, const TextList& aliases,
                 std::vector<std::string>& texts)
{
    texts.resize(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (std::optional<std::string> text = columnText(columns[i], entry, aliases))
            texts[i] = std::move(*text);
        else
            texts[i].clear();
    }
}

std::vector<std::string> rowSubItems(const GameRecord& entry, const TextList& config, const TextList& aliases,
                                     int columnCount)
{
    std::vector<std::string> texts;
    rowSubItems(entry, subItemColumns(config, columnCount), aliases, texts);
    return texts;
}

} // namespace quintor
