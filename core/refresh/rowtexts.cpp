#include "refresh/rowtexts.h"

#include "reference/textroutines.h"
#include "settings/keys.h"

namespace quintor {
namespace {

std::string fraction(std::int32_t a, std::int32_t b)
{
    return std::to_string(a) + " / " + std::to_string(b);
}

} // namespace

std::optional<std::string> columnText(std::string_view name, const GameRecord& e, const TextList& syno)
{
    if (name == "Szenario") return aliasFor(e.Title, syno);
    if (name == "Status") return aliasFor(e.Status, syno);
    if (name == "Hoster") return aliasFor(e.Hoster, syno);
    if (name == "Spieler") return fraction(e.PlayerCount, e.MaxPlayers);
    if (name == "Emptys") return fraction(e.Emptys, e.Clients);
    if (name == "Spiel") return e.Game;
    if (name == "Kontrollrate") return e.ControlRate;
    if (name == "Version") return aliasFor(e.Version, syno);
    if (name == "Kommentar") return aliasFor(e.Comment, syno);
    if (name == "Passwort") return yesNoText(e.PasswordNeeded);
    if (name == "Liga") return aliasFor(e.League, syno);
    if (name == "Offizieller Server") return yesNoText(e.OfficialServer);
    return std::nullopt;
}

std::string rowCaption(const GameRecord& entry, const TextList& syno)
{
    return aliasFor(entry.Title, syno);
}

std::string columnCaption(const TextList& config, int n)
{
    return config.Value(keys::numbered(keys::column, n));
}

std::vector<std::string> rowSubItems(const GameRecord& entry, const TextList& config, const TextList& syno,
                                     int columnCount)
{
    std::vector<std::string> texts;
    for (int n = 1; n < columnCount; ++n) {
        texts.push_back(columnText(columnCaption(config, n), entry, syno).value_or(std::string()));
    }
    return texts;
}

} // namespace quintor
