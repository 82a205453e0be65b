#include "filters/filterpage.h"
#include "settings/translate.h"

#include <stdexcept>

namespace quintor {
namespace {

constexpr std::int32_t actionJoin = 3;
constexpr std::int32_t actionSound = 2;
constexpr std::int32_t actionColour = 4;
constexpr std::int32_t variableNothing = 4;

} // namespace

const std::vector<std::string>& fieldItems(FilterPageKind page)
{
    static const std::vector<std::string> conditionFields{untranslated("Szenario"),  untranslated("Teilnehmerliste"),
                                                          untranslated("Hoster"),    untranslated("Definitionsliste"),
                                                          untranslated("Spiel"),     untranslated("Spielstatus"),
                                                          untranslated("Offiziell"), untranslated("Passwort benutzt"),
                                                          untranslated("Liga")};
    // "\326" is the byte of "Ö": a hex escape would take the "ff" after it as digits.
    static const std::vector<std::string> actions{
        untranslated("Zeige Dialogbox an"),   untranslated("\326ffne Hinweis im Systray"),
        untranslated("Gebe Sound aus"),       untranslated("Trete Spiel bei"),
        untranslated("F\xE4rbe Eintrag ein"), untranslated("Schreibe ins Log")};
    return page == FilterPageKind::conditions ? conditionFields : actions;
}

const std::vector<std::string>& actItems(FilterPageKind page)
{
    static const std::vector<std::string> comparisons{untranslated("enth\xE4lt"), untranslated("entspricht")};
    static const std::vector<std::string> variables{untranslated("Szenario"), untranslated("Teilnehmerliste"),
                                                    untranslated("Hoster"), untranslated("Definitionsliste"),
                                                    untranslated("Nichts")};
    return page == FilterPageKind::conditions ? comparisons : variables;
}

const std::vector<std::string>& combinationItems()
{
    static const std::vector<std::string> rules{untranslated("Alle Bedingungen sind erf\xFCllt"),
                                                untranslated("Eine Bedingung ist erf\xFCllt"),
                                                untranslated("Keine Bedingung trifft zu")};
    return rules;
}

FilterRow newRow(FilterPageKind page)
{
    return {-1, page == FilterPageKind::actions ? variableNothing : -1, ""};
}

std::int32_t chosenItem(std::int32_t code, std::size_t itemCount)
{
    return code >= 0 && static_cast<std::size_t>(code) < itemCount ? code : -1;
}

RowVisibility actionRowVisibility(std::int32_t action)
{
    return {action != actionSound && action != actionColour, action != actionJoin};
}

const PageRow& FilterPage::row(int r) const
{
    if (r < 0 || r >= count()) throw std::out_of_range("row " + std::to_string(r));
    return rows_[static_cast<std::size_t>(r)];
}

PageRow& FilterPage::at(int r)
{
    if (r < 0 || r >= count()) throw std::out_of_range("row " + std::to_string(r));
    return rows_[static_cast<std::size_t>(r)];
}

std::vector<FilterRow> FilterPage::values() const
{
    std::vector<FilterRow> values;
    values.reserve(rows_.size());
    for (const auto& row : rows_)
        values.push_back(row.values);
    return values;
}

int FilterPage::addRow()
{
    rows_.push_back({newRow(kind_), {}});
    return count() - 1;
}

int FilterPage::addLoadedRow(const FilterRow& values)
{
    rows_.push_back({{chosenItem(values.field, fieldItems(kind_).size()),
                      chosenItem(values.act, actItems(kind_).size()), values.edit},
                     {}});
    return count() - 1;
}

void FilterPage::removeRow(int n)
{
    at(n);
    rows_.erase(rows_.begin() + n);
}

void FilterPage::setField(int r, std::int32_t field)
{
    at(r).values.field = chosenItem(field, fieldItems(kind_).size());
}

void FilterPage::setAct(int r, std::int32_t act)
{
    at(r).values.act = chosenItem(act, actItems(kind_).size());
}

void FilterPage::setEdit(int r, std::string edit)
{
    at(r).values.edit = std::move(edit);
}

void FilterPage::chooseAction(int r, std::int32_t action)
{
    setField(r, action);
    at(r).shown = actionRowVisibility(at(r).values.field);
}

void FilterPages::load(const std::string& key)
{
    key_ = key;
    const FilterConditions conditions = readConditions(appFolder_, key);
    FilterPage page(FilterPageKind::conditions);
    for (const auto& row : conditions.rows)
        page.addLoadedRow(row);
    page_ = std::move(page);
    typ_ = chosenItem(conditions.typ, combinationItems().size());
    active_ = conditions.active;
    once_ = conditions.once;
    loadedConditions_ = conditionsLines(this->conditions()).text();
    conditionsChanged_ = false;
}

std::optional<std::string> FilterPages::leaveConditions()
{
    if (!savesNothing_) writeConditions(appFolder_, key_, conditions());
    conditionsChanged_ = !savesNothing_ && conditionsLines(conditions()).text() != loadedConditions_;
    ActionRows actions = readActions(appFolder_, key_);
    FilterPage page(FilterPageKind::actions);
    for (const auto& row : actions.rows)
        page.addLoadedRow(row);
    page_ = std::move(page);
    return actions.error;
}

void FilterPages::confirmActions() const
{
    if (!savesNothing_) writeActions(appFolder_, key_, page_.values());
}

} // namespace quintor
