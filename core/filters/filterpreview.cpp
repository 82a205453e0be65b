#include "filters/filterpreview.h"
#include "settings/translate.h"

#include "filters/compiledfilter.h"
#include "filters/filterlogic.h"
#include "reference/textroutines.h"
#include "settings/textlist.h"

namespace quintor {
namespace {

// A text from a game as one short line: control characters become spaces, and a long one is cut.
// How much of a text a line of the preview shows.
constexpr std::size_t kLongestLine = 80;

std::string shortLine(std::string_view text)
{
    std::string line = oneLine(text.substr(0, kLongestLine));
    if (text.size() > kLongestLine) line += "...";
    return line;
}

// A row that fails although its text is a value of the list as the language shown writes it ("Running") is
// told the value filters compare ("Laufend").
void noteListSpellings(FilterPreview& preview, const std::vector<CompiledCondition>& rows)
{
    for (std::size_t j = 0; j < rows.size(); ++j) {
        PreviewRow& row = preview.rows[j];
        if (!row.holds && !row.caseSpelling) row.listSpelling = fixedValueShownAs(rows[j].text);
    }
}

} // namespace

std::optional<std::string> caseOnlySpelling(std::string_view datum, Comparison comparison, std::string_view text)
{
    if (conditionHolds(datum, comparison, text)) return std::nullopt;
    if (comparison == Comparison::equals) {
        if (sameNameIgnoringCase(datum, text)) return std::string(datum);
    } else if (comparison == Comparison::contains && !text.empty() && text.size() <= datum.size()) {
        for (std::size_t at = 0; at + text.size() <= datum.size(); ++at) {
            const std::string_view part = datum.substr(at, text.size());
            if (sameNameIgnoringCase(part, text)) return std::string(part);
        }
    }
    return std::nullopt;
}

FilterPreview previewFilter(const FilterConditions& conditions, const std::vector<GameRecord>* games)
{
    // Through the file form the page would be saved in, so that the preview decides as the refresh will.
    // Read as active, so that the rows of an inactive filter are still there to be marked; the decision
    // then takes the page's own flag.
    const FilterEntry entry{0, 0, "preview", "preview", ""};
    FilterConditions asActive = conditions;
    asActive.active = true;
    const TextList lines = conditionsLines(asActive);
    const std::string conditionsFile = conditionsFileName(entry.key);
    CompiledFilter filter = compileFilter(
        entry, [&](const std::string& fileName) { return fileName == conditionsFile ? lines : TextList(); });
    filter.active = conditions.active;

    FilterPreview preview;
    preview.active = conditions.active;
    preview.rows.resize(filter.conditions.size());
    if (!games) return preview;
    preview.gamesLoaded = true;
    preview.total = games->size();
    if (filter.failure) return preview;

    for (std::size_t i = 0; i < games->size(); ++i) {
        GameData data((*games)[i]);
        if (filterMatches(filter, data)) preview.matching.push_back(i);
    }

    const auto& rows = filter.conditions;
    const auto spelling = [&rows](GameData& data, std::size_t j) {
        return caseOnlySpelling(data.field(rows[j].field), rows[j].comparison, rows[j].text);
    };
    std::vector<bool> held;
    if (!preview.matching.empty()) {
        const GameRecord& first = (*games)[preview.matching.front()];
        preview.firstTitle = first.Title;
        GameData data(first);
        filterMatches(filter, data, &held);
        for (std::size_t j = 0; j < rows.size(); ++j) {
            preview.rows[j].holds = held[j];
            if (!held[j]) preview.rows[j].caseSpelling = spelling(data, j);
        }
        noteListSpellings(preview, rows);
        return preview;
    }

    // No game matches: count each row's games, and keep the first spelling that differs only by case.
    std::vector<std::optional<std::string>> firstSpelling(rows.size());
    for (const GameRecord& game : *games) {
        GameData data(game);
        filterMatches(filter, data, &held);
        for (std::size_t j = 0; j < rows.size(); ++j) {
            if (held[j]) {
                ++preview.rows[j].gamesHeld;
            } else if (!firstSpelling[j] && preview.rows[j].gamesHeld == 0) {
                firstSpelling[j] = spelling(data, j);
            }
        }
    }
    for (std::size_t j = 0; j < rows.size(); ++j) {
        PreviewRow& row = preview.rows[j];
        row.holds = row.gamesHeld > 0;
        // A row that holds for some games needs no hint about the others.
        if (!row.holds) row.caseSpelling = std::move(firstSpelling[j]);
    }
    noteListSpellings(preview, rows);
    return preview;
}

std::string caseHint(const std::string& spelling)
{
    return tr("Gro\xDF-/Kleinschreibung beachten: \"") + shortLine(spelling) + "\"";
}

std::string listSpellingHint(const std::string& spelling)
{
    return tr("Die Spieleliste schreibt: \"") + spelling + "\"";
}

std::vector<PreviewLine> previewLines(const FilterPreview& preview, const std::vector<GameRecord>* games)
{
    if (!preview.gamesLoaded || !games) return {{tr("Noch keine Spiele geladen"), {}}};
    std::vector<PreviewLine> lines;
    lines.push_back({tr("Passt jetzt auf ") + std::to_string(preview.matching.size()) + tr(" von ") +
                         std::to_string(preview.total) + tr(" Spielen:"),
                     {}});
    const std::size_t shown = std::min(preview.matching.size(), kPreviewTitles);
    for (std::size_t i = 0; i < shown; ++i) {
        const std::size_t at = preview.matching[i];
        if (at >= games->size()) continue;
        const GameRecord& game = (*games)[at];
        constexpr std::string_view indent = "  ";
        lines.push_back(
            {std::string(indent) + shortLine(game.Title), spansWithin(game.TitleSpans, kLongestLine, indent.size())});
    }
    if (preview.matching.size() > shown)
        lines.push_back({tr("  und ") + std::to_string(preview.matching.size() - shown) + tr(" weitere"), {}});
    if (!preview.active) lines.push_back({tr("\"Filter aktiv\" ist aus: der Filter passt auf kein Spiel."), {}});
    for (std::size_t j = 0; j < preview.rows.size(); ++j) {
        if (preview.rows[j].caseSpelling)
            lines.push_back(
                {tr("Bedingung ") + std::to_string(j + 1) + ": " + caseHint(*preview.rows[j].caseSpelling), {}});
        if (preview.rows[j].listSpelling)
            lines.push_back(
                {tr("Bedingung ") + std::to_string(j + 1) + ": " + listSpellingHint(*preview.rows[j].listSpelling),
                 {}});
    }
    return lines;
}

std::string previewText(const FilterPreview& preview, const std::vector<GameRecord>* games)
{
    std::string text;
    const std::vector<PreviewLine> lines = previewLines(preview, games);
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i == 0 ? "" : "\n") + lines[i].text;
    return text;
}

std::string rowToolTip(const FilterPreview& preview, std::size_t row)
{
    if (!preview.gamesLoaded) return tr("Noch keine Spiele geladen");
    if (row >= preview.rows.size()) return {};
    const PreviewRow& mark = preview.rows[row];
    std::string text;
    if (!preview.matching.empty())
        text = std::string(mark.holds ? tr("h\xE4lt f\xFCr \"") : tr("h\xE4lt nicht f\xFCr \"")) +
               shortLine(preview.firstTitle) + "\"";
    else
        text = tr("h\xE4lt f\xFCr ") + std::to_string(mark.gamesHeld) + tr(" von ") + std::to_string(preview.total) +
               tr(" Spielen");
    if (mark.caseSpelling) text += "\n" + caseHint(*mark.caseSpelling);
    if (mark.listSpelling) text += "\n" + listSpellingHint(*mark.listSpelling);
    return text;
}

} // namespace quintor
