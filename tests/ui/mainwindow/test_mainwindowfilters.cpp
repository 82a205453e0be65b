// The filters in the main window's ticks: a filter that fires colours its row, writes its log line and
// raises its balloon in the tray; a broken filter is reported through the general error report. Friends are
// seen in the list, the details and the tray's tooltip, and heard in the tray unless "Freunde melden" is off.
#include "mainwindowfixture.h"
#include "support/replies.h"
#include "ui/platform/qtnotifier.h"
#include "ui/uitestsupport.h"

#include <QLabel>
#include <QSystemTrayIcon>

using quintor::test::MainWindowFixture;

namespace {

std::string twoGamesReply()
{
    return quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Siedler am Fluss"}) +
           quintor::test::referenceBlock({.title = "Greed Arena"});
}

// One group with a filter on the title that colours green, logs and raises a balloon.
void writeGreedFilter(const quintor::test::TempFolder& folder)
{
    folder.write("filter.txt", "grp0=Melder\r\ngrp0fil0=Greed\r\n");
    folder.write("grp0fil0.txt", "active=True\r\ntyp=0\r\nfield0=0\r\nact0=0\r\nedit0=Greed\r\n");
    folder.write("grp0fil0_act.txt", "field0=4\r\nact0=4\r\nedit0=Gr\xFCn\r\n"
                                     "field1=5\r\nact1=0\r\nedit1=Neu: %s\r\n"
                                     "field2=1\r\nact2=0\r\nedit2=Offen: %s\r\n");
}

const quintor::GameRecord* recordTitled(quintor::ui::MainWindow& form, const std::string& title)
{
    for (const auto& record : form.monitor().state().games.all())
        if (record.Title == title) return &record;
    return nullptr;
}

} // namespace

class TestMainWindowFilters : public QObject {
    Q_OBJECT
private slots:
    void aFilterFiresInATick()
    {
        MainWindowFixture f;
        writeGreedFilter(f.folder);
        f.http->body = twoGamesReply();
        f.http->released = 1000;
        auto& form = f.create();
        QSignalSpy balloons(&form.notifier(), &quintor::ui::QtNotifier::balloonShown);
        QVERIFY(f.showAndWaitForFirstTick());

        const auto* greed = recordTitled(form, "Greed Arena");
        const auto* other = recordTitled(form, "Siedler am Fluss");
        QVERIFY(greed && other);
        QCOMPARE(greed->Color, 0x008000u);
        QCOMPARE(other->Color, 0u);
        QCOMPARE(form.monitor().state().logLines.lines(),
                 std::vector<std::string>{
                     "[Quintor Velmar 2.02 Beta [84] - 08.12.2026 17:02:06 - Filter \"Greed\"] Neu: Greed Arena"});
        // The row is drawn in its record's colour.
        for (int r = 0; r < form.model().rowCount(); ++r) {
            const QColor colour = form.model().index(r, 0).data(Qt::ForegroundRole).value<QColor>();
            const bool isGreed = form.model().captionAt(r) == "Greed Arena";
            QCOMPARE(colour, isGreed ? QColor(0, 128, 0) : QColor(0, 0, 0));
        }
        QCOMPARE(balloons.count(), 0); // the window is shown, the tray icon is not
        QVERIFY(f.dialogs.shown.empty());

        // In the tray the filters go on, and the balloon is seen.
        f.trayAvailable = true;
        form.moveToTray();
        QVERIFY(f.tickAndWait());
        QCOMPARE(balloons.count(), 1);
        QCOMPARE(balloons[0][0].toString(), QStringLiteral("Quintor - Filterbenachrichtigung"));
        QCOMPARE(balloons[0][1].toString(), QStringLiteral("Offen: Greed Arena"));
        QCOMPARE(form.monitor().state().logLines.count(), 2);

        form.close();
        QVERIFY(f.folder.read("log.txt").find("Filter \"Greed\"] Neu: Greed Arena\r\n") != std::string::npos);
    }

    void aFriendsGameIsStarredCountedNamedAndAnnounced()
    {
        MainWindowFixture f;
        f.folder.write("friends.txt", "Spieler1\r\n");
        f.http->body = quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Greed Arena"}) +
                       quintor::test::referenceBlock({.title = "Leer", .players = 0});
        f.http->released = 1000;
        auto& form = f.create();
        QSignalSpy balloons(&form.notifier(), &quintor::ui::QtNotifier::balloonShown);
        QVERIFY(f.action("Freundemelden1")->isChecked()); // on unless switched off
        QVERIFY(f.showAndWaitForFirstTick());

        QCOMPARE(form.model().index(0, 0).data().toString(), QStringLiteral("\u2605 Greed Arena"));
        QCOMPARE(form.model().index(1, 0).data().toString(), QStringLiteral("Leer"));
        QCOMPARE(form.model().index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("Freunde: Spieler1"));
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("friendcount"))->text(), QStringLiteral("Freunde online: 1"));
        QCOMPARE(form.trayIcon().toolTip(), QStringLiteral("Quintor\nFreunde online: Spieler1"));

        // "Freunde melden" off: stored at once; in the tray, the friend coming into another game is not heard.
        f.action("Freundemelden1")->trigger();
        QCOMPARE(form.monitor().state().config.value("friendnotify"), std::string("False"));
        f.trayAvailable = true;
        form.moveToTray();
        f.http->body = quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Goldmine"});
        QVERIFY(f.tickAndWait());
        QCOMPARE(balloons.count(), 0);
        // On again: first who is online, then who comes into a game.
        f.action("Freundemelden1")->trigger();
        f.http->body = quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Greed Arena"});
        QVERIFY(f.tickAndWait());
        f.http->body = quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Goldmine"});
        QVERIFY(f.tickAndWait());
        QCOMPARE(balloons.count(), 2);
        QCOMPARE(balloons[0][0].toString(), QStringLiteral("Quintor - Freunde"));
        QCOMPARE(balloons[0][1].toString(), QStringLiteral("Spieler1 ist in \u201EGreed Arena\u201C (Lobby)"));
        QCOMPARE(balloons[1][1].toString(), QStringLiteral("Spieler1 ist jetzt in \u201EGoldmine\u201C (Lobby)"));
    }

    void aBrokenFilterIsReportedAndTheGamesAreStillListed()
    {
        MainWindowFixture f;
        f.folder.write("filter.txt", "grp0=Melder\r\ngrp0fil0=Kaputt\r\ngrp0fil1=Greed\r\n");
        f.folder.write("grp0fil0.txt", "active=vielleicht\r\n");
        f.folder.write("grp0fil1.txt", "active=True\r\ntyp=0\r\nfield0=0\r\nact0=0\r\nedit0=Greed\r\n");
        f.folder.write("grp0fil1_act.txt", "field0=4\r\nact0=4\r\nedit0=Rot\r\n");
        f.http->body = twoGamesReply();
        f.http->released = 1000;
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(form.model().rowCount(), 2);
        QMessageBox* box = f.standingPrompt();
        QVERIFY(box);
        QVERIFY2(box->text().startsWith(QStringLiteral("Filter \"Kaputt\"")), qPrintable(box->text()));
        QCOMPARE(form.monitor().promptsWaiting(), std::size_t(0));     // once in the tick, not once per game
        QCOMPARE(recordTitled(form, "Greed Arena")->Color, 0x0000FFu); // the next filter still ran
    }

    void theJoinActionAsksAndStartsTheGame()
    {
        MainWindowFixture f;
        f.folder.write("filter.txt", "grp0=Melder\r\ngrp0fil0=Greed\r\n");
        f.folder.write("grp0fil0.txt", "active=True\r\ntyp=0\r\nfield0=0\r\nact0=0\r\nedit0=Greed\r\n");
        f.folder.write("grp0fil0_act.txt", "field0=3\r\nact0=4\r\nedit0=\r\n");
        f.folder.write("Clonk.exe", "MZ"); // the game lies in the application folder
        f.http->body = twoGamesReply();
        f.http->released = 1000;
        quintor::test::RecordingStarter starter;
        f.create(nullptr, [&](quintor::test::ProgramOptions& setup) { setup.processStarter = &starter; });
        QVERIFY(f.showAndWaitForFirstTick());
        QMessageBox* box = f.standingPrompt();
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("Dem Spiel \"Greed Arena\" von Host0 beitreten?"));
        QVERIFY(starter.started.empty());
        QVERIFY(f.answerPrompt(true));
        QCOMPARE(starter.started.size(), std::size_t(1));
        QCOMPARE(starter.started[0].program, f.folder.path() + "Clonk.exe");
    }

    void noFilterFileNoFilters()
    {
        MainWindowFixture f;
        f.http->body = twoGamesReply();
        f.http->released = 1000;
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(form.monitor().filters().count(), 0);
        QCOMPARE(form.model().rowCount(), 2);
        QCOMPARE(form.monitor().state().logLines.count(), 0);
        QVERIFY(f.dialogs.shown.empty());
    }
};

QTEST_MAIN(TestMainWindowFilters)
#include "test_mainwindowfilters.moc"
