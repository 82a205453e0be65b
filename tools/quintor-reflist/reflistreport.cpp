#include "reflistreport.h"

#include "filters/filterengine.h"
#include "reference/reader.h"
#include "reference/textroutines.h"
#include "refresh/detailtexts.h"
#include "refresh/friends.h"
#include "refresh/monitorstate.h"
#include "refresh/rank.h"
#include "refresh/rowbuilder.h"
#include "refresh/statistic.h"
#include "settings/encoding.h"
#include "settings/errors.h"
#include "settings/fileio.h"
#include "settings/keys.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <numeric>

namespace quintor {
namespace {

using nlohmann::json;

json text(const std::string& bytes)
{
    return windows1252ToUtf8(bytes);
}

// A list view without a window: remembers columns and each row's texts.
class RecordingListView final : public GameListView {
public:
    int columnCount() const override { return static_cast<int>(widths_.size()); }
    int columnWidth(int column) const override { return widths_.at(static_cast<std::size_t>(column)); }
    void clearRows() override { rows_.clear(); }
    void clearColumns() override { widths_.clear(); }
    void addColumn(const std::string&, int width) override { widths_.push_back(width); }
    RowHandle addRow() override
    {
        rows_[++lastRow_] = {};
        return lastRow_;
    }
    void setRowTexts(RowHandle row, const std::string& caption, const std::vector<std::string>& subItems) override
    {
        auto& texts = rows_[row];
        texts.clear();
        texts.push_back(caption);
        texts.insert(texts.end(), subItems.begin(), subItems.end());
    }
    const std::vector<std::string>& rowTexts(RowHandle row) const { return rows_.at(row); }

private:
    std::vector<int> widths_;
    std::map<RowHandle, std::vector<std::string>> rows_;
    RowHandle lastRow_ = 0;
};

// What the filters did, per game: the actions are recorded instead of shown; only the row colour is
// applied, as the program applies it, so "Color" shows the result.
class FilterRecord final : public GameFilter {
public:
    FilterRecord(const TextList& filters, GameStore& games, const std::string& appFolder)
        : games_(games), recorder_(*this),
          engine_(filters, games, appFolder, recorder_, [this](const std::string& message) {
              auto& error = errors_[current_];
              if (!error) error = message;
          })
    {
    }

    void beginTick() override { engine_.beginTick(); }
    FilterMatches evaluateFilters(RowHandle row) override
    {
        current_ = row;
        engine_.evaluateFilters(row);
        return {};
    }
    void endTick(const std::vector<std::string>& unreadServers, bool listFromFile) override
    {
        engine_.endTick(unreadServers, listFromFile);
    }
    // What the filters did so far is not reported; what they remember stays.
    void forgetRecords()
    {
        actions_.clear();
        errors_.clear();
    }
    void perform(const PerformedAction& action)
    {
        actions_[action.row].push_back(
            {{"filter", text(action.filterName)}, {"action", action.kind}, {"text", text(action.text)}});
        if (action.kind == ActionKind::colourRow) paintRow(games_, action.row, action.text);
    }

    json actionsOf(RowHandle row) const
    {
        const auto found = actions_.find(row);
        return found == actions_.end() ? json::array() : found->second;
    }
    json errorOf(RowHandle row) const
    {
        const auto found = errors_.find(row);
        return found == errors_.end() || !found->second ? json(nullptr) : text(*found->second);
    }

private:
    // The engine's actions port: records, never shows.
    class Recorder final : public FilterActions {
    public:
        explicit Recorder(FilterRecord& record) : record_(record) {}
        void perform(const PerformedAction& action) override { record_.perform(action); }

    private:
        FilterRecord& record_;
    };

    GameStore& games_;
    Recorder recorder_;
    FilterEngine engine_;
    RowHandle current_ = 0;
    std::map<RowHandle, json> actions_;
    std::map<RowHandle, std::optional<std::string>> errors_;
};

// The colour and italic runs of a text, in its characters (one per byte of the system's code page).
json spansJson(const TextSpans& spans)
{
    json out = json::array();
    for (const TextSpan& span : spans) {
        char colour[8];
        if (span.rgb) std::snprintf(colour, sizeof colour, "#%06x", static_cast<unsigned>(*span.rgb & 0xFFFFFF));
        out.push_back({{"start", span.start},
                       {"length", span.length},
                       {"color", span.rgb ? json(colour) : json(nullptr)},
                       {"italic", span.italic}});
    }
    return out;
}

// `tagsStripped`: the runs of the titles and names are reported (they exist only then). `friends`: the friends
// of "friends.txt" in the game are reported; none without an application folder.
json gameJson(const GameRecord& game, const RecordingListView& list, const FilterRecord& filters, bool tagsStripped,
              const std::optional<FriendList>& friends)
{
    json players = json::array();
    for (const auto& p : game.Players) {
        json player = {{"Name", text(p.Name)}, {"Filename", text(p.Filename)}, {"Flags", text(p.Flags)}, {"ID", p.ID}};
        if (tagsStripped) player["NameSpans"] = spansJson(p.NameSpans);
        players.push_back(std::move(player));
    }
    json resources = json::array();
    for (const auto& r : game.Resources) {
        resources.push_back({{"Filename", text(r.Filename)},
                             {"Author", text(r.Author)},
                             {"Type", text(r.Type)},
                             {"FileSize", r.FileSize},
                             {"Loadable", r.Loadable},
                             {"SizeText", text(sizeText(r))}});
    }
    json ips = json::array();
    for (const auto& ip : game.IPs)
        ips.push_back(text(std::string(ip)));
    json row = json::array();
    for (const auto& cell : list.rowTexts(game.Item))
        row.push_back(text(cell));

    json out = {{"Title", text(game.Title)},
                {"Status", text(game.Status)},
                {"Hoster", text(game.Hoster)},
                {"Version", text(game.Version)},
                {"Game", text(game.Game)},
                {"Comment", text(game.Comment)},
                {"ControlRate", text(game.ControlRate)},
                {"Address", text(game.Address)},
                {"League", text(game.League)},
                {"PlayerCount", game.PlayerCount},
                {"MaxPlayers", game.MaxPlayers},
                {"Emptys", game.Emptys},
                {"Clients", game.Clients},
                {"AddressCount", game.AddressCount},
                {"PasswordNeeded", game.PasswordNeeded},
                {"OfficialServer", game.OfficialServer},
                {"IPs", ips},
                {"Players", players},
                {"Resources", resources},
                {"Color", game.Color},
                {"Rank", rank(game)},
                {"Identity", text(gameIdentity(game))},
                {"Row", row},
                {"Actions", filters.actionsOf(game.Item)},
                {"FilterError", filters.errorOf(game.Item)}};
    if (friends) {
        json names = json::array();
        for (const std::string& name : friends->in(game))
            names.push_back(text(name));
        out["Friends"] = names;
    }
    if (tagsStripped) {
        out["TitleSpans"] = spansJson(game.TitleSpans);
        out["HosterSpans"] = spansJson(game.HosterSpans);
    }
    return out;
}

void loadIfPresent(TextList& list, const std::string& path)
{
    if (fileExists(path)) list.loadFromFile(path);
}

// What one refresh of the tool gives besides the games.
struct TickOutcome {
    std::optional<std::string> error;
    std::optional<std::string> version;
    json skipped = json::array();
    ParseCounters counters;
};

// One refresh over the replies, as the program's refresh builds the rows and runs the filters.
TickOutcome runTick(MonitorState& state, RecordingListView& list, FilterRecord& filterRecord,
                    const std::vector<std::string>& replies)
{
    TickOutcome tick;
    try {
        rebuildColumns(state.config, list);
        filterRecord.beginTick();
        ReferenceReader reader(tagparseSetting(state.config), state.aliases,
                               {[&](GameRecord&& entry) {
                                    completeRecord(std::move(entry), state.games, state.config, state.aliases, list,
                                                   &filterRecord);
                                },
                                [&](const std::string& v) { tick.version = v; },
                                [&](const std::string& title, const std::string& message) {
                                    tick.skipped.push_back({{"Title", text(title)}, {"error", text(message)}});
                                }});
        try {
            for (const auto& reply : replies)
                reader.read(reply);
            reader.finish();
            filterRecord.endTick({}, false);
        } catch (const ConversionError& e) {
            tick.error = e.what();
        }
        tick.counters = reader.counters();
    } catch (const ConversionError& e) {
        tick.error = e.what();
    }
    return tick;
}

} // namespace

json inspect(const InspectionInput& input)
{
    MonitorState state;
    TextList filters;
    std::optional<FriendList> friends;
    if (input.appFolder) {
        state.appFolder = *input.appFolder;
        if (!state.appFolder.empty() && state.appFolder.back() != '/') state.appFolder += '/';
        loadIfPresent(state.config, state.file(files::config));
        loadIfPresent(state.aliases, state.file(files::aliases));
        loadIfPresent(filters, state.file(files::filter));
        loadIfPresent(state.friends, state.file(files::friends));
        friends.emplace(state.friends);
    }
    // A filter that fails keeps what it did before, is skipped for every later game, and the next one goes on.
    FilterRecord filterRecord(filters, state.games, state.appFolder);

    if (!input.previous.empty()) {
        RecordingListView previousList;
        runTick(state, previousList, filterRecord, input.previous);
        filterRecord.forgetRecords();
        state.games.clear();
    }
    RecordingListView list;
    const TickOutcome tick = runTick(state, list, filterRecord, input.replies);
    const auto& [error, version, skipped, counters] = tick;

    json out;
    out["version"] = version ? text(*version) : json(nullptr);
    out["references"] = counters.references;
    out["players"] = counters.players;
    out["clients"] = counters.clients;
    out["emptys"] = counters.emptys;
    out["error"] = error ? text(*error) : json(nullptr);
    out["skipped"] = skipped;
    if (error) {
        out["labels"] = nullptr;
    } else {
        const StatisticTexts labels = statisticTexts(counters);
        out["labels"] = {{"gamecount", text(labels.openGames)},
                         {"pcount", text(labels.playersOnline)},
                         {"empcount", labels.emptySlots ? text(*labels.emptySlots) : json(nullptr)}};
    }

    const auto& games = state.games.all();
    // A setting that does not convert stopped the refresh before any game was read.
    const bool tagsStripped = !error && tagparseSetting(state.config);
    json gamesJson = json::array();
    for (const auto& game : games)
        gamesJson.push_back(gameJson(game, list, filterRecord, tagsStripped, friends));
    out["games"] = gamesJson;

    std::vector<std::size_t> order(games.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rank(games[a]) > rank(games[b]); });
    out["order"] = order;
    return out;
}

} // namespace quintor
