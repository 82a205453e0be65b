#include "filters/filterpage.h"

#include "settings/errors.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace quintor {

// Rows compare and print by their three values in these tests.
bool operator==(const FilterRow& a, const FilterRow& b)
{
    return a.field == b.field && a.act == b.act && a.edit == b.edit;
}
void PrintTo(const FilterRow& row, std::ostream* out)
{
    *out << "{" << row.field << ", " << row.act << ", \"" << row.edit << "\"}";
}

namespace {

using test::TempFolder;

std::vector<std::int32_t> fieldsOf(const FilterPage& page)
{
    std::vector<std::int32_t> fields;
    for (const auto& row : page.values())
        fields.push_back(row.field);
    return fields;
}

std::vector<std::string> editsOf(const FilterPage& page)
{
    std::vector<std::string> edits;
    for (const auto& row : page.values())
        edits.push_back(row.edit);
    return edits;
}

TEST(FilterPageItems, ListsInCodeOrder)
{
    EXPECT_EQ(fieldItems(FilterPageKind::conditions).size(), 9u);
    EXPECT_EQ(fieldItems(FilterPageKind::conditions)[7], "Passwort benutzt");
    EXPECT_EQ(actItems(FilterPageKind::conditions), (std::vector<std::string>{"enth\xE4lt", "entspricht"}));
    EXPECT_EQ(fieldItems(FilterPageKind::actions),
              (std::vector<std::string>{"Zeige Dialogbox an", "\326ffne Hinweis im Systray", "Gebe Sound aus",
                                        "Trete Spiel bei", "F\xE4rbe Eintrag ein", "Schreibe ins Log"}));
    EXPECT_EQ(actItems(FilterPageKind::actions).back(), "Nichts");
    EXPECT_EQ(combinationItems()[0], "Alle Bedingungen sind erf\xFCllt");
}

TEST(FilterPageItems, FirstChoicesOfANewRow)
{
    FilterPage conditions(FilterPageKind::conditions);
    FilterPage actions(FilterPageKind::actions);
    conditions.addRow();
    actions.addRow();
    EXPECT_EQ(conditions.row(0).values, (FilterRow{-1, -1, ""}));
    // "Nichts" is the datum of a new action row.
    EXPECT_EQ(actions.row(0).values, (FilterRow{-1, 4, ""}));
}

struct VisibilityCase {
    std::int32_t action;
    RowVisibility shown;
};

class ActionVisibility : public ::testing::TestWithParam<VisibilityCase> {};

TEST_P(ActionVisibility, FollowsTheChosenAction)
{
    EXPECT_EQ(actionRowVisibility(GetParam().action), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Actions, ActionVisibility,
                         ::testing::Values(VisibilityCase{-1, {true, true}}, VisibilityCase{0, {true, true}},
                                           VisibilityCase{1, {true, true}}, VisibilityCase{2, {false, true}},
                                           VisibilityCase{3, {true, false}}, VisibilityCase{4, {false, true}},
                                           VisibilityCase{5, {true, true}}));

TEST(FilterPageRows, RemovingAMiddleRowRenumbersTheLaterOnes)
{
    FilterPage page(FilterPageKind::conditions);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(page.addRow(), r);
        page.setField(r, r);
        page.setEdit(r, "row" + std::to_string(r));
    }
    page.removeRow(1);
    EXPECT_EQ(page.count(), 2);
    EXPECT_EQ(fieldsOf(page), (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(editsOf(page), (std::vector<std::string>{"row0", "row2"}));
    EXPECT_EQ(page.addRow(), 2);
    EXPECT_THROW(page.removeRow(3), std::out_of_range);
}

TEST(FilterPageRows, LoadedRowsShowBothControlsUntilTheUserChoosesAnAction)
{
    FilterPage page(FilterPageKind::actions);
    page.addLoadedRow({3, 4, "text stays"});
    EXPECT_EQ(page.row(0).shown, (RowVisibility{true, true}));
    page.chooseAction(0, 2);
    EXPECT_EQ(page.row(0).shown, (RowVisibility{false, true}));
    page.chooseAction(0, 3);
    EXPECT_EQ(page.row(0).shown, (RowVisibility{true, false}));
    // Hidden controls keep their contents.
    EXPECT_EQ(page.row(0).values, (FilterRow{3, 4, "text stays"}));
}

TEST(FilterPageRows, ACodeWithoutAnItemChoosesNothing)
{
    FilterPage page(FilterPageKind::conditions);
    page.addLoadedRow({9, 2, "x"});
    page.addLoadedRow({8, 1, "y"});
    page.addLoadedRow({-1, -1, ""});
    EXPECT_EQ(page.row(0).values, (FilterRow{-1, -1, "x"}));
    EXPECT_EQ(page.row(1).values, (FilterRow{8, 1, "y"}));
    EXPECT_EQ(page.row(2).values, (FilterRow{-1, -1, ""}));
}

struct PagesFixture : ::testing::Test {
    TempFolder folder;
    FilterPages pages{folder.path()};
};

TEST_F(PagesFixture, LoadingAndSavingUnchangedWritesTheSameLines)
{
    const std::string conditions = "field0=2\r\nact0=1\r\nedit0=Foo\r\ntyp=1\r\nactive=False\r\n";
    folder.write("grp0fil0.txt", conditions);
    pages.load("grp0fil0");
    ASSERT_EQ(pages.page().count(), 1);
    EXPECT_EQ(pages.page().row(0).values, (FilterRow{2, 1, "Foo"}));
    EXPECT_EQ(pages.typ(), 1);
    EXPECT_FALSE(pages.active());
    EXPECT_FALSE(pages.once()); // a filter written before the mark existed keeps its meaning

    EXPECT_EQ(pages.leaveConditions(), std::nullopt);
    EXPECT_EQ(folder.read("grp0fil0.txt"), conditions + "once=False\r\n");
    EXPECT_EQ(pages.kind(), FilterPageKind::actions);
    EXPECT_EQ(pages.page().count(), 0);
    pages.confirmActions();
    EXPECT_EQ(folder.read("grp0fil0_act.txt"), "");
}

TEST_F(PagesFixture, RewritingDropsForeignLinesAndRowsAfterAGapAndAddsTheDefaults)
{
    folder.write("grp1fil2.txt", "x=1\r\nedit1=b=c\r\nact1=0\r\nfield1=4\r\nact0=1\r\nfield0=0\r\nfield3=5\r\n"
                                 "act3=0\r\nedit0=a\r\n");
    folder.write("grp1fil2_act.txt", "field0=4\r\nact0=4\r\nedit0=Gr\xFCn\r\nfield1=5\r\nact1=0\r\nedit1=%s\r\n"
                                     "foo=bar\r\n");
    pages.load("grp1fil2");
    EXPECT_EQ(pages.typ(), 0);
    EXPECT_TRUE(pages.active());
    ASSERT_EQ(pages.leaveConditions(), std::nullopt);
    EXPECT_EQ(folder.read("grp1fil2.txt"), "field0=0\r\nact0=1\r\nedit0=a\r\nfield1=4\r\nact1=0\r\nedit1=b=c\r\n"
                                           "typ=0\r\nactive=True\r\nonce=False\r\n");
    ASSERT_EQ(pages.page().count(), 2);
    pages.confirmActions();
    EXPECT_EQ(folder.read("grp1fil2_act.txt"),
              "field0=4\r\nact0=4\r\nedit0=Gr\xFCn\r\nfield1=5\r\nact1=0\r\nedit1=%s\r\n");
}

TEST_F(PagesFixture, RowsWithNothingChosenAreSavedAsMinusOneAndReadBackEmpty)
{
    folder.write("grp0fil0.txt", ""); // as "Neuer Filter" leaves it: the mark starts checked
    pages.load("grp0fil0");
    EXPECT_TRUE(pages.once());
    pages.page().addRow();
    pages.page().setEdit(0, "nur Text");
    ASSERT_EQ(pages.leaveConditions(), std::nullopt);
    EXPECT_EQ(folder.read("grp0fil0.txt"),
              "field0=-1\r\nact0=-1\r\nedit0=nur Text\r\ntyp=0\r\nactive=True\r\nonce=True\r\n");
    pages.page().addRow();
    pages.confirmActions();
    EXPECT_EQ(folder.read("grp0fil0_act.txt"), "field0=-1\r\nact0=4\r\nedit0=\r\n");

    FilterPages again(folder.path());
    again.load("grp0fil0");
    EXPECT_EQ(again.page().row(0).values, (FilterRow{-1, -1, "nur Text"}));
}

TEST_F(PagesFixture, ThreeRowsLessTheMiddleOneAreSavedAsRowsZeroAndOne)
{
    folder.write("grp0fil0.txt", "");
    pages.load("grp0fil0");
    for (int r = 0; r < 3; ++r) {
        pages.page().addRow();
        pages.page().setField(r, r);
        pages.page().setAct(r, 0);
        pages.page().setEdit(r, std::string(1, static_cast<char>('a' + r)));
    }
    pages.page().removeRow(1);
    pages.setOnce(false);
    pages.leaveConditions();
    EXPECT_EQ(folder.read("grp0fil0.txt"), "field0=0\r\nact0=0\r\nedit0=a\r\nfield1=2\r\nact1=0\r\nedit1=c\r\n"
                                           "typ=0\r\nactive=True\r\nonce=False\r\n");
}

TEST_F(PagesFixture, InvalidConditionsFileRaises)
{
    folder.write("typ.txt", "typ=x\r\n");
    folder.write("active.txt", "active=vielleicht\r\n");
    folder.write("field.txt", "field0=zwei\r\nact0=1\r\n");
    EXPECT_THROW(pages.load("typ"), ConversionError);
    EXPECT_THROW(pages.load("active"), ConversionError);
    EXPECT_THROW(pages.load("field"), ConversionError);
    EXPECT_THROW(pages.load("missing"), FileError);
}

TEST_F(PagesFixture, ABrokenActionsFileStopsAtTheRowThatDoesNotConvert)
{
    folder.write("k.txt", "typ=2\r\n");
    folder.write("k_act.txt", "field0=1\r\nact0=0\r\nedit0=eins\r\nfield1=x\r\nact1=0\r\nfield2=0\r\nact2=4\r\n");
    pages.load("k");
    const auto error = pages.leaveConditions();
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("'x'"), std::string::npos);
    EXPECT_EQ(pages.kind(), FilterPageKind::actions);
    EXPECT_EQ(pages.page().count(), 1);
    pages.confirmActions();
    EXPECT_EQ(folder.read("k_act.txt"), "field0=1\r\nact0=0\r\nedit0=eins\r\n");
}

TEST_F(PagesFixture, AFailedWriteLeavesThePageAsItWas)
{
    folder.write("k.txt", "field0=1\r\nact0=0\r\nedit0=x\r\n");
    pages.load("k");
    // A folder where the file should be: the safe save cannot rename over it.
    std::filesystem::remove(folder.file("k.txt"));
    std::filesystem::create_directory(folder.file("k.txt"));
    EXPECT_THROW(pages.leaveConditions(), FileError);
    EXPECT_EQ(pages.kind(), FilterPageKind::conditions);
    EXPECT_EQ(pages.page().count(), 1);
}

} // namespace
} // namespace quintor
