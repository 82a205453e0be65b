// The request runs on a worker while the UI thread goes on with its events; quitting abandons it.
#include "masterserver-sim/simserver.h"
#include "support/blockinghttpclient.h"
#include "ui/platform/backgroundhttpclient.h"

#include <QTimer>
#include <QtTest>

using quintor::HttpError;
using quintor::test::BlockingHttpClient;
using quintor::ui::BackgroundHttpClient;

namespace {

// True when the request ends with the cancelled error of a program that is ending.
bool endsCancelled(const std::function<std::string()>& request)
{
    try {
        request();
    } catch (const HttpError& error) {
        return error.kind() == HttpError::Kind::Cancelled;
    }
    return false;
}

} // namespace

class TestBackgroundHttpClient : public QObject {
    Q_OBJECT
private slots:
    void eventsRunWhileTheRequestWaits()
    {
        auto inner = std::make_shared<BlockingHttpClient>();
        inner->body = "[Reference]\r\n";
        BackgroundHttpClient client(inner);
        // The request is let go only by a timer of the UI thread: it can finish only if events run.
        int timerTicks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] {
            if (++timerTicks == 3) inner->released = 1;
        });
        timer.start(5);
        QCOMPARE(client.get("http://127.0.0.1:1/league/server"), std::string("[Reference]\r\n"));
        QVERIFY(timerTicks >= 3);
        QCOMPARE(inner->urls(), std::vector<std::string>{"http://127.0.0.1:1/league/server"});
    }

    void errorsOfTheInnerClientArriveUnchanged()
    {
        auto inner = std::make_shared<BlockingHttpClient>();
        inner->fail = true;
        inner->released = 1;
        BackgroundHttpClient client(inner);
        try {
            client.get("http://127.0.0.1:1/x");
            QFAIL("no error");
        } catch (const HttpError& error) {
            QCOMPARE(error.kind(), HttpError::Kind::Status);
            QCOMPARE(std::string(error.what()), std::string("HTTP request for http://127.0.0.1:1/x failed: HTTP 404"));
        }
    }

    void callersCancelFlagReachesTheRequest()
    {
        auto inner = std::make_shared<BlockingHttpClient>();
        BackgroundHttpClient client(inner);
        std::atomic<bool> cancel{false};
        QTimer::singleShot(10, [&] { cancel = true; });
        quintor::HttpOptions options;
        options.cancel = &cancel;
        QVERIFY_THROWS_EXCEPTION(HttpError, client.get("http://127.0.0.1:1/x", options));
        QCOMPARE(inner->cancelled.load(), 1);
    }

    void quittingAbandonsTheWaitingRequest()
    {
        auto inner = std::make_shared<BlockingHttpClient>();
        {
            BackgroundHttpClient client(inner);
            QTimer::singleShot(10, [&] { client.cancelAll(); });
            QVERIFY(endsCancelled([&] { return client.get("http://127.0.0.1:1/x"); }));
            // Later requests are not made at all.
            QVERIFY(endsCancelled([&] { return client.get("http://127.0.0.1:1/y"); }));
            QCOMPARE(inner->calls.load(), 1);
        } // waits for the worker, which stops because its cancel flag was set
        QCOMPARE(inner->cancelled.load(), 1);
        QCOMPARE(inner->active.load(), 0);
    }

    void fetchesFromARealServer()
    {
        quintor::sim::SimServer server;
        server.setReply("[Reference]\r\nTitle=\"Gr\xFCn\"\r\n");
        BackgroundHttpClient client(quintor::makeCurlHttpClient());
        QCOMPARE(client.get(server.baseUrl() + "/league/server"), std::string("[Reference]\r\nTitle=\"Gr\xFCn\"\r\n"));
        server.setFailure("/league/server", 500);
        QVERIFY_THROWS_EXCEPTION(HttpError, client.get(server.baseUrl() + "/league/server"));
    }
};

QTEST_MAIN(TestBackgroundHttpClient)
#include "test_backgroundhttpclient.moc"
