#include "settings/errors.h"
#include "settings/textlist.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using quintor::TextList;

namespace {

std::vector<std::string> linesOf(std::string_view text)
{
    TextList list;
    list.setText(text);
    return list.lines();
}

} // namespace

TEST(TextList, SplitsAtEveryKindOfLineBreak)
{
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb", {"a", "b"}},       // last line without a break is a line
        {"a\n\nb", {"a", "", "b"}}, // an empty line in the middle stays
        {"a\r\n\r\n", {"a", ""}},   // only the final break adds nothing
        {"a\n\rb", {"a", "", "b"}}, // LF CR is two breaks
        {"\n", {""}},
        {std::string("a\nb\0c\nd", 7), {"a", "b"}}, // NUL ends the text
        {" width =800 \t", {" width =800 \t"}},     // nothing is trimmed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(linesOf(c.text), c.lines) << "text: " << c.text;
    }
}

TEST(TextList, FileFormIsCrLfAfterEveryLine)
{
    quintor::test::TempFolder folder;
    TextList list;
    list.setText("one\ntwo\rthree");
    list.saveToFile(folder.file("x.txt"));
    EXPECT_EQ(folder.read("x.txt"), "one\r\ntwo\r\nthree\r\n");

    TextList empty;
    empty.saveToFile(folder.file("log.txt"));
    EXPECT_TRUE(folder.exists("log.txt"));
    EXPECT_EQ(folder.read("log.txt").size(), 0u);

    TextList loaded;
    loaded.loadFromFile(folder.file("x.txt"));
    EXPECT_EQ(loaded, list);
}

TEST(TextList, HighBytesSurviveARoundTrip)
{
    quintor::test::TempFolder folder;
    TextList list;
    list.add("Gr\xFCn=\x80\x81\xFF");
    list.saveToFile(folder.file("a.txt"));
    TextList loaded;
    loaded.loadFromFile(folder.file("a.txt"));
    EXPECT_EQ(loaded.line(0), "Gr\xFCn=\x80\x81\xFF");
}

TEST(TextList, LoadingAMissingFileRaisesAndKeepsTheList)
{
    quintor::test::TempFolder folder;
    TextList list({"keep"});
    EXPECT_THROW(list.loadFromFile(folder.file("missing.txt")), quintor::FileError);
    EXPECT_EQ(list.lines(), std::vector<std::string>{"keep"});
}

TEST(TextList, FirstMatchingNameWinsRegardlessOfCase)
{
    TextList config({"WIDTH=900", "width=700", "noname", "Gr\xDCn=1"});
    EXPECT_EQ(config.indexOfName("width"), 0);
    EXPECT_EQ(config.value("Width"), "900");
    EXPECT_EQ(config.value("gr\xFCn"), "1"); // Windows-1252 letters fold too
    EXPECT_EQ(config.indexOfName("noname"), -1);
    EXPECT_EQ(config.value("absent"), "");

    config.setValue("width", "1024");
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"width=1024", "width=700", "noname", "Gr\xDCn=1"}));
}

TEST(TextList, NamesAreNotTrimmed)
{
    TextList config({"width =800"});
    EXPECT_EQ(config.indexOfName("width"), -1);
    EXPECT_EQ(config.indexOfName("width "), 0);
}

TEST(TextList, ValueIsEverythingAfterTheFirstEquals)
{
    TextList config({"feed=http://x/?a=b&c=d", "edit3=a=b"});
    EXPECT_EQ(config.value("feed"), "http://x/?a=b&c=d");
    EXPECT_EQ(config.value("edit3"), "a=b");
}

TEST(TextList, SetValueAppendsDeletesAndKeepsOthers)
{
    TextList config({"a=1", "b=2", "a=3"});
    config.setValue("c", "4");
    EXPECT_EQ(config.line(3), "c=4");
    config.setValue("A", "");
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"b=2", "a=3", "c=4"}));
    config.setValue("zzz", ""); // nothing to delete
    EXPECT_EQ(config.count(), 3);
    config.setValue("a", "");
    EXPECT_EQ(config.value("a"), "");
    EXPECT_EQ(config.indexOfName("a"), -1);
}

TEST(TextList, ValueAtOfALineWithoutEqualsDropsTheFirstCharacter)
{
    TextList list({"xHans", "", "k=v=w"});
    EXPECT_EQ(list.valueAt(0), "Hans");
    EXPECT_EQ(list.valueAt(1), "");
    EXPECT_EQ(list.valueAt(2), "v=w");
}

TEST(TextList, IndexOperationsAreCheckedAndAddAllAppendsInOrder)
{
    TextList list({"a"});
    EXPECT_THROW(list.line(1), quintor::QuintorError);
    EXPECT_THROW(list.remove(-1), quintor::QuintorError);
    list.addAll(list);
    EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "a"}));
    TextList other({"b", "c"});
    list.addAll(other);
    list.remove(0);
    EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "b", "c"}));
    list.clear();
    EXPECT_EQ(list.count(), 0);
}
