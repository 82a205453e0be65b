#include "masterserver-sim/simnames.h"

namespace quintor::sim {

const std::vector<ScenarioInfo>& scenarioNames()
{
    static const std::vector<ScenarioInfo> names = {
        {"Greed", "Melees.c4f\\Greed.c4s", "Clonkwerk", "MELE=1", false},
        // Hosts colour their titles with the game's markup, not always well formed.
        {"<c FFD700>Gold</c>mine", "Settlement.c4f\\Goldmine.c4s", "Nordbau", "WEAL=1", true},
        {"Drachenh\xF6hle", "Melees.c4f\\Drachenh\xF6hle.c4s", "M\xFCller & S\xF6hne", "MELE=1", false},
        {"Windk\xE4mpfe", "Melees.c4f\\Windkaempfe.c4s", "Sternwarte", "MELE=1", false},
        {"Eisige H\xF6hen", "Settlement.c4f\\EisigeHoehen.c4s", "Nordbau", "WEAL=1;MINE=1", true},
        {"Die \"Gro\xDF"
         "e\" Schlacht",
         "Eigene\\Schlacht.c4s", "Clan \\ Werkstatt", "MELE=1", false},
        {"<c 00c000>Siedlung <i>am See</i></c>", "Settlement.c4f\\SeeSiedlung.c4s", "Sternwarte", "LIFE=1", true},
        {"<c ff0000>Lava-<c ff8000>Arena</c> 2</c>", "Melees.c4f\\LavaArena2.c4s", "Clonkwerk", "MELE=1", false},
        {"<c 12345>Kristall</c>fieber", "Kristall.c4f\\Kristallfieber.c4s", "Quarzbruch", "MINE=1", true},
        {"<i>Burg</i>kampf", "Melees.c4f\\Burgkampf.c4s", "M\xFCller & S\xF6hne", "MELE=1;CAPT=1", false},
        {"<c 8000ff>Wipfrettung", "Missions.c4f\\Wipfrettung.c4s", "Sternwarte", "RSCE=1", true},
        {"H\xF6hle 13", "Melees.c4f\\Hoehle13.c4s", "Quarzbruch", "MELE=1", false},
        {"<c ff8000>Feuer</c>land", "Melees.c4f\\Feuerland.c4s", "Clonkwerk", "MELE=1", false},
        {"Tiefe Sch\xE4"
         "chte",
         "Settlement.c4f\\TiefeSchaechte.c4s", "Nordbau", "MINE=1", true},
    };
    return names;
}

const std::vector<DefinitionInfo>& definitionNames()
{
    static const std::vector<DefinitionInfo> names = {
        {"Objects.c4d", "Clonkwerk"},
        {"Knights.c4d", "Clonkwerk"},
        {"Western.c4d", "Sternwarte"},
        {"Chaos.c4d", "Quarzbruch"},
        {"Waffenkammer.c4d", "M\xFCller & S\xF6hne"},
        {"Eigene\\Zauber.c4d", "Luftikus"},
    };
    return names;
}

const std::vector<std::string>& playerNames()
{
    static const std::vector<std::string> names = {
        "Hansi",
        "Zo\xEB"
        "1",
        "J\xE4ger",
        "Kr\xFCmel",
        // Some players colour their names too; one leaves the colour open, one has a closing tag alone.
        "<c ff4000>Pyro<i>mane</i></c>",
        "<c 00a0ff>Nachtfalke</c>",
        "Wipf",
        "B\xE4r",
        "Steinbei\xDF"
        "er",
        "<c FFFF00>Monarch",
        "Quarz",
        "<i>Luftikus</i>",
        "Sumpfkr\xF6te",
        "Goldgr\xE4"
        "ber",
        "Flint",
        "Keiler",
        "M\xF6we",
        "Ritter Rost",
        "Schattenl\xE4ufer",
        "Andr\xE9"
        "3",
        "Karl \"Axt\"",
        "Donnervogel",
        "Igel",
        "\xC9lan",
        "Blitz</c>",
        "R\xE4"
        "uber7",
        "Back\\slash",
        "<c 12345>Nebel</c>",
        "Ananas",
        "Tunnelgr\xE4"
        "ber",
    };
    return names;
}

const std::vector<std::string>& computerPlayerNames()
{
    static const std::vector<std::string> names = {"KI-Clonk", "Bot Bernd", "Skript-Spieler"};
    return names;
}

const std::vector<std::string>& commentTexts()
{
    static const std::vector<std::string> texts = {
        "",
        "",
        "",
        "",
        "",
        "<i>Nur</i> Profis",
        "<c 00c000>Kommt alle!</c>",
        "Anf\xE4nger willkommen",
        "Sprachkanal: 10.0.0.1 = Raum 2",
        "Zeile eins\nZeile zwei",
        "Ohne Cheats \"bitte\"",
        "<c ff0000>Rot</c> gewinnt",
        "Tab\tgetrennt",
    };
    return texts;
}

const std::vector<std::string>& teamNames()
{
    static const std::vector<std::string> names = {"Rot", "Blau", "Gr\xFCn", "Wei\xDF", "Schwarz", "Gelb"};
    return names;
}

const std::vector<std::string>& clanTags()
{
    static const std::vector<std::string> tags = {"", "", "", "[CK]", "Kr\xE4hen", "~W~"};
    return tags;
}

const std::vector<std::string>& ruleLists()
{
    static const std::vector<std::string> rules = {
        "FGRV=1;REAC=1", "FGRV=1;REAC=1;KILC=1", "ENRG=1;CNMT=1", "FGRV=1;STSN=1;REAC=1;BLDM=1", "CNMT=1",
    };
    return rules;
}

const std::vector<std::string>& motdTexts()
{
    static const std::vector<std::string> texts = {
        "Willkommen auf dem Liga-Server! Bitte fair spielen.",
        "Gr\xFC\xDF"
        "e aus der Liga-Zentrale - Wartung am Sonntag ab 3 Uhr.",
    };
    return texts;
}

} // namespace quintor::sim
