// The details window: the players or resource files of a game, read-only, replaced on every opening.
#include "reference/gameentry.h"
#include "ui/editors/detailswindow.h"
#include "ui/platform/styledtext.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using quintor::GameRecord;
using quintor::ui::DetailKind;
using quintor::ui::DetailsWindow;

namespace {

GameRecord sampleGame()
{
    GameRecord game;
    game.Players = {{"J\xFCrgen", "Juergen.c4p", "1", 3}, {"Sven", "Sven.c4p", "0", -2}};
    game.Resources = {{"Small.c4s", "Ruth", "Szenario", 1023, true},
                      {"Big.c4d", "Ole", "Objekte", 1024, true},
                      {"Empty.c4f", "Ole", "Ordner", 0, true},
                      {"Local.c4d", "Ole", "Objekte", 5000000, false},
                      {"Huge.c4g", "Ole", "Gruppe", -1, true}};
    return game;
}

QStringList headers(const QTreeWidget& list)
{
    QStringList texts;
    for (int c = 0; c < list.columnCount(); ++c)
        texts << list.headerItem()->text(c);
    return texts;
}

QStringList column(const QTreeWidget& list, int c)
{
    QStringList texts;
    for (int r = 0; r < list.topLevelItemCount(); ++r)
        texts << list.topLevelItem(r)->text(c);
    return texts;
}

} // namespace

class TestDetailsWindow : public QObject {
    Q_OBJECT
private slots:
    // A player's context menu remembers him as a friend, or forgets the line that names him; a "*" line stays.
    void aPlayerIsRememberedAndForgottenAsAFriend()
    {
        quintor::TextList friends({"Clan-*"});
        DetailsWindow details;
        details.setFriendList(&friends);
        GameRecord game = sampleGame();
        game.Players.push_back({"<c ff0000>Clan-Ole</c>", "Ole.c4p", "", 4});
        details.open(game, DetailKind::Players);
        const auto choose = [&details](int row, const char* action) {
            QMenu* menu = details.friendMenu(row);
            QVERIFY(menu);
            auto* item = menu->findChild<QAction*>(QString::fromLatin1(action));
            QVERIFY2(item && menu->actions().contains(item), action);
            item->trigger();
        };
        choose(0, "AlsFreundmerken1");
        choose(2, "AlsFreundmerken1"); // through the star he is one already; now by name as well
        QCOMPARE(friends.lines(), (std::vector<std::string>{"Clan-*", "J\xFCrgen", "Clan-Ole"}));
        choose(0, "NichtmehralsFreund1");
        choose(2, "NichtmehralsFreund1");
        QCOMPARE(friends.lines(), std::vector<std::string>{"Clan-*"});

        details.open(game, DetailKind::Resources);
        QVERIFY(!details.friendMenu(0)); // a file is nobody's friend
    }

    void playersInArrayOrder()
    {
        DetailsWindow details;
        details.open(sampleGame(), DetailKind::Players);
        auto* list = details.findChild<QTreeWidget*>(QStringLiteral("list"));
        QVERIFY(details.isVisible());
        QCOMPARE(details.windowTitle(), QStringLiteral("Details"));
        QCOMPARE(headers(*list), (QStringList{"Name", "Dateiname", "Spieler-ID", "Flags"}));
        QCOMPARE(column(*list, 0), (QStringList{QStringLiteral("J\u00FCrgen"), "Sven"}));
        QCOMPARE(column(*list, 1), (QStringList{"Juergen.c4p", "Sven.c4p"}));
        QCOMPARE(column(*list, 2), (QStringList{"3", "-2"}));
        QCOMPARE(column(*list, 3), (QStringList{"1", "0"}));
    }

    // A coloured name reaches the drawing as its runs; the text stays plain.
    void playersNamesCarryTheirHostsColours()
    {
        GameRecord game = sampleGame();
        game.Players[1].NameSpans = {{0, 4, 0x00FF00, true}};
        DetailsWindow details;
        details.open(game, DetailKind::Players);
        auto* list = details.findChild<QTreeWidget*>(QStringLiteral("list"));
        QVERIFY(!list->topLevelItem(0)->data(0, quintor::ui::textSpansRole).isValid());
        QCOMPARE(list->topLevelItem(1)->data(0, quintor::ui::textSpansRole).value<quintor::TextSpans>(),
                 game.Players[1].NameSpans);
        QVERIFY(qobject_cast<quintor::ui::StyledTextDelegate*>(list->itemDelegate()));
    }

    void resourcesReplacePlayersCompletely()
    {
        DetailsWindow details;
        details.open(sampleGame(), DetailKind::Players);
        details.open(sampleGame(), DetailKind::Resources);
        auto* list = details.findChild<QTreeWidget*>(QStringLiteral("list"));
        QCOMPARE(headers(*list), (QStringList{"Typ", "Dateiname", QStringLiteral("Gr\u00F6\u00DFe"), "Autor"}));
        QCOMPARE(list->topLevelItemCount(), 5);
        QCOMPARE(column(*list, 0), (QStringList{"Szenario", "Objekte", "Ordner", "Objekte", "Gruppe"}));
        QCOMPARE(column(*list, 2), (QStringList{"0 KB", "1 KB", "N/L", "N/L", "4194303 KB"}));
        QCOMPARE(column(*list, 3), (QStringList{"Ruth", "Ole", "Ole", "Ole", "Ole"}));

        details.open(GameRecord{}, DetailKind::Players); // a game without players: the columns, no rows
        QCOMPARE(headers(*list), (QStringList{"Name", "Dateiname", "Spieler-ID", "Flags"}));
        QCOMPARE(list->topLevelItemCount(), 0);
    }

    void refusesEditingAndDoesNotSort()
    {
        DetailsWindow details;
        details.open(sampleGame(), DetailKind::Players);
        auto* list = details.findChild<QTreeWidget*>(QStringLiteral("list"));
        QVERIFY(!list->isSortingEnabled());
        QVERIFY(!(list->topLevelItem(0)->flags() & Qt::ItemIsEditable));
        list->edit(list->model()->index(0, 0));
        QVERIFY(!list->viewport()->findChild<QLineEdit*>()); // no editor opened
        QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {},
                          QPoint(list->header()->sectionPosition(0) + 5, 5));
        QCOMPARE(column(*list, 0), (QStringList{QStringLiteral("J\u00FCrgen"), "Sven"}));
    }

    void okAndCloseBoxHideAndReport()
    {
        DetailsWindow details;
        int closed = 0;
        details.setOnClosed([&closed] { ++closed; });
        details.open(sampleGame(), DetailKind::Players);
        QTest::mouseClick(details.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        QVERIFY(!details.isVisible());
        QCOMPARE(closed, 1);
        details.open(sampleGame(), DetailKind::Resources);
        details.close();
        QVERIFY(!details.isVisible());
        QCOMPARE(closed, 2);
    }

    void buttonFollowsTheWindowSize()
    {
        DetailsWindow details;
        details.open(sampleGame(), DetailKind::Players);
        for (const QSize size : {QSize(520, 400), details.minimumSize()}) {
            details.resize(size);
            const QRect list = details.findChild<QTreeWidget*>(QStringLiteral("list"))->geometry();
            const QRect button = details.findChild<QPushButton*>(QStringLiteral("Button1"))->geometry();
            QCOMPARE(list.topLeft(), QPoint(5, 5));
            QCOMPARE(list.width(), details.width() - 10);
            QCOMPARE(list.height(), details.height() - 40);
            QCOMPARE(button.size(), QSize(75, 25));
            QCOMPARE(button.top(), list.bottom() + 1 + 5);
            QCOMPARE(button.right() + 1, details.width() - 5);
        }
    }
};

QTEST_MAIN(TestDetailsWindow)
#include "test_detailswindow.moc"
