// The notice board "Pinnwand": its notices at their places, dismissed ones left out, the "-" button,
// and a notice server that fails without costing the tick.
#include "mainwindowfixture.h"
#include "masterserver-sim/simserver.h"
#include "ui/mainwindow/noticeboardview.h"
#include "ui/uitestsupport.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using quintor::sim::SimServer;
using quintor::test::MainWindowFixture;

namespace {

struct Board {
    std::vector<QLabel*> labels;
    std::vector<QPushButton*> buttons;
};

// The controls a tick put on the board (the ones taken away are hidden at once).
Board boardOf(quintor::ui::MainWindow& form)
{
    auto* mdet = form.findChild<QGroupBox*>(QStringLiteral("mdet"));
    Board board;
    for (auto* label : mdet->findChildren<QLabel*>())
        if (label->isVisibleTo(mdet)) board.labels.push_back(label);
    for (auto* button : mdet->findChildren<QPushButton*>())
        if (button->isVisibleTo(mdet)) board.buttons.push_back(button);
    auto byTop = [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); };
    std::sort(board.labels.begin(), board.labels.end(), byTop);
    std::sort(board.buttons.begin(), board.buttons.end(), byTop);
    return board;
}

quintor::ui::MainWindow& createAgainst(MainWindowFixture& f, const SimServer& server)
{
    f.folder.write("server.txt", server.baseUrl() + "/league/server\r\n");
    return f.create(quintor::makeCurlHttpClient(),
                    [&](quintor::ui::MainWindowSetup& setup) { setup.noticeUrl = server.baseUrl() + "/quintor.txt"; });
}

} // namespace

class TestNoticeBoardView : public QObject {
    Q_OBJECT
private slots:
    void noticesAtTheirPlaces()
    {
        SimServer server;
        server.setNotice("4=Vierte\r\n2=Zweite mit a=b\r\n1=Erste\r\n1=Doppelt\r\n");
        MainWindowFixture f;
        f.folder.write("config.txt", "ClipBoardDisable1=TRUE\r\n");
        auto& form = createAgainst(f, server);
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(server.requestCount("/quintor.txt"), 1);

        const int width = form.findChild<QGroupBox*>(QStringLiteral("mdet"))->width();
        const Board board = boardOf(form);
        // 1 is dismissed (in any letter case), 3 is missing, so 4 is not reached: 2 takes the first place.
        QCOMPARE(board.labels.size(), std::size_t(1));
        QCOMPARE(board.buttons.size(), std::size_t(1));
        QCOMPARE(board.labels[0]->text(), QStringLiteral("Zweite mit a=b"));
        QCOMPARE(board.labels[0]->geometry(), QRect(10, 20, width - 20, 35));
        QVERIFY(board.labels[0]->wordWrap());
        QCOMPARE(board.buttons[0]->geometry(), QRect(width - 45, 45, 30, 25));
        QCOMPARE(board.buttons[0]->text(), QStringLiteral("-"));
        QCOMPARE(board.buttons[0]->objectName(), QStringLiteral("d2"));
        QVERIFY(board.buttons[0]->isEnabled());
        QVERIFY(f.dialogs.shown.empty());
    }

    void theKthNoticeStandsSixtyPixelsLower()
    {
        SimServer server; // its own notice file: three notices
        MainWindowFixture f;
        auto& form = createAgainst(f, server);
        QVERIFY(f.showAndWaitForFirstTick());
        const Board board = boardOf(form);
        QCOMPARE(board.labels.size(), std::size_t(3));
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(board.labels[static_cast<std::size_t>(k)]->y(), k * 60 + 20);
            QCOMPARE(board.buttons[static_cast<std::size_t>(k)]->y(), k * 60 + 45);
            QCOMPARE(board.buttons[static_cast<std::size_t>(k)]->objectName(), QStringLiteral("d%1").arg(k + 1));
        }
        QVERIFY(board.labels[1]->text().startsWith(QStringLiteral("Gr\u00FC\u00DFe an alle Siedler")));
    }

    void dismissingGreysTheButtonWritesTheSettingsAndTheNextTickLeavesItOut()
    {
        SimServer server;
        server.setNotice("1=Erste\r\n2=Zweite\r\n");
        MainWindowFixture f;
        f.folder.write("config.txt", "tagparse=False\r\n");
        auto& form = createAgainst(f, server);
        QVERIFY(f.showAndWaitForFirstTick());
        Board board = boardOf(form);
        QCOMPARE(board.buttons.size(), std::size_t(2));

        QTest::mouseClick(board.buttons[0], Qt::LeftButton);
        QVERIFY(!board.buttons[0]->isEnabled());
        QVERIFY(board.buttons[1]->isEnabled());
        QCOMPARE(boardOf(form).labels.size(), std::size_t(2)); // stays, greyed, until the next tick
        QCOMPARE(f.folder.read("config.txt"), std::string("tagparse=False\r\nClipBoardDisable1=true\r\n"));

        QVERIFY(f.tickAndWait());
        board = boardOf(form);
        QCOMPARE(board.labels.size(), std::size_t(1));
        QCOMPARE(board.labels[0]->text(), QStringLiteral("Zweite"));
        QCOMPARE(board.labels[0]->y(), 20);
        QCOMPARE(board.buttons[0]->objectName(), QStringLiteral("d2"));
        QVERIFY(f.dialogs.shown.empty());
    }

    // An unreachable notice server must not hide the games: the board is empty and the tick goes on.
    void aFailingNoticeFileEmptiesTheBoardAndTheTickGoesOn()
    {
        SimServer server;
        MainWindowFixture f;
        auto& form = createAgainst(f, server);
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(boardOf(form).labels.size(), std::size_t(3));

        server.setFailure("/quintor.txt", 500);
        const int before = server.requestCount("/league/server");
        QVERIFY(f.tickAndWait());
        QCOMPARE(boardOf(form).labels.size(), std::size_t(0));
        QCOMPARE(server.requestCount("/league/server"), before + 1);
        QVERIFY(form.model().rowCount() > 0);
        QVERIFY(f.dialogs.shown.empty());
    }

    void withoutANoticeAddressNothingIsFetched()
    {
        MainWindowFixture f;
        f.http->released = 1000;
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(f.http->urls(), std::vector<std::string>{quintor::test::defaultServerUrl});
        QCOMPARE(boardOf(form).labels.size(), std::size_t(0));
    }

    // The board is rebuilt before the visibility test, so also while the window is away.
    void aNoticeThatLooksLikeMarkupShowsAsItStands()
    {
        QGroupBox box;
        quintor::ui::NoticeBoardView view(box, [](QPushButton*) {});
        view.show({{1, "<b>Turnier</b> heute, <a href=\"http://example.org\">hier</a>"}});
        QCOMPARE(view.labels().size(), std::size_t(1));
        QCOMPARE(view.labels()[0]->textFormat(), Qt::PlainText);
        QCOMPARE(view.labels()[0]->text(),
                 QStringLiteral("<b>Turnier</b> heute, <a href=\"http://example.org\">hier</a>"));
    }

    void theBoardIsRebuiltWhileNothingIsShown()
    {
        SimServer server;
        MainWindowFixture f;
        auto& form = createAgainst(f, server);
        QVERIFY(f.tickAndWait()); // the window was never shown
        QCOMPARE(server.requestCount("/quintor.txt"), 1);
        QCOMPARE(server.requestCount("/league/server"), 0);
        QCOMPARE(boardOf(form).labels.size(), std::size_t(3));
    }
};

QTEST_MAIN(TestNoticeBoardView)
#include "test_noticeboardview.moc"
