// A masterserver that fails, in the window: its last good games stay grey with the time of their list,
// and offline mode has its way back through the "Datei" menu.
#include "mainwindowfixture.h"
#include "support/replies.h"

#include <QLabel>
#include <QStatusBar>

#include <atomic>
#include <chrono>
#include <thread>

using quintor::test::MainWindowFixture;

namespace {

constexpr const char* serverList = "http://a.example/league/server\r\n";

std::string oneGameReply()
{
    return quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Greed Arena"});
}

// A server that keeps each request longer than the refetch interval lasts (in the tests), then fails; from the
// fifth on it fails at once, so that ticks which followed each other without a pause come to an end.
struct SlowFailingServer : quintor::HttpClient {
    std::atomic<int> calls{0};
    std::string get(const std::string& url, const quintor::HttpOptions& options) override
    {
        if (++calls <= 4) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
            while (std::chrono::steady_clock::now() < until) {
                if (options.cancel && options.cancel->load())
                    throw quintor::HttpError("cancelled", quintor::HttpError::Kind::Cancelled);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
        throw quintor::HttpError("HTTP request for " + url + " timed out", quintor::HttpError::Kind::Timeout);
    }
};

QString statusText(const quintor::ui::MainWindow& form)
{
    QString text;
    for (const QLabel* label : form.statusBar()->findChildren<QLabel*>())
        text += label->text();
    return text;
}

} // namespace

class TestMainWindowOutage : public QObject {
    Q_OBJECT
private slots:
    void keptGamesAreGreyWithTheTimeOfTheirList()
    {
        MainWindowFixture f;
        f.folder.write("server.txt", serverList);
        f.http->body = oneGameReply();
        f.http->released = 1000;
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(form.model().rowCount(), 1);
        QCOMPARE(form.model().index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));

        f.http->fail = true;
        f.clock.time.minute = 4;
        QVERIFY(f.tickAndWait());
        QCOMPARE(form.model().rowCount(), 1);
        QCOMPARE(form.model().captionAt(0), std::string("Greed Arena"));
        QCOMPARE(form.model().index(0, 0).data(Qt::ForegroundRole).value<QColor>(), quintor::ui::staleRowTextColor());
        QCOMPARE(form.model().index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("Stand: 17:02:06"));
        QVERIFY2(statusText(form).contains(
                     QStringLiteral("Server http://a.example/league/server nicht erreichbar seit 17:04:06")),
                 qPrintable(statusText(form)));
        QVERIFY(!f.action("WiederOnlinegehen1")->isEnabled()); // still online
        QVERIFY(f.answerPrompt(false));                        // keep the server
        QCOMPARE(form.monitor().state().servers.count(), 1);
    }

    void aTickLongerThanTheIntervalLeavesRoomBeforeTheNext()
    {
        auto server = std::make_shared<SlowFailingServer>();
        MainWindowFixture f;
        f.folder.write("server.txt", serverList);
        auto& form = f.create(server);
        form.findChild<QTimer*>(QStringLiteral("refetch"))->setInterval(1000);
        QVERIFY(f.showAndWaitForFirstTick());
        // The question of the first tick stands before the server is asked again.
        QVERIFY(f.standingPrompt());
        QCOMPARE(server->calls.load(), 1);
        QVERIFY(f.action("Masterserver1")->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return server->calls.load() == 2; }, 5000)); // the next tick still comes
        QVERIFY(f.answerPrompt(false));
    }

    void goingBackOnlineRestoresTheList()
    {
        MainWindowFixture f;
        f.folder.write("server.txt", serverList);
        f.http->fail = true;
        f.http->released = 1000;
        auto& form = f.create();
        QAction* goOnline = f.action("WiederOnlinegehen1");
        QVERIFY(goOnline);
        QVERIFY(!goOnline->isEnabled());
        QVERIFY(f.showAndWaitForFirstTick());
        QVERIFY(f.answerPrompt(true)); // remove the only server: offline
        QVERIFY(!form.monitor().state().online);
        QVERIFY(f.answerPrompt(true)); // the offline message
        QCOMPARE(form.model().rowCount(), 0);
        QVERIFY(goOnline->isEnabled());
        auto* timer = form.findChild<QTimer*>(QStringLiteral("refetch"));
        QVERIFY(!timer->isActive());

        f.http->fail = false;
        f.http->body = oneGameReply();
        const auto before = f.ticks->count();
        goOnline->trigger();
        QVERIFY(QTest::qWaitFor([&] { return f.ticks->count() > before && !form.tickRunning(); }, 15000));
        QVERIFY(form.monitor().state().online);
        QCOMPARE(form.model().rowCount(), 1);
        QCOMPARE(form.monitor().state().servers.count(), 1);
        QVERIFY(timer->isActive());
        QVERIFY(!goOnline->isEnabled());
    }
};

QTEST_MAIN(TestMainWindowOutage)
#include "test_mainwindowoutage.moc"
