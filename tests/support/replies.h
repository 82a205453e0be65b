// Small masterserver replies in the layout real servers use, for tests.
#pragma once

#include <string>
#include <vector>

namespace quintor::test {

struct GameSpec {
    std::string title = "Testgame";
    std::string state = "Lobby";
    bool official = false;
    int maxPlayers = 4;
    std::string address = "TCP:198.51.100.7:11112,UDP:198.51.100.7:11113";
    int addressCount = 2;
    int activatedClients = 1; // the first has a CUID, the rest have none
    int players = 1;
    std::vector<std::string> playerNames = {}; // given: these players instead of "Spieler1" ...
};

inline std::string referenceBlock(const GameSpec& g)
{
    std::string s = "[Reference]\nIcon=12\nTitle=\"" + g.title + "\"\nState=" + g.state +
                    "\nTime=120\nAddressCount=" + std::to_string(g.addressCount) + "\nAddress=" + g.address +
                    "\nGame=\"Clonk Rage\"\nVersion=4,9,10,7\nBuild=330\nMaxPlayers=" + std::to_string(g.maxPlayers) +
                    "\nControlRate=2\n\n  [PlayerInfos]\n  LastPlayerID=" + std::to_string(g.players) + "\n";
    const int players = g.playerNames.empty() ? g.players : static_cast<int>(g.playerNames.size());
    for (int p = 0; p < players; ++p) {
        const std::string name = g.playerNames.empty() ? "Spieler" + std::to_string(p + 1) : g.playerNames[p];
        s += "\n      [Player]\n      Name=\"" + name + "\"\n      Filename=\"Spieler" + std::to_string(p + 1) +
             ".c4p\"\n      ID=" + std::to_string(p + 1) + "\n";
    }
    for (int c = 0; c < g.activatedClients; ++c) {
        s += "\n  [Client]\n  ID=" + std::to_string(c) + "\n  Activated=true\n  Name=\"Host" + std::to_string(c) +
             "\"\n";
        if (c == 0) s += "  CUID=\"123456\"\n";
        s += "  Nick=\"Host" + std::to_string(c) + "\"\n";
    }
    s += "OfficialServer=" + std::string(g.official ? "true" : "false") + "\nGameId=42\n\n\n";
    return s;
}

inline std::string replyHeader()
{
    return "[Clonk Rage]\nVersion=4,9,10,7,330\nMOTD=Willkommen\n\n";
}

} // namespace quintor::test
