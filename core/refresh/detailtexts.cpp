#include "refresh/detailtexts.h"
#include "reference/textroutines.h"
#include "settings/translate.h"

#include <cstdint>

namespace quintor {

std::string sizeText(const Resource& resource)
{
    const auto bytes = static_cast<std::uint32_t>(resource.FileSize);
    if (!resource.Loadable || bytes == 0) return "N/L";
    return std::to_string(bytes / 1024) + " KB";
}

DetailTable playerTable(const GameRecord& entry)
{
    DetailTable table{{tr("Name"), tr("Dateiname"), tr("Spieler-ID"), tr("Flags")}, {}};
    for (const auto& p : entry.Players) {
        table.rows.push_back({p.Name, p.Filename, std::to_string(p.ID), shownFixedValue(p.Flags)});
        table.captionSpans.push_back(p.NameSpans);
    }
    return table;
}

DetailTable resourceTable(const GameRecord& entry)
{
    DetailTable table{{tr("Typ"), tr("Dateiname"),
                       tr("Gr\xF6\xDF"
                          "e"),
                       tr("Autor")},
                      {}};
    for (const auto& r : entry.Resources)
        table.rows.push_back({r.Type, r.Filename, sizeText(r), r.Author});
    return table;
}

} // namespace quintor
