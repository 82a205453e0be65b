#include "refresh/rowtexts.h"

#include "reference/textroutines.h"
#include "settings/keys.h"

namespace quintor {
namespace {

std::string fraction(std::int32_t a, std::int32_t b) { return std::to_string(a) + " / " + std::to_string(b); }

} // namespace

std::optional<std::string> columnText(std::string_view name, const TGameEntry& e, const TextList& syno)
{
    if (name == "Szenario") return gsyno(e.Title, syno);
    if (name == "Status") return gsyno(e.Status, syno);
    if (name == "Hoster") return gsyno(e.Hoster, syno);
    if (name == "Spieler") return fraction(e.PlayerCount, e.MaxPlayers);
    if (name == "Emptys") return fraction(e.Emptys, e.Clients);
    if (name == "Spiel") return e.Game;
    if (name == "Kontrollrate") return e.ControlRate;
    if (name == "Version") return gsyno(e.Version, syno);
    if (name == "Kommentar") return gsyno(e.Comment, syno);
    if (name == "Passwort") return nicebooltostr(e.PasswordNeeded);
    if (name == "Liga") return gsyno(e.League, syno);
    if (name == "Offizieller Server") return nicebooltostr(e.OfficialServer);
    return std::nullopt;
}

std::string rowCaption(const TGameEntry& entry, const TextList& syno) { return gsyno(entry.Title, syno); }

std::string gcolumn(const TextList& config, int n) { return config.Value(keys::numbered(keys::column, n)); }

std::vector<std::string> rowSubItems(const TGameEntry& entry, const TextList& config, const TextList& syno,
                                     int columnCount)
{
    std::vector<std::string> texts;
    for (int n = 1; n < columnCount; ++n) {
        texts.push_back(columnText(gcolumn(config, n), entry, syno).value_or(std::string()));
    }
    return texts;
}

} // namespace quintor
