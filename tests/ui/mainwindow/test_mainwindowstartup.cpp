// Start-up and shut-down of the main window against a real HTTP server: the first start, the update
// check and its switch, the feed before the filters, the game folder, the about box.
#include "mainwindowfixture.h"
#include "masterserver-sim/simserver.h"
#include "ui/uitestsupport.h"

#include <QAction>

#include <filesystem>

using quintor::sim::SimServer;
using quintor::test::MainWindowFixture;

namespace {

std::string versionUrl(const SimServer& server)
{
    return server.baseUrl() + "/quintor/version.txt";
}

// Real HTTP against the simulator, the update check switched on.
quintor::ui::MainWindow& createAgainst(MainWindowFixture& f, const SimServer& server)
{
    return f.create(quintor::makeCurlHttpClient(),
                    [&](quintor::test::ProgramOptions& setup) { setup.updateUrl = versionUrl(server); });
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

class TestMainWindowStartup : public QObject {
    Q_OBJECT
private slots:
    void firstStartWithNoFiles()
    {
        SimServer server;
        MainWindowFixture f;
        const std::string game = f.folder.file("Clonk Rage");
        std::filesystem::create_directories(game);
        f.folder.write("Clonk Rage/Clonk.exe", "");
        f.dialogs.inputs = {f.folder.file("leer"), game}; // a folder without the game is asked again
        auto& form = f.create(quintor::makeCurlHttpClient(), [&](quintor::test::ProgramOptions& setup) {
            setup.updateUrl = versionUrl(server);
            setup.gameFolderCandidates = quintor::defaultCandidates(f.folder.file("home"));
        });
        QCOMPARE(server.requestCount("/quintor/version.txt"), 1);
        QCOMPARE(f.dialogs.textsOf("chooseFolder").size(), std::size_t(2));
        QCOMPARE(f.dialogs.shown.size(), std::size_t(2)); // the current version: no warning
        QVERIFY(form.width() >= 526);
        QCOMPARE(form.pos(), QPoint(0, 0));
        QCOMPARE(form.monitor().state().config.value("crdir"), game);

        const int width = form.width();
        form.close();
        QVERIFY(form.shutDown());
        for (const char* file : {"config.txt", "server.txt", "syno.txt", "log.txt"})
            QVERIFY2(f.folder.exists(file), file);
        const std::string config = f.folder.read("config.txt");
        QVERIFY2(contains(config, "crdir=" + game + "\r\n"), config.c_str());
        for (const std::string& key : {"width=" + std::to_string(width) + "\r\n", std::string("height="),
                                       std::string("top=0"), std::string("left=0")})
            QVERIFY2(contains(config, key), key.c_str());
        QCOMPARE(f.folder.read("log.txt"), std::string()); // an empty list is an empty file
    }

    void aCancelledFolderBrowserStoresNothing()
    {
        MainWindowFixture f;
        f.dialogs.inputs = {std::nullopt};
        auto& form = f.create(nullptr, [&](quintor::test::ProgramOptions& setup) {
            setup.gameFolderCandidates = std::vector<quintor::CandidateFolder>{};
        });
        QCOMPARE(f.dialogs.textsOf("chooseFolder"), std::vector<std::string>{"Clonkpfad ausw\xE4hlen"});
        form.close();
        QVERIFY(!contains(f.folder.read("config.txt"), "crdir"));
    }

    void updateCheckSwitch_data()
    {
        QTest::addColumn<QString>("config");
        QTest::addColumn<int>("requests");
        QTest::newRow("noupdater=true") << "noupdater=true\r\n" << 0;
        QTest::newRow("NOUPDATER=true: names in any case") << "NOUPDATER=true\r\n" << 0;
        QTest::newRow("noupdater=True is not exactly true") << "noupdater=True\r\n" << 1;
        QTest::newRow("noupdater= 1") << "noupdater=1\r\n" << 1;
        QTest::newRow("no setting") << "" << 1;
    }
    void updateCheckSwitch()
    {
        QFETCH(QString, config);
        QFETCH(int, requests);
        SimServer server;
        MainWindowFixture f;
        f.folder.write("config.txt", config.toStdString());
        createAgainst(f, server);
        QCOMPARE(server.requestCount("/quintor/version.txt"), requests);
        QVERIFY(f.dialogs.shown.empty());
    }

    void versionComparison_data()
    {
        QTest::addColumn<QByteArray>("published");
        QTest::addColumn<bool>("warned");
        QTest::newRow("equal") << QByteArray("Velmar 2.02 Beta [84]") << false;
        QTest::newRow("upper case with a line break") << QByteArray("VELMAR 2.02 BETA [84]\r\n") << false;
        QTest::newRow("blanks and control characters around")
            << QByteArray(" \t\x01Velmar 2.02 Beta [84] \x1f") << false;
        QTest::newRow("a newer version") << QByteArray("Velmar 2.03 Beta [85]") << true;
        QTest::newRow("empty") << QByteArray("") << true;
        QTest::newRow("a blank inside differs") << QByteArray("Velmar  2.02 Beta [84]") << true;
        QTest::newRow("umlaut not lowered") << QByteArray("V\xC9LMAR 2.02 Beta [84]") << true;
    }
    void versionComparison()
    {
        QFETCH(QByteArray, published);
        QFETCH(bool, warned);
        SimServer server;
        server.setVersionWord(published.toStdString());
        MainWindowFixture f;
        createAgainst(f, server);
        const auto warnings = f.dialogs.textsOf("warning");
        QCOMPARE(f.dialogs.shown.size(), warnings.size());
        if (!warned) {
            QVERIFY(warnings.empty());
            return;
        }
        QCOMPARE(warnings.size(), std::size_t(1));
        // The body follows exactly as received, neither lowered nor trimmed.
        QCOMPARE(warnings[0], "Die von dir verwendete Version von Quintor ist nicht aktuell. Bitte aktualisiere "
                              "doch!\r\n\r\nInstalliert: Velmar 2.02 Beta [84]\r\nEmpfohlen: " +
                                  published.toStdString());
    }

    void aFailedUpdateCheckIsReportedAndTheWindowOpens()
    {
        SimServer server;
        server.setFailure("/quintor/version.txt", 500);
        MainWindowFixture f;
        f.folder.write("server.txt", server.baseUrl() + "/league/server\r\n");
        auto& form = createAgainst(f, server);
        const auto messages = f.dialogs.textsOf("message");
        QCOMPARE(messages.size(), std::size_t(1));
        QVERIFY2(contains(messages[0], "500"), messages[0].c_str());
        QVERIFY(f.showAndWaitForFirstTick());
        QVERIFY(form.isVisible());
        QVERIFY(form.findChild<QTimer*>(QStringLiteral("refetch"))->isActive());
    }

    void theFeedComesBeforeTheUpdateCheckAndTheFilters()
    {
        quintor::test::TempFolder published;
        published.write("index.txt", "grp0fil0\r\ngrp0fil0_act\r\nfilter\r\n");
        published.write("filter.txt", "grp0=Vom Feed\r\ngrp0fil0=Alles\r\n");
        published.write("grp0fil0.txt", "active=True\r\ntyp=0\r\n");
        published.write("grp0fil0_act.txt", "");
        SimServer server({.feedDir = published.path()});
        MainWindowFixture f;
        f.folder.write("filter.txt", "grp0=Eigene\r\n");
        f.folder.write("config.txt", "feed=" + server.baseUrl() + "/feed/\r\n");
        auto& form = createAgainst(f, server);
        QCOMPARE(server.requestCount("/feed/index.txt"), 1);
        QCOMPARE(server.requestCount("/feed/filter.txt"), 1);
        QCOMPARE(server.requestCount("/quintor/version.txt"), 1);
        QCOMPARE(f.folder.read("filter.txt"), std::string("grp0=Vom Feed\r\ngrp0fil0=Alles\r\n"));
        QCOMPARE(form.monitor().filters().value("grp0"), std::string("Vom Feed")); // the filters are the fetched ones
        QVERIFY(f.dialogs.shown.empty());
    }

    void aFeedFileThatFailsEndsTheStartUpBeforeTheUpdateCheck()
    {
        quintor::test::TempFolder published;
        published.write("index.txt", "grp0fil0\r\ngrp0fil0_act\r\n"); // the second is not published
        published.write("grp0fil0.txt", "active=False\r\n");
        SimServer server({.feedDir = published.path()});
        MainWindowFixture f;
        f.folder.write("config.txt", "width=600\r\nfeed=" + server.baseUrl() + "/feed/\r\n");
        auto& form = createAgainst(f, server);
        QCOMPARE(f.dialogs.textsOf("message").size(), std::size_t(1)); // the general error report
        QCOMPARE(server.requestCount("/quintor/version.txt"), 0);
        QCOMPARE(form.width(), 600);                             // restored before the feed
        QVERIFY(!f.folder.exists("grp0fil0.txt"));               // a feed is written whole or not at all
        QVERIFY(contains(f.folder.read("config.txt"), "feed=")); // the subscription stays
    }

    void subscribingStoresTheAddressAtOnce()
    {
        MainWindowFixture f;
        auto& form = f.create();
        f.dialogs.inputs = {"http://example.invalid/feed/"};
        f.dialogs.answers = {true};
        f.action("Abonnieren1")->trigger();
        QCOMPARE(f.dialogs.textsOf("input"), std::vector<std::string>{"URL|URL des zu abonnierenden Feeds:|"});
        QCOMPARE(f.folder.read("config.txt"), std::string("tagparse=True\r\nfeed=http://example.invalid/feed/\r\n"));
        QCOMPARE(form.monitor().state().config.value("feed"), std::string("http://example.invalid/feed/"));
    }

    void aboutBox()
    {
        MainWindowFixture f;
        f.create();
        f.action("ber1")->trigger();
        const auto shown = f.dialogs.textsOf("information");
        QCOMPARE(shown.size(), std::size_t(1));
        QVERIFY2(shown[0].starts_with("Quintor Velmar 2.02 Beta [84]\r\n\r\n"), shown[0].c_str());
        QVERIFY(shown[0].size() > std::string("Quintor Velmar 2.02 Beta [84]\r\n\r\n").size() + 20); // the credits
    }
};

QTEST_MAIN(TestMainWindowStartup)
#include "test_mainwindowstartup.moc"
