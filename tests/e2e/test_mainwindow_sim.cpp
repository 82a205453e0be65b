// The main window as the program builds it, against the masterserver simulator over real HTTP:
// the first tick lists the league's games in rank order and writes the statistic and status bar.
#include "masterserver-sim/simserver.h"
#include "refresh/rank.h"
#include "support/tempfolder.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/platform/backgroundhttpclient.h"
#include "ui/platform/qtclock.h"
#include "ui/platform/qtprocessstarter.h"
#include "ui/uitestsupport.h"

#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QtTest>

#include <fstream>

class TestMainWindowSim : public QObject {
    Q_OBJECT
private slots:
    void listsTheSimulatorsGames()
    {
        quintor::sim::SimServer server;
        quintor::test::TempFolder folder;
        folder.write("server.txt", server.baseUrl() + "/league/server\r\n");
        folder.write("config.txt", "Column1=Status\r\nColumn2=Spieler\r\nColumn3=Offizieller Server\r\n");

        quintor::ui::BackgroundHttpClient http(quintor::makeCurlHttpClient());
        quintor::ui::QtClock clock;
        quintor::ui::QtProcessStarter starter;
        quintor::Monitor monitor({folder.path(), http, clock, starter, "http://127.0.0.1:9/league/server"});
        quintor::ui::MainWindow form(monitor);
        QSignalSpy ticks(&form, &quintor::ui::MainWindow::tickFinished);
        form.show();
        QVERIFY(ticks.wait(20000));
        QCOMPARE(server.requestCount("/league/server"), 1);

        const auto label = [&form](const char* name) {
            return form.findChild<QLabel*>(QString::fromLatin1(name))->text();
        };
        const QString games = label("gamecount");
        QVERIFY2(games.startsWith("Spiele offen: "), qPrintable(games));
        const int count = games.mid(14).toInt();
        QVERIFY(count > 0);
        auto& model = form.model();
        QCOMPARE(model.rowCount(), count);
        QCOMPARE(model.columnCount(), 4);
        QVERIFY(label("crver").startsWith("Clonk-Version: "));
        QVERIFY(label("aka").startsWith("Aktualisierung: ") && label("aka").endsWith(" Uhr"));
        QVERIFY(label("pcount").startsWith("Spieler online: "));
        const QString status = form.findChild<QStatusBar*>("statbar")->findChild<QLabel*>()->text();
        QCOMPARE(status, QStringLiteral("Quintor Velmar 2.02 Beta [84] - Bereit"));

        // Rank order down the list, and each row shows its own record.
        int previous = 100;
        for (int r = 0; r < model.rowCount(); ++r) {
            const quintor::GameRecord* record = form.monitor().state().games.find(model.handleAt(r));
            QVERIFY(record);
            const int rank = quintor::rank(*record);
            QVERIFY2(rank <= previous, qPrintable(QString("row %1").arg(r)));
            previous = rank;
            QCOMPARE(model.index(r, 1).data().toString().isEmpty(), record->Status.empty());
        }

        QVERIFY(quintor::test::savePicture(form, QStringLiteral("mainwindow-sim.png")));

        form.close();
        QVERIFY(form.shutDown());
        std::ifstream config(folder.file("config.txt"));
        std::string text((std::istreambuf_iterator<char>(config)), std::istreambuf_iterator<char>());
        QVERIFY(text.find("width=") != std::string::npos);
        QCOMPARE(folder.read("server.txt"), server.baseUrl() + "/league/server\r\n");
    }
};

QTEST_MAIN(TestMainWindowSim)
#include "test_mainwindow_sim.moc"
