// Start, ticks and end of the main window: one tick at a time, and an end that writes the lists
// even while a tick waits for a server.
#include "mainwindowfixture.h"
#include "support/replies.h"
#include "ui/filtereditor/filtertreeeditor.h"
#include "ui/uitestsupport.h"

#include <filesystem>
#include <sstream>

using quintor::test::MainWindowFixture;

namespace {

std::string oneGameReply()
{
    return quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Einziges Spiel"});
}

} // namespace

class TestMainWindowLifecycle : public QObject {
    Q_OBJECT
private slots:
    void startLoadsTheListsAndRestoresTheBounds()
    {
        MainWindowFixture f;
        f.folder.write("server.txt", "http://127.0.0.1:9/a\r\nhttp://127.0.0.1:9/b\r\n");
        f.folder.write("syno.txt", "a=b\r\n");
        f.folder.write("log.txt", "eintrag\r\n");
        f.folder.write("config.txt", "width=640\r\nheight=480\r\nleft=12\r\ntop=34\r\n");
        auto& form = f.create();
        QCOMPARE(form.monitor().state().servers.count(), 2);
        QCOMPARE(form.monitor().state().aliases.lines(), std::vector<std::string>{"a=b"});
        QCOMPARE(form.monitor().state().logLines.lines(), std::vector<std::string>{"eintrag"});
        QVERIFY(form.monitor().state().online);
        QCOMPARE(form.geometry().size(), QSize(640, 480));
        QCOMPARE(form.pos(), QPoint(12, 34));
    }

    void boundsThatAreNoNumbersKeepTheDesignedOnes()
    {
        MainWindowFixture f;
        f.folder.write("config.txt", "width=abc\r\nheight=\r\nleft=1x\r\n");
        auto& form = f.create();
        QVERIFY(form.width() >= 526);
        QCOMPARE(form.pos(), QPoint(0, 0));
        QVERIFY(f.dialogs.shown.empty());
        form.resize(555, 444);
        form.close();
        QVERIFY(form.shutDown());
        const std::string config = f.folder.read("config.txt");
        QVERIFY(config.find("width=555\r\n") != std::string::npos);
        QVERIFY(config.find("height=444\r\n") != std::string::npos);
    }

    void endWritesTheFourLists()
    {
        MainWindowFixture f;
        f.folder.write("server.txt", "http://127.0.0.1:9/a\r\n");
        f.folder.write("config.txt", "tagparse=True\r\n");
        auto& form = f.create();
        QSignalSpy finished(&form, &quintor::ui::MainWindow::finished);
        form.monitor().state().aliases.add("Foo=Bar");
        form.move(7, 9);
        form.resize(610, 420);
        f.action("Beenden1")->trigger();
        QVERIFY(form.shutDown());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(f.folder.read("syno.txt"), std::string("Foo=Bar\r\n"));
        QCOMPARE(f.folder.read("config.txt"),
                 std::string("tagparse=True\r\nColumnWidth0=100\r\nwidth=610\r\nheight=420\r\ntop=9\r\nleft=7\r\n"));
        QCOMPARE(f.folder.read("server.txt"), std::string("http://127.0.0.1:9/a\r\n"));
        QVERIFY(f.folder.exists("log.txt"));
        QVERIFY(f.dialogs.shown.empty());
    }

    void aFailedSaveIsReportedAndTheOtherListsAreWritten()
    {
        MainWindowFixture f;
        std::filesystem::create_directories(f.folder.file("config.txt") + "/inside"); // cannot be replaced
        auto& form = f.create();
        form.monitor().state().aliases.add("Foo=Bar");
        form.close();
        QVERIFY(form.shutDown());
        QCOMPARE(f.dialogs.textsOf("message").size(), std::size_t(1));
        QCOMPARE(f.folder.read("syno.txt"), std::string("Foo=Bar\r\n"));
        QVERIFY(f.folder.exists("server.txt"));
        QVERIFY(f.folder.exists("log.txt"));
    }

    void failedSavesAreNamedAllAndTheEndNeverWaitsWithoutAUser_data()
    {
        QTest::addColumn<bool>("byUser");
        QTest::newRow("menu") << true;
        QTest::newRow("signal or session end") << false;
    }

    void failedSavesAreNamedAllAndTheEndNeverWaitsWithoutAUser()
    {
        QFETCH(bool, byUser);
        MainWindowFixture f;
        std::ostringstream errorOutput;
        for (const char* name : {"config.txt", "log.txt"}) // a folder in their place cannot be replaced
            std::filesystem::create_directories(f.folder.file(name) + "/inside");
        auto& form = f.create(nullptr, [&](quintor::test::ProgramOptions& setup) { setup.errorOutput = &errorOutput; });
        form.monitor().state().aliases.add("Foo=Bar");
        if (byUser)
            f.action("Beenden1")->trigger();
        else
            form.requestShutdown(quintor::ShutdownCause::session);
        QVERIFY(form.shutDown());
        QVERIFY(form.exitCode() != 0);
        QCOMPARE(f.folder.read("syno.txt"), std::string("Foo=Bar\r\n"));
        std::vector<std::string> reports = f.dialogs.textsOf("message");
        if (!byUser) {
            QVERIFY(f.dialogs.shown.empty());
            reports.clear();
            std::istringstream lines(errorOutput.str());
            for (std::string line; std::getline(lines, line);)
                reports.push_back(line);
            QCOMPARE(reports.size(), std::size_t(2)); // one line per file
        } else {
            QVERIFY(errorOutput.str().empty());
            QCOMPARE(reports.size(), std::size_t(1)); // one box
        }
        const std::string all = byUser ? reports[0] : reports[0] + "\n" + reports[1];
        QVERIFY2(all.find("config.txt") != std::string::npos, all.c_str());
        QVERIFY2(all.find("log.txt") != std::string::npos, all.c_str());
    }

    void endingWithTheFilterTreeEditorOpenWritesItsFiles()
    {
        MainWindowFixture f;
        auto& form = f.create();
        form.openFilterTreeEditor();
        f.dialogs.inputs = {std::string("Neu")};
        form.filterTreeEditor().addGroup();
        form.requestShutdown(quintor::ShutdownCause::session);
        QVERIFY(form.shutDown());
        QCOMPARE(f.folder.read("filter.txt"), std::string("grp0=Neu\r\n"));
        QCOMPARE(f.folder.read("index.txt"), std::string("filter\r\n"));
        QVERIFY(!form.filterTreeEditor().isVisible());
        QVERIFY(f.dialogs.textsOf("message").empty());
    }

    void aTickDueWhileAnotherWaitsRunsOnceAfterwards()
    {
        MainWindowFixture f;
        f.http->body = oneGameReply();
        auto& form = f.create();
        struct {
            bool running = false, loadEnabled = true, tagsEnabled = true, quitEnabled = false, editable = true;
            int callsAfterRequests = -1, ticksAfterRequests = -1, ticksWhenSecondBegan = -1;
        } seen;
        int stage = 0;
        form.show(); // its tick starts from the event loop and waits in the first request
        const bool done = quintor::test::driveUntilDone([&] {
            switch (stage) {
            case 0:
                if (f.http->calls < 1) return false;
                seen.running = form.tickRunning();
                // The list's commands wait for the tick; ending the program does not.
                seen.loadEnabled = f.action("AusDateiladen1")->isEnabled();
                seen.tagsEnabled = f.action("agsherausfarsen1")->isEnabled();
                seen.quitEnabled = f.action("Beenden1")->isEnabled();
                form.model().addColumn("x", 10); // a row to ask about editing
                form.model().addRow();
                seen.editable = form.model().flags(form.model().index(0, 0)) & Qt::ItemIsEditable;
                form.runTick(); // the timer, the show handler or a command, while the first waits
                form.runTick();
                seen.callsAfterRequests = f.http->calls;
                seen.ticksAfterRequests = static_cast<int>(f.ticks->count());
                f.http->released = 1;
                stage = 1;
                return false;
            case 1:
                if (f.http->calls < 2) return false;
                seen.ticksWhenSecondBegan = static_cast<int>(f.ticks->count());
                f.http->released = 2;
                stage = 2;
                return false;
            default:
                return f.ticks->count() >= 2 && !form.tickRunning();
            }
        });
        QVERIFY(done);
        QVERIFY(seen.running);
        QVERIFY(!seen.loadEnabled);
        QVERIFY(!seen.tagsEnabled);
        QVERIFY(seen.quitEnabled);
        QVERIFY(!seen.editable);
        QCOMPARE(seen.callsAfterRequests, 1); // not nested
        QCOMPARE(seen.ticksAfterRequests, 0);
        QCOMPARE(seen.ticksWhenSecondBegan, 1); // the deferred tick began after the first had ended
        QCOMPARE(f.ticks->count(), 2);          // once, for two requests
        QCOMPARE(f.http->calls.load(), 2);
        QCOMPARE(f.http->maxActive.load(), 1);
        QCOMPARE(f.http->urls(),
                 (std::vector<std::string>{quintor::test::defaultServerUrl, quintor::test::defaultServerUrl}));
        QCOMPARE(form.model().rowCount(), 1);
        QCOMPARE(form.model().captionAt(0), std::string("Einziges Spiel"));
        QVERIFY(f.action("AusDateiladen1")->isEnabled());
        QVERIFY(f.action("agsherausfarsen1")->isEnabled());
        QVERIFY(f.dialogs.shown.empty());
    }

    void endingWhileATickWaitsAbandonsItAndWritesTheLists()
    {
        MainWindowFixture f;
        f.folder.write("server.txt", "http://127.0.0.1:9/a\r\n");
        auto& form = f.create();
        QSignalSpy finished(&form, &quintor::ui::MainWindow::finished);
        bool closedAtOnce = true;
        int stage = 0;
        form.show();
        const bool done = quintor::test::driveUntilDone([&] {
            if (stage == 0) {
                if (f.http->calls < 1) return false;
                form.runTick(); // due, but dropped by the end
                f.action("Beenden1")->trigger();
                closedAtOnce = form.shutDown(); // not while the tick is still on the stack
                stage = 1;
                return false;
            }
            return form.shutDown(); // the server never answers
        });
        QVERIFY(done);
        QVERIFY(!closedAtOnce);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(f.ticks->count(), 1);
        QVERIFY(!form.isVisible());
        QTRY_COMPARE(f.http->cancelled.load(), 1); // the request itself was told to stop
        QCOMPARE(f.http->calls.load(), 1);
        QCOMPARE(f.folder.read("server.txt"), std::string("http://127.0.0.1:9/a\r\n"));
        const std::string config = f.folder.read("config.txt");
        QVERIFY(config.find("width=" + std::to_string(form.width()) + "\r\n") != std::string::npos);
        QVERIFY(config.find("left=0\r\n") != std::string::npos);
        QVERIFY(f.folder.exists("syno.txt"));
        QVERIFY(f.folder.exists("log.txt"));
        QVERIFY(f.dialogs.shown.empty()); // an abandoned tick is no error
    }
};

QTEST_MAIN(TestMainWindowLifecycle)
#include "test_mainwindowlifecycle.moc"
