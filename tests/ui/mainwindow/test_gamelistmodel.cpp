// The list keeps rank order as rows arrive, colours rows by their record and keeps the header's widths.
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/gamelisttreeview.h"
#include "ui/platform/styledtext.h"
#include "ui/uitestsupport.h"

#include <algorithm>
#include <vector>

#include "refresh/rank.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTextDocument>
#include <QTreeView>
#include <QtTest>

using quintor::GameRecord;
using quintor::GameStore;
using quintor::test::addGame;
using quintor::test::game;
using quintor::ui::GameListModel;

namespace {

QStringList captions(const GameListModel& model)
{
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts << model.index(r, 0).data().toString();
    return texts;
}

struct Arrival {
    const char* title;
    const char* status;
    bool official;
};

} // namespace

Q_DECLARE_METATYPE(std::vector<Arrival>)

class TestGameListModel : public QObject {
    Q_OBJECT
private slots:
    void rankOrder_data()
    {
        QTest::addColumn<std::vector<Arrival>>("arrivals");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("official lobby before lobby, paused after every lobby")
            << std::vector<Arrival>{{"pause", "Pause", false},
                                    {"lobby", "Lobby", false},
                                    {"offpause", "Pause", true},
                                    {"offlobby", "Lobby", true}}
            << QStringList{"offlobby", "lobby", "offpause", "pause"};
        QTest::newRow("running official after paused, before running")
            << std::vector<Arrival>{{"run", "Laufend", false}, {"offrun", "Laufend", true}, {"pause", "Pause", false}}
            << QStringList{"pause", "offrun", "run"};
        QTest::newRow("lobby in lower case ranks 0, after an official running game")
            << std::vector<Arrival>{{"lower", "lobby", false}, {"offrun", "Laufend", true}, {"run", "Laufend", false}}
            << QStringList{"offrun", "lower", "run"};
        QTest::newRow("equal ranks keep the fetched order") << std::vector<Arrival>{{"a", "Laufend", false},
                                                                                    {"b", "Laufend", false},
                                                                                    {"L1", "Lobby", false},
                                                                                    {"c", "Laufend", false},
                                                                                    {"L2", "Lobby", false}}
                                                            << QStringList{"L1", "L2", "a", "b", "c"};
    }

    void rankOrder()
    {
        QFETCH(std::vector<Arrival>, arrivals);
        QFETCH(QStringList, expected);
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        for (const Arrival& a : arrivals)
            addGame(model, games, game(a.title, a.status, a.official));
        QCOMPARE(captions(model), expected);
    }

    // A removed server's kept rows go; the others keep their order and handles, and later rows still sort in.
    void removedRowsGoAndTheRestStays()
    {
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        const quintor::RowHandle lobby = addGame(model, games, game("L", "Lobby"));
        const quintor::RowHandle running = addGame(model, games, game("R", "Laufend"));
        addGame(model, games, game("R2", "Laufend"));
        const quintor::RowHandle waiting = model.addRow(); // no texts yet
        model.removeRow(running);
        model.removeRow(lobby);
        model.removeRow(lobby); // gone already: nothing
        QCOMPARE(captions(model), (QStringList{"R2", ""}));
        QCOMPARE(model.rowOf(running), -1);
        model.removeRow(waiting);
        addGame(model, games, game("L2", "Lobby"));
        QCOMPARE(captions(model), (QStringList{"L2", "R2"}));
    }

    // Many rows, added in runs as a refresh adds them, whose texts come in an order of their own, some late, some
    // never (a few such rows are removed), some rows without a record: the rows with texts stand in rank order,
    // equal ranks in the order their texts came; the others wait at the end in the order they were added; every
    // handle still finds its row.
    void manyArrivalsStandAsAStableSortWouldPutThem()
    {
        static const char* const states[] = {"Lobby", "Laufend", "Pause", "lobby", "Offen"};
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        quintor::RowHandle lastBefore = model.addRow(); // a previous tick's row, gone with the clear
        model.clearRows();
        QCOMPARE(model.rowOf(lastBefore), -1);

        struct Listed {
            quintor::RowHandle row;
            int rank;
            QString caption;
        };
        std::vector<Listed> withTexts;
        std::vector<quintor::RowHandle> waiting;
        unsigned seed = 7;
        const auto next = [&seed](unsigned range) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % range;
        };
        for (int i = 0; i < 300;) {
            std::vector<Listed> run; // added, their texts still to come
            for (unsigned k = 1 + next(8); k > 0; --k, ++i) {
                const quintor::RowHandle row = model.addRow();
                const QString caption = QString::number(i);
                GameRecord entry = game(caption.toStdString(), states[next(5)], next(3) == 0);
                entry.Item = row;
                const int rank = quintor::rank(entry);
                if (next(10) > 0) games.append(std::move(entry)); // some rows never get a record: rank 0
                run.push_back({row, games.find(row) ? rank : 0, caption});
            }
            for (const Listed& listed : run) {
                if (next(4) == 0) {
                    waiting.push_back(listed.row); // its texts come later, after other rows'
                    continue;
                }
                model.setRowTexts(listed.row, listed.caption.toStdString(), {});
                withTexts.push_back(listed);
                if (!waiting.empty() && next(3) == 0) {
                    const quintor::RowHandle late = waiting[next(static_cast<unsigned>(waiting.size()))];
                    waiting.erase(std::find(waiting.begin(), waiting.end(), late));
                    const QString lateCaption = QStringLiteral("late ") + QString::number(late);
                    model.setRowTexts(late, lateCaption.toStdString(), {});
                    const GameRecord* record = games.find(late);
                    withTexts.push_back({late, record ? quintor::rank(*record) : 0, lateCaption});
                }
            }
            if (!waiting.empty() && next(6) == 0) {
                const auto gone = waiting.begin() + next(static_cast<unsigned>(waiting.size()));
                model.removeRow(*gone);
                waiting.erase(gone);
            }
        }
        std::stable_sort(withTexts.begin(), withTexts.end(),
                         [](const Listed& a, const Listed& b) { return a.rank > b.rank; });
        QStringList expected;
        for (const Listed& listed : withTexts)
            expected << listed.caption;
        for (std::size_t i = 0; i < waiting.size(); ++i)
            expected << QString();
        QCOMPARE(captions(model), expected);
        for (int r = 0; r < model.rowCount(); ++r)
            QCOMPARE(model.rowOf(model.handleAt(r)), r);
        for (std::size_t i = 0; i < waiting.size(); ++i)
            QCOMPARE(model.handleAt(static_cast<int>(withTexts.size() + i)), waiting[i]);
    }

    // Within a tick the rows placed above a selected row move it down, and the selection goes with it; a tooltip
    // or caption set later still finds the row. The next tick clears the list, and with it the selection.
    void selectionFollowsItsRowUntilTheListIsCleared()
    {
        GameStore games;
        GameListModel model(games);
        QTreeView view;
        view.setModel(&model);
        model.addColumn("Szenario", 100);
        const quintor::RowHandle running = addGame(model, games, game("run", "Laufend"));
        view.selectionModel()->select(model.index(0, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        addGame(model, games, game("lobby", "Lobby"));
        addGame(model, games, game("pause", "Pause"));
        const QModelIndexList selected = view.selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.constFirst().row(), 2);
        QCOMPARE(model.handleAt(2), running);
        model.setRowToolTip(running, "Farbe von Gruppe / Filter");
        model.setCaption(running, "umbenannt");
        QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("umbenannt"));
        QCOMPARE(model.index(2, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("Farbe von Gruppe / Filter"));

        model.clearRows();
        QVERIFY(view.selectionModel()->selectedRows().isEmpty());
        QCOMPARE(model.rowOf(running), -1);
    }

    // A refresh holds its rows: views hear of them once, when they are shown, all in their places.
    void heldRowsAreShownAllAtOnce()
    {
        GameStore games;
        GameListModel model(games);
        QTreeView view;
        view.setModel(&model);
        model.addColumn("Szenario", 100);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.holdRows();
        addGame(model, games, game("run", "Laufend"));
        const quintor::RowHandle lobby = addGame(model, games, game("lobby", "Lobby"));
        model.setRowToolTip(lobby, "Stand: 17:02:06");
        QCOMPARE(model.rowCount(), 0);
        model.showRows();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(2).toInt(), 1); // rows 0 to 1
        QCOMPARE(changed.count(), 0);
        QCOMPARE(captions(model), (QStringList{"lobby", "run"}));
        QCOMPARE(model.index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("Stand: 17:02:06"));

        // Rows held into a list that shows rows: it is shown anew once.
        model.holdRows();
        addGame(model, games, game("pause", "Pause"));
        model.removeRow(lobby);
        QCOMPARE(model.rowCount(), 2); // as shown
        model.showRows();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(captions(model), (QStringList{"pause", "run"}));
        model.holdRows();
        model.showRows(); // nothing changed: nothing said
        QCOMPARE(reset.count(), 1);
        QCOMPARE(inserted.count(), 1);
        model.clearRows();
        QCOMPARE(model.rowCount(), 0);
    }

    void rowWithoutRecordRanksZeroAndIsBlack()
    {
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        addGame(model, games, game("run", "Laufend", false, 0x0000FF));
        const quintor::RowHandle orphan = model.addRow(); // no record joins the store for it
        model.setRowTexts(orphan, "orphan", {});
        addGame(model, games, game("lobby", "Lobby", false, 0x0000FF));
        QCOMPARE(captions(model), (QStringList{"lobby", "run", "orphan"}));
        QCOMPARE(model.index(2, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
    }

    void rowsWithoutTextsWaitAtTheEnd()
    {
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        const quintor::RowHandle pending = model.addRow();
        addGame(model, games, game("run", "Laufend"));
        QCOMPARE(model.rowOf(pending), 1);
        QCOMPARE(captions(model), (QStringList{"run", ""}));
    }

    void subItemsFillTheFurtherColumns()
    {
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        model.addColumn("Status", 80);
        model.addColumn("Spieler", 80);
        model.addColumn("Emptys", 80);
        model.addColumn("Kommentar", 80);
        const quintor::RowHandle row = model.addRow();
        GameRecord entry = game("Gr\xFCn", "Lobby");
        entry.Item = row;
        games.append(std::move(entry));
        model.setRowTexts(row, "Gr\xFCn", {"Lobby", "2 / 4", ""});
        const QStringList expected{QString::fromUtf8("Gr\u00fcn"), "Lobby", "2 / 4", "", ""};
        for (int column = 0; column < 5; ++column)
            QCOMPARE(model.index(0, column).data().toString(), expected[column]);
        QCOMPARE(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Spieler"));
        QCOMPARE(model.captionAt(0), std::string("Gr\xFCn"));

        // A new caption, longer or empty, leaves the further columns as they were.
        for (const std::string caption : {"Ein viel l\xE4ngerer Titel als vorher", ""}) {
            model.setCaption(row, caption);
            QCOMPARE(model.captionAt(0), caption);
            for (int column = 1; column < 5; ++column)
                QCOMPARE(model.index(0, column).data().toString(), expected[column]);
        }
    }

    // Texts given up (edited captions, a removed row) are put aside when they outgrow the rows' own: each row keeps
    // its caption and sub items, a row still waiting for texts stays empty.
    void captionsEditedManyTimesKeepEveryRowsTexts()
    {
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        model.addColumn("Status", 80);
        std::vector<quintor::RowHandle> rows;
        for (const char* status : {"Lobby", "Laufend", "Pause", "Laufend"}) {
            const quintor::RowHandle row = model.addRow();
            GameRecord entry = game(status, status);
            entry.Item = row;
            games.append(std::move(entry));
            model.setRowTexts(row, status, {status});
            rows.push_back(row);
        }
        const quintor::RowHandle waiting = model.addRow();
        model.removeRow(rows[3]);
        const std::string longCaption(1000, 'x');
        for (int edit = 0; edit < 300; ++edit)
            model.setCaption(rows[static_cast<std::size_t>(edit % 2)], longCaption + std::to_string(edit));
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.captionAt(0), longCaption + "298");
        QCOMPARE(model.captionAt(1), std::string("Pause"));
        QCOMPARE(model.captionAt(2), longCaption + "299");
        QCOMPARE(model.rowOf(waiting), 3);
        QCOMPARE(model.captionAt(3), std::string());
        const QStringList statuses{"Lobby", "Pause", "Laufend", ""};
        for (int row = 0; row < 4; ++row)
            QCOMPARE(model.index(row, 1).data().toString(), statuses[row]);
    }

    void textColourIsTheRecordsColour_data()
    {
        QTest::addColumn<uint>("color");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("black") << 0x000000u << QColor(0, 0, 0);
        QTest::newRow("red is the lowest byte") << 0x0000FFu << QColor(255, 0, 0);
        QTest::newRow("green") << 0x00FF00u << QColor(0, 255, 0);
        QTest::newRow("blue is the third byte") << 0xFF0000u << QColor(0, 0, 255);
        QTest::newRow("mixed") << 0x123456u << QColor(0x56, 0x34, 0x12);
    }

    void textColourIsTheRecordsColour()
    {
        QFETCH(uint, color);
        QFETCH(QColor, expected);
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        model.addColumn("Status", 80);
        addGame(model, games, game("x", "Lobby", false, color));
        QCOMPARE(model.index(0, 0).data(Qt::ForegroundRole).value<QColor>(), expected);
        QCOMPARE(model.index(0, 1).data(Qt::ForegroundRole).value<QColor>(), expected);
    }

    // A game with a friend shows the star before its title, not in the editor; the title's colours move with it.
    void aFriendsGameShowsTheStarBeforeItsTitle()
    {
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 190);
        GameRecord entry = game("Feuerland", "Lobby", false);
        entry.TitleSpans = {{0, 5, 0xFF8000}};
        const quintor::RowHandle row = model.addRow();
        entry.Item = row;
        games.append(std::move(entry));
        model.setRowTexts(row, "Feuerland", {});
        model.markFriendRow(row);
        const QModelIndex caption = model.index(0, 0);
        QCOMPARE(caption.data(Qt::DisplayRole).toString(), QStringLiteral("\u2605 Feuerland"));
        QCOMPARE(caption.data(Qt::EditRole).toString(), QStringLiteral("Feuerland"));
        QCOMPARE(caption.data(quintor::ui::textSpansRole).value<quintor::TextSpans>(),
                 (quintor::TextSpans{{2, 5, 0xFF8000}}));
    }

    // The host's red title is drawn red; in a row that a filter coloured green, green wins throughout.
    void hostsColoursAreDrawnUnlessAFilterColouredTheRow()
    {
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 190);
        model.addColumn("Hoster", 80);
        for (const bool coloured : {false, true}) {
            GameRecord entry = game("MMMM HHHH", "Lobby", false, coloured ? 0x008000u : 0u);
            entry.TitleSpans = {{0, 4, 0xFF0000}};
            entry.Hoster = "Zo\xEB";
            entry.HosterSpans = {{0, 3, 0x0000FF, true}};
            entry.ColorByFilter = coloured;
            const quintor::RowHandle row = model.addRow();
            entry.Item = row;
            games.append(std::move(entry));
            model.setRowTexts(row, "MMMM HHHH", {"Zo\xEB"});
        }
        const auto spans = [&model](int row, int column) {
            return model.index(row, column).data(quintor::ui::textSpansRole).value<quintor::TextSpans>();
        };
        QCOMPARE(spans(0, 1), (quintor::TextSpans{{0, 3, 0x0000FF, true}}));
        QCOMPARE(spans(1, 1), (quintor::TextSpans{{0, 3, std::nullopt, true}})); // italics stay
        model.setCaption(model.handleAt(0), "Umbenannt");
        QVERIFY(spans(0, 0).empty()); // an edited caption is the user's text
        model.setCaption(model.handleAt(0), "MMMM HHHH");

        quintor::ui::GameListTreeView view;
        QFont font = view.font();
        font.setPixelSize(24);
        view.setFont(font);
        QPalette palette = view.palette();
        palette.setColor(QPalette::Base, Qt::white);
        view.setPalette(palette);
        view.setModel(&model);
        view.setRootIsDecorated(false);
        model.setHeader(view.header());
        view.resize(320, 120);
        view.show();
        const QImage image = view.viewport()->grab().toImage();
        const auto count = [&image](const QRect& area, const QColor& colour) {
            int found = 0;
            for (int x = area.left(); x <= area.right(); ++x)
                for (int y = area.top(); y <= area.bottom(); ++y)
                    found += image.pixelColor(x, y) == colour;
            return found;
        };
        const QRect hosts = view.visualRect(model.index(0, 0)), users = view.visualRect(model.index(1, 0));
        QVERIFY(count(hosts, Qt::red) > 0);
        QVERIFY(count(hosts, Qt::black) > 0);
        QCOMPARE(count(users, Qt::red), 0);
        QVERIFY(count(users, QColor(0, 128, 0)) > 0);
    }

    // A row kept from a failing server's last good list reads as not live: grey, or a filter's hue half-way
    // to white, and in italics; its tooltip shows as it stands even when it looks like markup.
    void keptRowsAreGreyAndTheirTooltipIsPlain_data()
    {
        QTest::addColumn<bool>("stale");
        QTest::addColumn<uint>("color");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("listed, black") << false << 0u << QColor(0, 0, 0);
        QTest::newRow("kept, black is grey") << true << 0u << quintor::ui::staleRowTextColor();
        QTest::newRow("kept, the filter's red pales") << true << 0x0000FFu << QColor(255, 127, 127);
    }

    void keptRowsAreGreyAndTheirTooltipIsPlain()
    {
        QFETCH(bool, stale);
        QFETCH(uint, color);
        QFETCH(QColor, expected);
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        model.addColumn("Status", 80);
        GameRecord entry = game("x", "Lobby", false, color);
        entry.Stale = stale;
        const quintor::RowHandle row = addGame(model, games, entry);
        QCOMPARE(model.index(0, 1).data(Qt::ForegroundRole).value<QColor>(), expected);
        QCOMPARE(model.index(0, 0).data(Qt::FontRole).value<QFont>().italic(), stale);
        QVERIFY(!model.index(0, 0).data(Qt::ToolTipRole).isValid());

        model.setRowToolTip(row, "Stand: 17:02:06");
        QCOMPARE(model.index(0, 1).data(Qt::ToolTipRole).toString(), QStringLiteral("Stand: 17:02:06"));
        model.setRowToolTip(row, "Stand: <b>\xE4</b>");
        const QString shown = model.index(0, 0).data(Qt::ToolTipRole).toString();
        QTextDocument document;
        document.setHtml(shown);
        QCOMPARE(document.toPlainText(), QString::fromUtf8("Stand: <b>\u00e4</b>"));
    }

    void headerWidthsAreTheColumnWidths()
    {
        GameStore games;
        GameListModel model(games);
        QTreeView view;
        view.header()->setStretchLastSection(false);
        view.setModel(&model);
        model.setHeader(view.header());
        model.addColumn("Szenario", 120);
        model.addColumn("Status", 80);
        QCOMPARE(view.header()->sectionSize(0), 120);
        QCOMPARE(model.columnWidth(1), 80);
        view.header()->resizeSection(1, 55); // the user drags the divider
        QCOMPARE(model.columnWidth(1), 55);
        model.clearRows();
        model.clearColumns();
        QCOMPARE(model.columnCount(), 0);
        QCOMPARE(model.rowCount(), 0);
    }

    void onlyTheFirstColumnIsEditable()
    {
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        model.addColumn("Status", 80);
        addGame(model, games, game("Foo", "Lobby"));
        QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
        QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(!model.setData(model.index(0, 1), QStringLiteral("x"), Qt::EditRole));
        model.setEditable(false);
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    }

    void editHandlerDecidesTheCaption()
    {
        GameStore games;
        GameListModel model(games);
        model.addColumn("Szenario", 100);
        addGame(model, games, game("Foo", "Lobby"));
        std::string seenOld;
        model.setEditHandler([&](quintor::RowHandle, const std::string& old, std::string& text) {
            seenOld = old;
            text = "[" + text + "]";
        });
        QVERIFY(model.setData(model.index(0, 0), QString::fromUtf8("B\u00e4r"), Qt::EditRole));
        QCOMPARE(seenOld, std::string("Foo"));
        QCOMPARE(model.captionAt(0), std::string("[B\xE4r]"));
    }
};

QTEST_MAIN(TestGameListModel)
#include "test_gamelistmodel.moc"
