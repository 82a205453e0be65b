// The tray: putting the window away and bringing it back, with and without a notification area,
// ticks while in the tray, the balloon, and ending the program from the tray.
#include "mainwindowfixture.h"
#include "ui/platform/qtnotifier.h"
#include "ui/uitestsupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QSystemTrayIcon>

#include <filesystem>

using quintor::test::MainWindowFixture;

namespace {

// A window that has run its first tick, every request answered at once.
quintor::ui::MainWindow& shownForm(MainWindowFixture& f, bool trayAvailable)
{
    f.trayAvailable = trayAvailable;
    f.http->released = 1000000;
    auto& form = f.create();
    if (!f.showAndWaitForFirstTick()) qFatal("the first tick did not end");
    return form;
}

} // namespace

class TestMainWindowTray : public QObject {
    Q_OBJECT
private slots:
    void trayMenu()
    {
        MainWindowFixture f;
        auto& form = f.create();
        QMenu* tpop = form.trayIcon().contextMenu();
        QVERIFY(tpop);
        QCOMPARE(tpop->objectName(), QStringLiteral("tpop"));
        const auto actions = tpop->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text(), QStringLiteral("Quintor \u00F6ffnen"));
        QVERIFY(actions[1]->isSeparator());
        QCOMPARE(actions[2]->text(), QStringLiteral("Quintor Beenden"));
        QVERIFY(!form.trayIcon().isVisible()); // hidden at start
        QVERIFY(!form.trayIcon().icon().isNull());
    }

    // Each way into the tray, then each way back.
    void awayAndBack_data()
    {
        QTest::addColumn<QString>("away");
        QTest::addColumn<QString>("back");
        QTest::newRow("Minimieren, double-click") << "Minimieren1"
                                                  << "doubleclick";
        QTest::newRow("Minimieren, Quintor oeffnen") << "Minimieren1"
                                                     << "Quintorffnen1";
        QTest::newRow("minimise button, double-click") << "minimise"
                                                       << "doubleclick";
        QTest::newRow("minimise button, Quintor oeffnen") << "minimise"
                                                          << "Quintorffnen1";
    }
    void awayAndBack()
    {
        QFETCH(QString, away);
        QFETCH(QString, back);
        MainWindowFixture f;
        auto& form = shownForm(f, true);
        if (away == "minimise")
            form.setWindowState(Qt::WindowMinimized); // what the window's minimise button does
        else
            f.action(qPrintable(away))->trigger();
        QVERIFY(form.trayIcon().isVisible());
        QTRY_VERIFY(!form.isVisible());

        // The timer's ticks go on in the tray: the games are fetched and the filters run.
        const int calls = f.http->calls;
        QVERIFY(f.tickAndWait());
        QCOMPARE(f.http->calls.load(), calls + 1);

        const auto ticks = f.ticks->count();
        if (back == "doubleclick")
            emit form.trayIcon().activated(QSystemTrayIcon::DoubleClick);
        else
            form.trayIcon().contextMenu()->findChild<QAction*>(back)->trigger();
        QVERIFY(!form.trayIcon().isVisible());
        QVERIFY(form.isVisible());
        QVERIFY(!(form.windowState() & Qt::WindowMinimized));
        // Showing the window again runs a tick at once.
        QTRY_VERIFY(f.ticks->count() > ticks && !form.tickRunning());
        QCOMPARE(f.http->calls.load(), calls + 2);
        QVERIFY(f.dialogs.shown.empty());
    }

    // Status-notifier trays report only single clicks: one brings the window back, once no double
    // click followed within the double-click time.
    void aSingleClickOnTheIconBringsTheWindowBackAfterTheDoubleClickTime()
    {
        MainWindowFixture f;
        auto& form = shownForm(f, true);
        form.moveToTray();
        emit form.trayIcon().activated(QSystemTrayIcon::Trigger);
        QVERIFY(form.trayIcon().isVisible());
        QVERIFY(!form.isVisible());
        QTRY_VERIFY(form.isVisible());
        QVERIFY(!form.trayIcon().isVisible());
    }

    // A double click is reported as a single click and then a double click: the window comes back
    // once, and the single click does not bring it back again after it was put away anew.
    void aDoubleClickBringsTheWindowBackOnlyOnce()
    {
        MainWindowFixture f;
        auto& form = shownForm(f, true);
        form.moveToTray();
        emit form.trayIcon().activated(QSystemTrayIcon::Trigger);
        emit form.trayIcon().activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(form.isVisible());
        form.moveToTray();
        QTest::qWait(QApplication::doubleClickInterval() + 200);
        QVERIFY(!form.isVisible());
        QVERIFY(form.trayIcon().isVisible());
    }

    // Without a notification area there would be no way back: the window stays, minimised.
    void withoutANotificationAreaMinimisingKeepsTheWindow_data()
    {
        QTest::addColumn<QString>("away");
        QTest::newRow("Minimieren") << "Minimieren1";
        QTest::newRow("minimise button") << "minimise";
    }
    void withoutANotificationAreaMinimisingKeepsTheWindow()
    {
        QFETCH(QString, away);
        MainWindowFixture f;
        auto& form = shownForm(f, false);
        if (away == "minimise")
            form.setWindowState(Qt::WindowMinimized);
        else
            f.action(qPrintable(away))->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!form.trayIcon().isVisible());
        QVERIFY(form.isVisible());
        QVERIFY(form.windowState() & Qt::WindowMinimized);
        const int calls = f.http->calls;
        QVERIFY(f.tickAndWait()); // still a visible window: the ticks go on
        QCOMPARE(f.http->calls.load(), calls + 1);
    }

    void endingFromTheTrayWritesTheFourFilesWithTheLastBounds()
    {
        MainWindowFixture f;
        f.folder.write("server.txt", "http://127.0.0.1:9/a\r\n");
        auto& form = shownForm(f, true);
        QSignalSpy finished(&form, &quintor::ui::MainWindow::finished);
        form.move(31, 42);
        form.resize(640, 450);
        const QRect bounds = form.geometry();
        form.monitor().state().aliases.add("Alt=Neu");
        form.monitor().state().logLines.add("Zeile");
        f.action("Minimieren1")->trigger();
        QTRY_VERIFY(!form.isVisible());

        form.trayIcon().contextMenu()->findChild<QAction*>("QuintorBeenden1")->trigger();
        QVERIFY(form.shutDown());
        QCOMPARE(finished.count(), 1);
        QVERIFY(!form.trayIcon().isVisible());
        // A first start: tags are stripped from then on.
        const std::string columnWidth = std::to_string(f.gameList()->header()->sectionSize(0));
        QCOMPARE(f.folder.read("config.txt"),
                 "tagparse=True\r\nColumnWidth0=" + columnWidth + "\r\nwidth=" + std::to_string(bounds.width()) +
                     "\r\nheight=" + std::to_string(bounds.height()) + "\r\ntop=42\r\nleft=31\r\n");
        QCOMPARE(f.folder.read("syno.txt"), std::string("Alt=Neu\r\n"));
        QCOMPARE(f.folder.read("log.txt"), std::string("Zeile\r\n"));
        QCOMPARE(f.folder.read("server.txt"), std::string("http://127.0.0.1:9/a\r\n"));
    }

    void aBalloonIsShownOnlyWhileTheIconIs()
    {
        MainWindowFixture f;
        auto& form = shownForm(f, true);
        QSignalSpy balloons(&form.notifier(), &quintor::ui::QtNotifier::balloonShown);
        form.notifier().balloon("Quintor - Filterbenachrichtigung", "im Fenster", std::nullopt);
        QCOMPARE(balloons.count(), 0);
        form.moveToTray();
        form.notifier().balloon("Quintor - Filterbenachrichtigung", "Gr\xFCn im Tray", std::nullopt);
        QCOMPARE(balloons.count(), 1);
        QCOMPARE(balloons[0][0].toString(), QStringLiteral("Quintor - Filterbenachrichtigung"));
        QCOMPARE(balloons[0][1].toString(), QStringLiteral("Gr\u00FCn im Tray"));
    }

    void aMissingSoundFileDoesNothing()
    {
        MainWindowFixture f;
        auto& form = f.create();
        form.notifier().playSound(f.folder.file("fehlt.wav"));
        form.notifier().playSound(f.folder.path()); // a folder is no sound
        form.notifier().playSound("");
        QCOMPARE(form.notifier().soundsInProgress(), 0);
    }

    void soundNamesAreStoredTextsAndAMissingFileIsReportedOncePerTick()
    {
        MainWindowFixture f;
        auto& form = f.create();
        std::filesystem::create_directories(f.folder.file("T\xC3\xB6ne")); // the file system's names are UTF-8
        f.folder.write("T\xC3\xB6ne/ding.wav", "RIFF");
        QSignalSpy failed(&form.notifier(), &quintor::ui::QtNotifier::soundFailed);
        form.notifier().playSound(f.folder.path() + "T\xF6ne/ding.wav"); // as the filter file holds it
        QCOMPARE(failed.count(), 0);                                     // found
        form.notifier().playSound(f.folder.file("fehlt.wav"));
        form.notifier().playSound(f.folder.file("fehlt auch.wav"));
        QCOMPARE(failed.count(), 2);
        const QString status = form.findChild<QStatusBar*>(QStringLiteral("statbar"))->findChild<QLabel*>()->text();
        QCOMPARE(status.count(QStringLiteral("Sounddatei")), 1);
        QVERIFY2(status.contains(QString::fromStdString(f.folder.file("fehlt.wav"))), qPrintable(status));
    }

    void anUnplayableSoundFileEndsWithoutPlaying()
    {
        MainWindowFixture f;
        auto& form = f.create();
        f.folder.write("kaputt.wav", "RIFF? keine Wellenform");
        QSignalSpy finished(&form.notifier(), &quintor::ui::QtNotifier::soundFinished);
        form.notifier().playSound(f.folder.file("kaputt.wav"));
        if (form.notifier().soundsInProgress() == 0) QSKIP("no audio output here: sounds are not started");
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QCOMPARE(finished[0][1].toBool(), false);
        QTRY_COMPARE(form.notifier().soundsInProgress(), 0);
    }
};

QTEST_MAIN(TestMainWindowTray)
#include "test_mainwindowtray.moc"
