#include "masterserver-sim/replygen.h"

#include <cstdio>

namespace quintor::sim {

std::string escapeValue(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    bool afterNumeric = false;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        bool numeric = false;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        default:
            if (c < 0x20 || c >= 0x7F || (afterNumeric && c >= '0' && c <= '9')) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\%o", static_cast<unsigned>(c));
                out += buffer;
                numeric = true;
            } else {
                out += ch;
            }
        }
        afterNumeric = numeric;
    }
    return out;
}

namespace {

const char* stateName(GameState state)
{
    switch (state) {
    case GameState::Lobby:
        return "Lobby";
    case GameState::Running:
        return "Running";
    case GameState::Paused:
        return "Paused";
    }
    return "None";
}

// Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on operator+ chains of strings.
std::string quoted(std::string_view text)
{
    std::string out = "\"";
    out += escapeValue(text);
    out += '"';
    return out;
}

class ReplyWriter {
public:
    explicit ReplyWriter(std::string& out) : out_(out) {}

    // One blank line before every header (none at the very start).
    void header(int indent, std::string_view name)
    {
        if (!out_.empty()) out_ += '\n';
        out_.append(static_cast<std::size_t>(indent), ' ');
        out_ += '[';
        out_ += name;
        out_ += "]\n";
        indent_ = indent;
    }
    void key(std::string_view name, std::string_view value)
    {
        out_.append(static_cast<std::size_t>(indent_), ' ');
        out_ += name;
        out_ += '=';
        out_ += value;
        out_ += '\n';
    }
    void key(std::string_view name, std::int64_t value) { key(name, std::to_string(value)); }
    void text(std::string_view name, std::string_view value) { key(name, quoted(value)); }
    void flag(std::string_view name, bool value) { key(name, value ? "true" : "false"); }
    void unindented() { indent_ = 0; }
    void blankLine() { out_ += '\n'; }

private:
    std::string& out_;
    int indent_ = 0;
};

std::string addressList(const SimGame& game)
{
    std::string list;
    for (const SimAddress& address : game.addresses) {
        if (!list.empty()) list += ',';
        bool v6 = address.host.find(':') != std::string::npos;
        list += address.protocol;
        list += ':';
        if (game.newerHost) list += '"';
        if (v6) list += '[';
        list += address.host;
        if (v6) list += ']';
        list += ':';
        list += std::to_string(address.port);
        if (game.newerHost) list += '"';
    }
    return list;
}

std::string hex(std::uint32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(value));
    return buffer;
}

// 40 hex digits, as long as the SHA-1 newer hosts write; derived from the checksums so it stays stable.
std::string sha1Like(const SimResource& resource)
{
    std::string digits;
    for (std::uint32_t word : {resource.fileCrc, resource.contentsCrc, resource.fileCrc ^ 0x5a5a5a5au,
                               resource.contentsCrc ^ 0xa5a5a5a5u, resource.fileCrc + resource.contentsCrc})
        digits += hex(word);
    return digits;
}

void writeResource(ReplyWriter& w, std::string_view section, const SimResource& resource, bool newerHost)
{
    w.header(2, section);
    w.key("Type", resource.type);
    w.key("ID", resource.id);
    if (!resource.loadable) {
        w.key("Loadable", "false");
    } else {
        w.key("FileSize", resource.fileSize);
        w.key("FileCRC", resource.fileCrc);
        w.key("ContentsCRC", resource.contentsCrc);
        if (newerHost && resource.type == "Scenario") w.key("FileSHA", sha1Like(resource));
    }
    w.text("Filename", resource.filename);
    if (!resource.author.empty()) w.text("Author", resource.author);
}

void writePlayer(ReplyWriter& w, const SimPlayer& player)
{
    w.header(6, "Player");
    w.text("Name", player.name);
    if (!player.forcedName.empty()) w.text("ForcedName", player.forcedName);
    if (!player.computer) w.text("Filename", player.filename);
    if (!player.flags.empty()) w.key("Flags", player.flags);
    w.key("ID", player.id);
    if (player.computer) w.key("Type", "Script");
    w.key("Color", player.color);
    if (player.team) w.key("Team", player.team);
    if (!player.leagueAccount.empty()) w.text("LeagueAccount", player.leagueAccount);
    if (!player.clanTag.empty()) w.key("ClanTag", player.clanTag);
}

void writeClients(ReplyWriter& w, const SimGame& game)
{
    w.header(2, "PlayerInfos");
    w.key("LastPlayerID", game.lastPlayerId);
    for (const SimClient& client : game.clients) {
        if (client.players.empty()) continue;
        w.header(4, "Client");
        w.key("ID", client.id);
        if (client.initial) w.key("Flags", "Initial");
        for (const SimPlayer& player : client.players)
            writePlayer(w, player);
    }

    w.header(2, "Teams");
    w.flag("Active", !game.teams.empty());
    for (std::size_t i = 0; i < game.teams.size(); ++i) {
        w.header(4, "Team");
        w.key("id", static_cast<std::int64_t>(i + 1));
        w.key("Name", game.teams[i]); // raw, as the league writes it
    }

    for (const SimClient& client : game.clients) {
        w.header(2, "Client");
        w.key("ID", client.id);
        if (client.activated) w.flag("Activated", true);
        if (client.observer) w.flag("Observer", true);
        w.text("Name", client.name);
        if (!client.cuid.empty() && !game.newerHost) w.text("CUID", client.cuid);
        w.text("Nick", client.nick);
    }
}

void writeTitle(ReplyWriter& w, const SimGame& game)
{
    if (game.writtenTitle.empty()) {
        w.text("Title", game.title);
    } else {
        w.key("Title", "\"" + game.writtenTitle + "\"");
    }
}

void writeReference(ReplyWriter& w, const SimGame& game)
{
    bool started = game.state != GameState::Lobby;
    w.header(0, "Reference");
    if (game.icon != 0) w.key("Icon", game.icon);
    if (!game.newerHost) writeTitle(w, game);
    w.key("State", stateName(game.state));
    if (started) {
        w.key("CtrlMode", "Decentral");
        w.key("Time", game.time);
        w.key("Frame", game.frame);
        w.key("StartTime", game.startTime);
        if (!game.leagues.empty()) w.key("LeaguePerformance", game.time / 10);
    }
    if (!game.comment.empty()) w.text("Comment", game.comment);
    if (!game.joinAllowed) w.flag("JoinAllowed", false);
    if (!game.observingAllowed) w.flag("ObservingAllowed", false);
    if (game.passwordNeeded) w.flag("PasswordNeeded", true);
    if (game.regJoinOnly) w.flag("RegJoinOnly", true);
    if (!game.newerHost) w.key("AddressCount", static_cast<std::int64_t>(game.addresses.size()));
    w.key("Address", addressList(game));
    w.text("Game", "Clonk Rage");
    w.key("Version", game.version);
    w.key("Build", game.build);
    if (game.official) w.flag("OfficialServer", true);
    w.key("RandomSeed", game.seed);
    if (started) w.key("StartupPlayerCount", game.startupPlayerCount);
    w.key("MaxPlayers", game.maxPlayers);
    if (game.fairCrew) {
        w.flag("UseFairCrew", true);
        w.key("FairCrewStrength", game.fairCrewStrength);
    }
    if (!game.leagues.empty()) w.flag("AllowDebug", false);
    w.flag("IsNetworkGame", true);
    w.key("ControlRate", game.controlRate);
    w.key("Rules", game.rules);
    w.key("Goals", game.goals);
    if (!game.leagues.empty()) w.text("LeagueAddress", "league.example.net:84/league.php");
    if (game.newerHost) writeTitle(w, game);

    writeResource(w, "Scenario", game.scenario, game.newerHost);
    for (const SimResource& resource : game.resources)
        writeResource(w, "Resource", resource, game.newerHost);
    writeClients(w, game);

    // The league's own lines, after the last client.
    w.unindented();
    w.flag("OfficialServer", game.official);
    if (game.registered)
        w.key("GameId", game.gameId);
    else
        w.key("Seed", game.seed);
    if (!game.leagues.empty()) {
        std::string list;
        for (const std::string& league : game.leagues) {
            if (!list.empty()) list += ',';
            list += quoted(league);
        }
        w.key("League", list);
    }
}

} // namespace

std::string generateReply(const SimWorld& world)
{
    std::string out;
    out.reserve(world.games().size() * 1400 + 256);
    ReplyWriter w(out);
    if (world.newerServer()) {
        w.header(0, "LegacyClonk");
        w.key("Version", "4.9.10.7,330");
        w.key("MOTD", world.motd());
        w.key("MOTDURL", "http://league.example.net/news");
    }
    w.header(0, "Clonk Rage");
    w.key("Version", "4,9,10,7,330");
    w.key("MOTD", world.motd());
    bool first = true;
    if (const auto& hostile = world.hostileGame()) {
        writeReference(w, *hostile);
        first = false;
    }
    for (const SimGame& game : world.games()) {
        if (!first) w.blankLine(); // two blank lines between games
        first = false;
        writeReference(w, game);
    }
    return out;
}

std::string generateStaticReply(std::uint32_t seed, int gameCount)
{
    return generateReply(SimWorld(seed, gameCount));
}

} // namespace quintor::sim
