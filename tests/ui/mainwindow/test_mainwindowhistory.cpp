// The activity history in the main window: "Datei" > "Verlauf" opens its window, every tick that read
// a server is recorded (unless "history=False"), and "history.txt" is written when an hour ends and at
// the end.
#include "mainwindowfixture.h"

#include "support/replies.h"
#include "ui/history/activitychart.h"
#include "ui/history/historywindow.h"
#include "ui/uitestsupport.h"
#include <QLabel>

#include <QStatusBar>
#include <QTabWidget>

using quintor::test::MainWindowFixture;

namespace {

// Two games, four players.
std::string twoGameReply()
{
    return quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Erstes", .players = 1}) +
           quintor::test::referenceBlock({.title = "Zweites", .players = 3});
}

} // namespace

class TestMainWindowHistory : public QObject {
    Q_OBJECT
private slots:
    void verlaufOpensFromTheMenuAndShowsTicksWhileOpen()
    {
        MainWindowFixture f;
        f.http->released = 1000;
        f.http->body = twoGameReply();
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());

        f.action("Verlauf1")->trigger();
        auto& window = form.historyWindow();
        QVERIFY(window.isVisible());
        QVERIFY(!form.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("Verlauf"));
        QCOMPARE(window.tabs().count(), 2);
        QCOMPARE(window.tabs().tabText(0), QStringLiteral("Zeitlauf"));
        QCOMPARE(window.tabs().tabText(1), QStringLiteral("Woche"));
        QCOMPARE(window.chart().points().size(), std::size_t{1});

        // The window edits no list, so the ticks go on behind it, and it draws each one.
        f.http->body = quintor::test::replyHeader() + quintor::test::referenceBlock({.players = 8});
        QVERIFY(f.tickAndWait());
        QCOMPARE(form.monitor().history().hours().back().totals.ticks, 2);
        QCOMPARE(window.chart().points().back().maxPlayers, 8);
        QCOMPARE(window.chart().points().back().averagePlayers, 6.0);

        const auto before = f.ticks->count();
        window.close();
        QVERIFY(QTest::qWaitFor([&] { return form.isVisible() && f.ticks->count() > before; }));
        QVERIFY(!quintor::test::fakesComplained());
    }

    void anHourThatEndsAndTheEndWriteTheHistory()
    {
        MainWindowFixture f;
        f.http->released = 1000;
        f.http->body = twoGameReply();
        f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        QVERIFY(!f.folder.exists("history.txt"));

        f.clock.time.hour = 18;
        QVERIFY(f.tickAndWait());
        QCOMPARE(f.folder.read("history.txt"), std::string("2026-12-08 17=1;2;2;4;4\r\n2026-12-08 18=1;2;2;4;4\r\n"));

        QVERIFY(f.tickAndWait());
        f.window->close();
        QVERIFY(f.window->shutDown());
        QCOMPARE(f.folder.read("history.txt"), std::string("2026-12-08 17=1;2;2;4;4\r\n2026-12-08 18=2;4;2;8;4\r\n"));
    }

    void historyFalseRecordsNothingAndLeavesTheFile()
    {
        MainWindowFixture f;
        f.http->released = 1000;
        f.http->body = twoGameReply();
        f.folder.write("config.txt", "history=False\r\n");
        f.folder.write("history.txt", "2026-12-07 20=1;3;3;9;9\r\n");
        f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        f.clock.time.hour = 18;
        QVERIFY(f.tickAndWait());
        QCOMPARE(f.window->monitor().history().hours().size(), std::size_t{1}); // loaded, so "Verlauf" shows it
        f.window->close();
        QVERIFY(f.window->shutDown());
        QCOMPARE(f.folder.read("history.txt"), std::string("2026-12-07 20=1;3;3;9;9\r\n"));
    }

    void aDamagedLineIsNotedInTheStatusBarNeverInABox()
    {
        MainWindowFixture f;
        f.folder.write("history.txt", "2026-12-07 20=1;3;3;9;9\r\nkaputt\r\n");
        f.create();
        QCOMPARE(f.window->monitor().history().hours().size(), std::size_t{1});
        const QString status = f.window->statusBar()->findChild<QLabel*>()->text();
        QVERIFY2(status.endsWith(QStringLiteral(" - Verlauf: 1 unlesbare Zeile in \"history.txt\" \u00FCbersprungen")),
                 qPrintable(status));
        QVERIFY(f.dialogs.shown.empty());
    }
};

QTEST_MAIN(TestMainWindowHistory)
#include "test_mainwindowhistory.moc"
