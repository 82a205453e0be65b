// One status text at a time: the caption, "Bereit" or "Offline-Modus", then the oldest note that stands.
#include "refresh/statusline.h"

#include <gtest/gtest.h>

using namespace quintor;
using std::chrono::milliseconds;

TEST(StatusLine, TheCaptionThenTheOldestNoteThatStands)
{
    StatusLine line;
    const std::string prefix = "Quintor Velmar 2.02 Beta [84] - ";
    EXPECT_EQ(line.text(true, milliseconds(0)), prefix + "Bereit");
    line.setCaption("Liste wird geladen...");
    EXPECT_EQ(line.text(false, milliseconds(0)), "Liste wird geladen...Offline-Modus");
    line.setCaption("");

    line.setNote(StatusNote::history, "Verlauf: 2 unlesbare Zeilen", milliseconds(30000));
    line.setNote(StatusNote::outage, "Server A nicht erreichbar seit 17:00:00");
    line.setNote(StatusNote::skippedGames, "1 Spiel mit fehlerhaften Daten");
    EXPECT_EQ(line.text(true, milliseconds(1000)), prefix + "Bereit - Verlauf: 2 unlesbare Zeilen");
    // The history note has had its time; the outage is the oldest left, and stays so when its text changes.
    EXPECT_EQ(line.text(true, milliseconds(30000)), prefix + "Bereit - Server A nicht erreichbar seit 17:00:00");
    line.setNote(StatusNote::outage, "Server B nicht erreichbar seit 17:01:00");
    EXPECT_EQ(line.text(true, milliseconds(30000)), prefix + "Bereit - Server B nicht erreichbar seit 17:01:00");
    line.clearNote(StatusNote::outage);
    EXPECT_EQ(line.text(true, milliseconds(30000)), prefix + "Bereit - 1 Spiel mit fehlerhaften Daten");
    EXPECT_TRUE(line.hasNote(StatusNote::skippedGames));
    EXPECT_FALSE(line.hasNote(StatusNote::outage));
}

TEST(StatusLine, TheAnswerToAClickGoesBeforeOlderNotesForItsWhile)
{
    StatusLine line;
    line.setNote(StatusNote::outage, "Server A nicht erreichbar seit 17:00:00");
    line.setNote(StatusNote::gameGone, "Das Spiel ist nicht mehr in der Liste.", milliseconds(30000));
    EXPECT_EQ(line.text(true, milliseconds(0)),
              "Quintor Velmar 2.02 Beta [84] - Bereit - Das Spiel ist nicht mehr in der Liste.");
    EXPECT_EQ(line.text(true, milliseconds(30000)),
              "Quintor Velmar 2.02 Beta [84] - Bereit - Server A nicht erreichbar seit 17:00:00");
}
