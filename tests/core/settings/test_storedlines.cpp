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
        TextList log;
        appendLogEntry(log, c.text);
        EXPECT_EQ(log.lines(), std::vector<std::string>{c.line}) << c.line;
        EXPECT_EQ(aliasLine(c.text, c.text), c.line + "=" + c.line);
    }

    // What was one entry loads back as one line, and what follows it stays.
    test::TempFolder folder;
    TextList log;
    appendLogEntry(log, std::string("eins\0\012zwei", 10));
    appendLogEntry(log, "danach");
    log.saveToFile(folder.file("log.txt"));
    TextList loaded;
    loaded.loadFromFile(folder.file("log.txt"));
    EXPECT_EQ(loaded.lines(), (std::vector<std::string>{"eins  zwei", "danach"}));
}

TEST(StoredLines, TheLogKeepsItsNewestEntries)
{
    TextList log;
    for (int i = 0; i < kMaxLogEntries + 2; ++i)
        appendLogEntry(log, std::to_string(i));
    ASSERT_EQ(log.count(), 10000);
    EXPECT_EQ(log.line(0), "2");
    EXPECT_EQ(log.line(9999), "10001");

    TextList grown;
    for (int i = 0; i < 25000; ++i)
        grown.add(std::to_string(i));
    keepNewestLogEntries(grown);
    ASSERT_EQ(grown.count(), 10000);
    EXPECT_EQ(grown.line(0), "15000");
    TextList small({"a", "b"});
    keepNewestLogEntries(small);
    EXPECT_EQ(small.count(), 2);
}
