#include "settings/storedlines.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using namespace quintor;

TEST(StoredLines, EveryControlCharacterBecomesABlankInLogEntriesAndAliases)
{
    std::string allControls;
    for (int c = 0; c < 32; ++c)
        allControls += static_cast<char>(c);
    struct Case {
        std::string text;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"Titel\012[Quintor Velmar] gef\xE4lscht", "Titel [Quintor Velmar] gef\xE4lscht"},
        {std::string("vor\0nach", 8), "vor nach"},
        {"a\r\nb\tc", "a  b c"},
        {allControls, std::string(32, ' ')},
        {"\x7F\xFC=%s ~", "\x7F\xFC=%s ~"}, // DEL and the code page's letters stay
    };
    for (const auto& c : cases) {
        LogLines log;
        log.add(c.text);
        EXPECT_EQ(log.lines(), std::vector<std::string>{c.line}) << c.line;
        EXPECT_EQ(aliasLine(c.text, c.text), c.line + "=" + c.line);
    }

    // What was one entry loads back as one line, and what follows it stays.
    test::TempFolder folder;
    LogLines log;
    log.add(std::string("eins\0\012zwei", 10));
    log.add("danach");
    log.saveToFile(folder.file("log.txt"));
    TextList loaded;
    loaded.loadFromFile(folder.file("log.txt"));
    EXPECT_EQ(loaded.lines(), (std::vector<std::string>{"eins  zwei", "danach"}));
}

TEST(StoredLines, TheLogKeepsItsNewestEntries)
{
    LogLines log;
    for (int i = 0; i < kMaxLogEntries + 2; ++i)
        log.add(std::to_string(i));
    ASSERT_EQ(log.count(), 10000);
    EXPECT_EQ(log.line(0), "2");
    EXPECT_EQ(log.line(9999), "10001");
    EXPECT_EQ(log.lines().front(), "2");
    EXPECT_EQ(log.text().substr(0, 6), "2\r\n3\r\n");

    // Round the ring more than once, and a log that was loaded longer than it may be.
    LogLines ring(3);
    for (const char* entry : {"a", "b", "c", "d", "e", "f", "g"})
        ring.add(entry);
    EXPECT_EQ(ring.lines(), (std::vector<std::string>{"e", "f", "g"}));
    TextList grown;
    for (int i = 0; i < 25000; ++i)
        grown.add(std::to_string(i));
    log.assign(grown);
    ASSERT_EQ(log.count(), 10000);
    EXPECT_EQ(log.line(0), "15000");
    log.add("neu");
    EXPECT_EQ(log.line(0), "15001");
    EXPECT_EQ(log.line(9999), "neu");
    log.assign(TextList({"a", "b"}));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"a", "b"}));
}

// A filter that logs a game's players or pads its text to a width must not write megabytes a line at every tick.
TEST(StoredLines, ALogEntryKeepsItsFirstCharactersOnly)
{
    LogLines log(2);
    const std::string players = std::string(kMaxLogEntryLength - 1, 'a') + "bc" + std::string(1000000, 'd');
    for (int i = 0; i < 3; ++i)
        log.add(players);
    log.add(std::string(kMaxLogEntryLength, 'e'));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{std::string(kMaxLogEntryLength - 1, 'a') + "b",
                                                     std::string(kMaxLogEntryLength, 'e')}));
}
