#include "refresh/columnchoice.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

std::vector<std::string> checkedCaptions(const TextList& config)
{
    const std::vector<bool> flags = chosenColumns(config);
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i]) captions.emplace_back(columnCaptions[i]);
    return captions;
}

// What "OK" does with the entries the chooser shows checked, unchanged.
void storeAsShown(TextList& config)
{
    storeColumnChoice(config, checkedCaptions(config));
}

} // namespace

TEST(ColumnChoice, HandOrderedChoiceIsShownAndWrittenInTheFixedOrder)
{
    TextList config({"Column1=Liga", "Column2=Hoster"});
    EXPECT_EQ(checkedCaptions(config), (std::vector<std::string>{"Hoster", "Liga"}));
    storeAsShown(config);
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"Column1=Hoster", "Column2=Liga"}));
}

TEST(ColumnChoice, OnlyColumnLinesGoWidthsAndOtherKeysStayInPlace)
{
    TextList config({"crdir=/games/cr/", "ColumnWidth0=150", "Column1=Hoster", "ColumnWidth1=90", "Column2=Spiel",
                     "ColumnX=stray", "tagparse=True", "Column3=Liga", "ColumnWidth3=60"});
    storeColumnChoice(config, {"Status"});
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"crdir=/games/cr/", "ColumnWidth0=150", "ColumnWidth1=90",
                                                        "tagparse=True", "ColumnWidth3=60", "Column1=Status"}));
}

TEST(ColumnChoice, RemovalIsCaseSensitiveAndLooksForWidthAnywhere)
{
    // "column..." does not begin with "Column"; a value holding "Width" keeps its line.
    TextList config({"column7=Liga", "Column5=Width", "Column6=Spiel"});
    storeColumnChoice(config, {});
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"column7=Liga", "Column5=Width"}));
}

TEST(ColumnChoice, AnEmptyColumnEndsTheChoice)
{
    TextList config({"Column1=Hoster", "Column2=", "Column3=Liga"});
    EXPECT_EQ(checkedCaptions(config), (std::vector<std::string>{"Hoster"}));
    storeAsShown(config);
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"Column1=Hoster"}));
}

TEST(ColumnChoice, CaptionsMatchExactly)
{
    TextList config({"Column1=liga", "Column2=Erfunden", "Column3=Hoster "});
    EXPECT_TRUE(checkedCaptions(config).empty());
    storeAsShown(config);
    EXPECT_EQ(config.count(), 0);
}

TEST(ColumnChoice, UncheckingTheLastOfThreeLeavesTwo)
{
    TextList config({"Column1=Hoster", "Column2=Spieler", "Column3=Status", "ColumnWidth3=70"});
    storeColumnChoice(config, {"Hoster", "Spieler"});
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"ColumnWidth3=70", "Column1=Hoster", "Column2=Spieler"}));
}

TEST(ColumnChoice, CheckingNothingRemovesEveryColumn)
{
    TextList config({"Column1=Hoster", "Column2=Spieler", "ColumnWidth0=100"});
    storeColumnChoice(config, {});
    EXPECT_EQ(config.lines(), (std::vector<std::string>{"ColumnWidth0=100"}));
}

TEST(ColumnChoice, AllElevenRoundTrip)
{
    std::vector<std::string> all(columnCaptions.begin(), columnCaptions.end());
    TextList config;
    storeColumnChoice(config, all);
    ASSERT_EQ(config.count(), 11);
    EXPECT_EQ(config.line(10), "Column11=Offizieller Server");
    EXPECT_EQ(checkedCaptions(config), all);
}
