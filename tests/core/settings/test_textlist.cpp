#include "settings/errors.h"
#include "settings/textlist.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using quintor::TextList;

namespace {

std::vector<std::string> linesOf(std::string_view text)
{
    TextList list;
    list.SetText(text);
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
    list.SetText("one\ntwo\rthree");
    list.SaveToFile(folder.file("x.txt"));
    EXPECT_EQ(folder.read("x.txt"), "one\r\ntwo\r\nthree\r\n");

    TextList empty;
    empty.SaveToFile(folder.file("log.txt"));
    EXPECT_TRUE(folder.exists("log.txt"));
    EXPECT_EQ(folder.read("log.txt").size(), 0u);

    TextList loaded;
    loaded.LoadFromFile(folder.file("x.txt"));
    EXPECT_EQ(loaded, list);
}

TEST(TextList, HighBytesSurviveARoundTrip)
{
    quintor::test::TempFolder folder;
    TextList list;
    list.Add("Gr\xFCn=\x80\x81\xFF");
    list.SaveToFile(folder.file("a.txt"));
    TextList loaded;
    loaded.LoadFromFile(folder.file("a.txt"));
    EXPECT_EQ(loaded.Line(0), "Gr\xFCn=\x80\x81\xFF");
}

TEST(TextList, LoadingAMissingFileRaisesAndKeepsTheList)
{
    quintor::test::TempFolder folder;
    TextList list({"keep"});
    EXPECT_THROW(list.LoadFromFile(folder.file("missing.txt")), quintor::FileError);
    EXPECT_EQ(list.lines(), std::vector<std::string>{"keep"});
}

TEST(TextList, FirstMatchingNameWinsRegardlessOfCase)
{
    TextList config({"WIDTH=900", "width=700", "noname", "Gr\xDCn=1"});
    EXPECT_EQ(config.IndexOfName("width"), 0);
    EXPECT_EQ(config.Value("Width"), "900");
    EXPECT_EQ(config.Value("gr\xFCn"), "1"); // Windows-1252 letters fold too
    EXPECT_EQ(config.IndexOfName("noname"), -1);
    EXPECT_EQ(config.Value("absent"), "");

    config.SetValue("width", "1024");
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"width=1024", "width=700", "noname", "Gr\xDCn=1"}));
}

TEST(TextList, NamesAreNotTrimmed)
{
    TextList config({"width =800"});
    EXPECT_EQ(config.IndexOfName("width"), -1);
    EXPECT_EQ(config.IndexOfName("width "), 0);
}

TEST(TextList, ValueIsEverythingAfterTheFirstEquals)
{
    TextList config({"feed=http://x/?a=b&c=d", "edit3=a=b"});
    EXPECT_EQ(config.Value("feed"), "http://x/?a=b&c=d");
    EXPECT_EQ(config.Value("edit3"), "a=b");
}

TEST(TextList, SetValueAppendsDeletesAndKeepsOthers)
{
    TextList config({"a=1", "b=2", "a=3"});
    config.SetValue("c", "4");
    EXPECT_EQ(config.Line(3), "c=4");
    config.SetValue("A", "");
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"b=2", "a=3", "c=4"}));
    config.SetValue("zzz", ""); // nothing to delete
    EXPECT_EQ(config.Count(), 3);
    config.SetValue("a", "");
    EXPECT_EQ(config.Value("a"), "");
    EXPECT_EQ(config.IndexOfName("a"), -1);
}

TEST(TextList, ValueAtOfALineWithoutEqualsDropsTheFirstCharacter)
{
    TextList list({"xHans", "", "k=v=w"});
    EXPECT_EQ(list.ValueAt(0), "Hans");
    EXPECT_EQ(list.ValueAt(1), "");
    EXPECT_EQ(list.ValueAt(2), "v=w");
}

TEST(TextList, IndexOperationsAreCheckedAndAddAllAppendsInOrder)
{
    TextList list({"a"});
    EXPECT_THROW(list.Line(1), quintor::QuintorError);
    EXPECT_THROW(list.Delete(-1), quintor::QuintorError);
    list.AddAll(list);
    EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "a"}));
    TextList other({"b", "c"});
    list.AddAll(other);
    list.Delete(0);
    EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "b", "c"}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}
