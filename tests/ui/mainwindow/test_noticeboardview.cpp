// The notice board "Pinnwand": its notices in order and whole, dismissed ones left out, the "-" button,
// and a notice server that fails without costing the tick.
#include "mainwindowfixture.h"
#include "masterserver-sim/simserver.h"
#include "ui/mainwindow/noticeboardview.h"
#include "ui/uitestsupport.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

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

// Each notice shown whole, one under the other, its button beside it at its top.
void verifyStacked(const Board& board)
{
    QCOMPARE(board.labels.size(), board.buttons.size());
    for (std::size_t k = 0; k < board.labels.size(); ++k) {
        const QLabel* label = board.labels[k];
        const QPushButton* button = board.buttons[k];
        QVERIFY(label->wordWrap());
        QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->text()));
        QCOMPARE(button->y(), label->y());
        QVERIFY(button->x() >= label->geometry().right());
        if (k > 0) QVERIFY(label->y() > board.labels[k - 1]->geometry().bottom());
    }
}

quintor::ui::MainWindow& createAgainst(MainWindowFixture& f, const SimServer& server)
{
    f.folder.write("server.txt", server.baseUrl() + "/league/server\r\n");
    return f.create(quintor::makeCurlHttpClient(),
                    [&](quintor::test::ProgramOptions& setup) { setup.noticeUrl = server.baseUrl() + "/quintor.txt"; });
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

        const Board board = boardOf(form);
        // 1 is dismissed (in any letter case), 3 is missing, so 4 is not reached: 2 takes the first place.
        QCOMPARE(board.labels.size(), std::size_t(1));
        QCOMPARE(board.buttons.size(), std::size_t(1));
        QCOMPARE(board.labels[0]->text(), QStringLiteral("Zweite mit a=b"));
        verifyStacked(board);
        QCOMPARE(board.buttons[0]->text(), QStringLiteral("-"));
        QCOMPARE(board.buttons[0]->objectName(), QStringLiteral("d2"));
        QVERIFY(board.buttons[0]->isEnabled());
        QVERIFY(f.dialogs.shown.empty());
    }

    void theNoticesStandOneUnderTheOther()
    {
        SimServer server; // its own notice file: three notices
        MainWindowFixture f;
        auto& form = createAgainst(f, server);
        QVERIFY(f.showAndWaitForFirstTick());
        const Board board = boardOf(form);
        QCOMPARE(board.labels.size(), std::size_t(3));
        verifyStacked(board);
        for (int k = 0; k < 3; ++k) {
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
        // The first tick stored the width the "Szenario" column opened with.
        const std::string width = std::to_string(f.gameList()->header()->sectionSize(0));
        QCOMPARE(f.folder.read("config.txt"),
                 "tagparse=False\r\nColumnWidth0=" + width + "\r\nClipBoardDisable1=true\r\n");

        QVERIFY(f.tickAndWait());
        board = boardOf(form);
        QCOMPARE(board.labels.size(), std::size_t(1));
        QCOMPARE(board.labels[0]->text(), QStringLiteral("Zweite"));
        verifyStacked(board);
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

    // A long notice is never cut: it wraps and the board scrolls to show all of them.
    void longNoticesShowWholeAndTheBoardScrolls()
    {
        QGroupBox box(QStringLiteral("Pinnwand"));
        box.resize(190, 200);
        quintor::ui::NoticeBoardView view(box, [](int) {});
        const std::string longText = "Die Liste der offenen Spiele wird alle 30 Sekunden neu geladen; mit einem "
                                     "Rechtsklick auf ein Spiel seht ihr die Spieler und die Ressourcen.";
        view.show({{1, longText}, {2, "Kurz"}, {3, longText}, {4, longText}});
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTRY_VERIFY(view.scrollArea().verticalScrollBar()->maximum() > 0);
        Board board{view.labels(), view.buttons()};
        QCOMPARE(board.labels.size(), std::size_t(4));
        verifyStacked(board);
        QVERIFY(board.labels[0]->height() > 2 * board.labels[1]->height()); // wrapped over several lines
        // Nothing runs out at the side: the notices wrap to the board's width.
        QVERIFY(view.scrollArea().widget()->width() <= view.scrollArea().viewport()->width());
        QCOMPARE(view.scrollArea().horizontalScrollBar()->maximum(), 0);
    }

    // A word wider than the board (an address, say) breaks inside; it must not widen the board and push
    // the "-" buttons out of sight.
    void aWordWiderThanTheBoardWrapsAndTheButtonsStayInSight()
    {
        QGroupBox box(QStringLiteral("Pinnwand"));
        box.resize(190, 300);
        quintor::ui::NoticeBoardView view(box, [](int) {});
        view.show({{1, "Neu: http://example.org/" + std::string(120, 'x')}, {2, "Kurz"}});
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        Board board{view.labels(), view.buttons()};
        QCOMPARE(board.labels.size(), std::size_t(2));
        QTRY_VERIFY(view.scrollArea().widget()->width() <= view.scrollArea().viewport()->width());
        verifyStacked(board);
        for (const QPushButton* button : board.buttons)
            QVERIFY(button->geometry().right() < view.scrollArea().viewport()->width());
        QVERIFY(board.labels[0]->height() > 3 * board.labels[1]->height()); // the long word runs over lines
    }

    // The board is rebuilt before the visibility test, so also while the window is away.
    void aNoticeThatLooksLikeMarkupShowsAsItStands()
    {
        QGroupBox box;
        quintor::ui::NoticeBoardView view(box, [](int) {});
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
