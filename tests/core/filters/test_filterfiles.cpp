#include "filters/filterfiles.h"

#include "settings/errors.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

TextList lines(const std::string& text)
{
    TextList list;
    list.setText(text);
    return list;
}

std::vector<std::string> keysOf(const std::vector<FilterEntry>& entries)
{
    std::vector<std::string> keys;
    for (const auto& e : entries)
        keys.push_back(e.key + "=" + e.name);
    return keys;
}

TEST(FilterKeys, FollowFromPositions)
{
    EXPECT_EQ(filterKey(0, 0), "grp0fil0");
    EXPECT_EQ(filterKey(2, 11), "grp2fil11");
    EXPECT_EQ(groupKey(3), "grp3");
    EXPECT_EQ(conditionsFileName("grp1fil0"), "grp1fil0.txt");
    EXPECT_EQ(actionsFileName("grp1fil0"), "grp1fil0_act.txt");
}

TEST(FilterList, EnumeratesGroupsAndFiltersUntilTheFirstGap)
{
    // grp0fil1 is missing, so grp0fil2 is not seen; grp2 is missing, so grp3 is not seen. Order of the
    // lines does not matter (a move-up puts two lines at the end), letter case of names does not either.
    const TextList filters = lines("GRP0=Liga\r\ngrp0fil0=Erster\r\ngrp0fil2=Dritter\r\ngrp1=Leer\r\n"
                                   "grp3=Spaet\r\ngrp3fil0=Nie\r\ngrp1fil1=Zweiter\r\ngrp1fil0=Erster B\r\n");
    EXPECT_EQ(keysOf(enumerateFilters(filters)),
              (std::vector<std::string>{"grp0fil0=Erster", "grp1fil0=Erster B", "grp1fil1=Zweiter"}));
}

TEST(FilterList, AnEmptyNameEndsItsGroup)
{
    const TextList filters = lines("grp0=A\r\ngrp0fil0=eins\r\ngrp0fil1=\r\ngrp0fil2=drei\r\n");
    EXPECT_EQ(keysOf(enumerateFilters(filters)), (std::vector<std::string>{"grp0fil0=eins"}));
}

TEST(FilterList, TheFirstOfTwoLinesWithTheSameKeyCounts)
{
    const TextList filters = lines("grp0=A\r\ngrp0fil0=erste\r\ngrp0fil0=zweite\r\n");
    EXPECT_EQ(keysOf(enumerateFilters(filters)), (std::vector<std::string>{"grp0fil0=erste"}));
}

TEST(FilterList, TreeAndListAndIndex)
{
    const std::vector<FilterGroup> tree{{"Liga", {"Melee", "Siedeln"}}, {"Leer", {}}, {"Freunde", {"Bob"}}};
    const TextList filters = filterListOf(tree);
    EXPECT_EQ(filters.text(), "grp0=Liga\r\ngrp0fil0=Melee\r\ngrp0fil1=Siedeln\r\ngrp1=Leer\r\ngrp2=Freunde\r\n"
                              "grp2fil0=Bob\r\n");
    const auto back = readFilterTree(filters);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].filters, tree[0].filters);
    EXPECT_TRUE(back[1].filters.empty());
    EXPECT_EQ(back[2].name, "Freunde");
    EXPECT_EQ(filterIndexOf(filters).text(),
              "grp0fil0\r\ngrp0fil0_act\r\ngrp0fil1\r\ngrp0fil1_act\r\ngrp2fil0\r\ngrp2fil0_act\r\nfilter\r\n");
}

TEST(FilterList, AnEmptyStoreIndexesOnlyTheFilterList)
{
    EXPECT_EQ(filterIndexOf(TextList()).lines(), std::vector<std::string>{"filter"});
}

TEST(ConditionsFile, IsWrittenInItsLineOrderAndReadBack)
{
    test::TempFolder folder;
    const FilterConditions conditions{{{0, 0, "Melee"}, {8, 1, ""}, {-1, -1, "a=b"}}, 2, false, true};
    writeConditions(folder.path(), "grp0fil1", conditions);
    EXPECT_EQ(folder.read("grp0fil1.txt"),
              "field0=0\r\nact0=0\r\nedit0=Melee\r\nfield1=8\r\nact1=1\r\nedit1=\r\n"
              "field2=-1\r\nact2=-1\r\nedit2=a=b\r\ntyp=2\r\nactive=False\r\nonce=True\r\n");
    const FilterConditions back = readConditions(folder.path(), "grp0fil1");
    ASSERT_EQ(back.rows.size(), 3u);
    EXPECT_EQ(back.rows[2].edit, "a=b");
    EXPECT_EQ(back.rows[1].field, 8);
    EXPECT_EQ(back.typ, 2);
    EXPECT_FALSE(back.active);
    EXPECT_TRUE(back.once);

    writeConditions(folder.path(), "grp0fil1", {{}, 0, true, false});
    EXPECT_EQ(folder.read("grp0fil1.txt"), "typ=0\r\nactive=True\r\nonce=False\r\n");
}

TEST(ConditionsFile, EditorReadingTakesDefaultsAndRefusesWhatDoesNotConvert)
{
    // An empty file (a new filter) is no rows, "Alle", active, and marked "once".
    const FilterConditions empty = conditionsFromLines(TextList());
    EXPECT_TRUE(empty.rows.empty());
    EXPECT_EQ(empty.typ, 0);
    EXPECT_TRUE(empty.active);
    EXPECT_TRUE(empty.once);
    EXPECT_TRUE(conditionsFromLines(lines("\r\n\r\n")).once);
    EXPECT_TRUE(conditionsFromLines(lines("active=1\r\n")).active);
    EXPECT_FALSE(conditionsFromLines(lines("ACTIVE=false\r\n")).active);
    // Any other file without "once", or with it empty, is not marked; a value converts like "active".
    EXPECT_FALSE(conditionsFromLines(lines("typ=0\r\nactive=True\r\n")).once);
    EXPECT_FALSE(conditionsFromLines(lines("active=True\r\nonce=\r\n")).once);
    EXPECT_TRUE(conditionsFromLines(lines("once=1\r\n")).once);
    EXPECT_TRUE(conditionsFromLines(lines("ONCE=true\r\n")).once);

    EXPECT_THROW(conditionsFromLines(lines("field0=x\r\nact0=0\r\n")), ConversionError);
    EXPECT_THROW(conditionsFromLines(lines("field0=1\r\n")), ConversionError); // "act0" missing
    EXPECT_THROW(conditionsFromLines(lines("typ=alle\r\n")), ConversionError);
    EXPECT_THROW(conditionsFromLines(lines("active=ja\r\n")), ConversionError);
    EXPECT_THROW(conditionsFromLines(lines("once=ja\r\n")), ConversionError);

    test::TempFolder folder;
    EXPECT_THROW(readConditions(folder.path(), "grp0fil0"), FileError);
}

TEST(ActionsFile, IsWrittenWithRowsOnly)
{
    test::TempFolder folder;
    writeActions(folder.path(), "grp1fil0", {{4, 4, "Gr\xFCn"}, {5, 0, "Neu: %s"}});
    EXPECT_EQ(folder.read("grp1fil0_act.txt"),
              "field0=4\r\nact0=4\r\nedit0=Gr\xFCn\r\nfield1=5\r\nact1=0\r\nedit1=Neu: %s\r\n");
    const ActionRows back = readActions(folder.path(), "grp1fil0");
    EXPECT_FALSE(back.error);
    ASSERT_EQ(back.rows.size(), 2u);
    EXPECT_EQ(back.rows[0].edit, "Gr\xFCn");

    writeActions(folder.path(), "grp1fil0", {});
    EXPECT_EQ(folder.read("grp1fil0_act.txt"), "");
}

TEST(ActionsFile, ReadingStopsAtTheFirstRowThatDoesNotConvertAndAtAMissingField)
{
    const ActionRows broken = actionsFromLines(lines("field0=0\r\nact0=4\r\nedit0=a\r\nfield1=1\r\nact1=Nichts\r\n"
                                                     "field2=0\r\nact2=4\r\n"));
    ASSERT_EQ(broken.rows.size(), 1u);
    ASSERT_TRUE(broken.error);
    EXPECT_NE(broken.error->find("Nichts"), std::string::npos);

    const ActionRows gap = actionsFromLines(lines("field0=0\r\nact0=4\r\nfield2=0\r\nact2=4\r\n"));
    EXPECT_EQ(gap.rows.size(), 1u);
    EXPECT_FALSE(gap.error);

    test::TempFolder folder;
    EXPECT_TRUE(readActions(folder.path(), "grp0fil0").rows.empty()); // a missing file has no rows
}

} // namespace
