// The main window's other windows: each hides the main window while open and hands back to it with a
// tick; the details and the join find the game through the selected row, never its position.
#include "mainwindowfixture.h"
#include "support/replies.h"
#include "ui/editors/detailswindow.h"
#include "ui/editors/masterservereditor.h"
#include "ui/filtereditor/filtertreeeditor.h"

#include "ui/filtereditor/filtereditor.h"
#include "ui/platform/styledtext.h"
#include "ui/platform/text.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace quintor;

namespace {

// Two games whose rows stand in the other order than their records: the running one comes first in
// the reply, the lobby first in the list.
std::string twoGames()
{
    test::GameSpec running;
    running.title = "Laufendes Spiel";
    running.state = "Running";
    running.players = 1;
    running.address = "TCP:203.0.113.1:11112";
    running.addressCount = 1;
    test::GameSpec lobby;
    lobby.title = "Offene Lobby";
    lobby.players = 3;
    lobby.address = "TCP:10.0.0.5:11112,UDP:10.0.0.5:11113";
    return test::replyHeader() + test::referenceBlock(running) + test::referenceBlock(lobby);
}

void selectRow(test::MainWindowFixture& f, int row)
{
    f.gameList()->setCurrentIndex(f.gameList()->model()->index(row, 0));
}

} // namespace

class TestMainWindowEditors : public QObject {
    Q_OBJECT

private slots:
    void editorsHideTheMainWindowAndCloseWithATick()
    {
        for (const char* name : {"Masterserver1", "Aliaseditor1", "Listenspalten1", "Freunde1"}) {
            test::MainWindowFixture f;
            f.http->released = 1000;
            f.create();
            QVERIFY(f.showAndWaitForFirstTick());
            const auto before = f.ticks->count();
            f.action(name)->trigger();
            QVERIFY2(!f.window->isVisible(), name);
            QWidget* editor = QApplication::activeModalWidget();
            if (!editor) {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w != f.window.get() && w->isVisible()) editor = w;
            }
            QVERIFY2(editor, name);
            editor->close();
            QVERIFY2(QTest::qWaitFor([&] { return f.window->isVisible() && f.ticks->count() > before; }), name);
        }
    }

    void serversEditedInTheEditorAreFetchedNext()
    {
        test::MainWindowFixture f;
        f.http->released = 1000;
        f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        f.action("Masterserver1")->trigger();
        f.dialogs.inputs = {std::string("http://127.0.0.1:9/zweiter")};
        f.window->masterserverEditor().addServer();
        f.window->masterserverEditor().close();
        QVERIFY(QTest::qWaitFor([&] { return f.window->isVisible() && !f.window->tickRunning(); }));
        QCOMPARE(f.window->monitor().state().servers.count(), 2);
        QCOMPARE(f.window->monitor().state().servers.line(1), std::string("http://127.0.0.1:9/zweiter"));
    }

    void detailsShowTheSelectedRowsGame()
    {
        test::MainWindowFixture f;
        f.http->released = 1000;
        f.http->body = twoGames();
        f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(f.window->model().captionAt(0), std::string("Offene Lobby"));
        selectRow(f, 0);
        f.action("Spieler1")->trigger();
        QVERIFY(!f.window->isVisible());
        auto* list = f.window->detailsWindow().findChild<QTreeWidget*>(QStringLiteral("list"));
        QVERIFY(list);
        QCOMPARE(list->topLevelItemCount(), 3); // the lobby's three players, not the first record's one
        QCOMPARE(list->topLevelItem(2)->text(0), QStringLiteral("Spieler3"));
        f.window->detailsWindow().findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QVERIFY(QTest::qWaitFor([&] { return f.window->isVisible() && !f.window->tickRunning(); }));
    }

    void joiningStartsTheGameForTheSelectedRow()
    {
        test::MainWindowFixture f;
        f.http->released = 1000;
        f.http->body = twoGames();
        test::RecordingStarter starter;
        f.folder.write("Clonk.exe", "MZ"); // the game lies in the application folder
        f.create(nullptr, [&](test::ProgramOptions& setup) { setup.processStarter = &starter; });
        QVERIFY(f.showAndWaitForFirstTick());
        selectRow(f, 0);
        f.action("Beitreten1")->trigger();
        QCOMPARE(starter.started.size(), std::size_t(1));
        QCOMPARE(starter.started[0].arguments, (std::vector<std::string>{"/fullscreen", "/join:10.0.0.5"}));
        QCOMPARE(starter.started[0].program, f.folder.path() + "Clonk.exe");
    }

    void closingTheFilterEditorRunsTwoTicksWithItsList()
    {
        test::MainWindowFixture f;
        f.http->released = 1000;
        f.http->body = twoGames();
        f.folder.write("filter.txt", "grp0=Gruppe\r\ngrp0fil0=Lobbys\r\n");
        f.folder.write("grp0fil0.txt", "field0=5\r\nact0=1\r\nedit0=Lobby\r\ntyp=0\r\nactive=True\r\n");
        f.folder.write("grp0fil0_act.txt", "field0=4\r\nact0=4\r\nedit0=Gr\xFCn\r\n");
        f.create();
        QCOMPARE(f.window->monitor().filters().value("grp0fil0"), std::string("Lobbys"));
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(f.window->monitor().state().games.all()[1].Color, 0x008000u);

        f.action("Filtereditor1")->trigger();
        QVERIFY(!f.window->isVisible());
        QVERIFY(f.window->filterTreeEditor().isVisible());
        const auto before = f.ticks->count();
        f.window->filterTreeEditor().findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QVERIFY(QTest::qWaitFor([&] { return f.ticks->count() >= before + 2 && !f.window->tickRunning(); }));
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.folder.read("index.txt"), std::string("grp0fil0\r\ngrp0fil0_act\r\nfilter\r\n"));
    }

    void aFilterMadeInTheEditorsFiresAtTheNextTick()
    {
        test::MainWindowFixture f;
        f.http->released = 1000;
        f.http->body = twoGames();
        f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(f.window->monitor().state().games.all()[1].Color, 0u);

        f.action("Filtereditor1")->trigger();
        ui::FilterTreeEditor& treeEditor = f.window->filterTreeEditor();
        f.dialogs.inputs = {std::string("Meine Filter")};
        treeEditor.addGroup();
        auto* tree = treeEditor.findChild<QTreeWidget*>(QStringLiteral("tree"));
        tree->setCurrentItem(tree->topLevelItem(0));
        f.dialogs.inputs = {std::string("Lobbys gr\xFCn")};
        treeEditor.addFilter();
        QPointer<ui::FilterEditor> editor = treeEditor.conditionEditor();
        QVERIFY(editor);

        // "Spielstatus" "entspricht" "Lobby", then the action "Färbe Eintrag ein" with "Grün". The preview
        // follows the typing, over the games the list shows in its order, and hints at the letter case.
        auto* preview = editor->findChild<ui::StyledLinesView*>(QStringLiteral("preview"));
        QCOMPARE(preview->text(),
                 QStringLiteral("Passt jetzt auf 2 von 2 Spielen:\n  Offene Lobby\n  Laufendes Spiel"));
        editor->addRow();
        editor->findChild<QComboBox*>(QStringLiteral("field0"))->setCurrentIndex(5);
        editor->findChild<QComboBox*>(QStringLiteral("act0"))->setCurrentIndex(1);
        editor->findChild<QLineEdit*>(QStringLiteral("edit0"))->setText(QStringLiteral("lobby"));
        QCOMPARE(preview->text(), QString::fromUtf8("Passt jetzt auf 0 von 2 Spielen:\nBedingung 1: "
                                                    "Gro\u00df-/Kleinschreibung beachten: \"Lobby\""));
        auto* mark = editor->findChild<QLabel*>(QStringLiteral("mark0"));
        QCOMPARE(mark->text(), QString::fromUtf8("\u2717"));
        editor->findChild<QLineEdit*>(QStringLiteral("edit0"))->setText(QStringLiteral("Lobby"));
        QCOMPARE(preview->text(), QStringLiteral("Passt jetzt auf 1 von 2 Spielen:\n  Offene Lobby"));
        QCOMPARE(mark->text(), QString::fromUtf8("\u2713"));
        QCOMPARE(mark->toolTip(), ui::plainToolTip(QString::fromUtf8("h\u00e4lt f\u00fcr \"Offene Lobby\"")));
        editor->confirmPage();
        QVERIFY(!preview->isVisible());
        editor->addRow();
        editor->findChild<QComboBox*>(QStringLiteral("field0"))->setCurrentIndex(4);
        editor->findChild<QLineEdit*>(QStringLiteral("edit0"))->setText(QString::fromUtf8("Gr\u00fcn"));
        editor->confirmPage();
        QTRY_VERIFY(!editor);

        const auto before = f.ticks->count();
        treeEditor.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QVERIFY(QTest::qWaitFor([&] { return f.ticks->count() >= before + 2 && !f.window->tickRunning(); }));
        QCOMPARE(f.window->monitor().state().games.all()[1].Title, std::string("Offene Lobby"));
        QCOMPARE(f.window->monitor().state().games.all()[1].Color, 0x008000u);
        QCOMPARE(f.window->monitor().state().games.all()[0].Color, 0u);
        QCOMPARE(f.folder.read("filter.txt"), std::string("grp0=Meine Filter\r\ngrp0fil0=Lobbys gr\xFCn\r\n"));
        // The coloured row says which filter coloured it; the other row has no such tooltip.
        const ui::GameListModel& model = f.window->model();
        for (int r = 0; r < model.rowCount(); ++r) {
            const QVariant tip = model.index(r, 0).data(Qt::ToolTipRole);
            if (model.captionAt(r) == "Offene Lobby")
                QCOMPARE(tip.toString(), QString::fromUtf8("Farbe von Meine Filter / Lobbys gr\u00fcn"));
            else
                QVERIFY(!tip.isValid());
        }
    }
};

QTEST_MAIN(TestMainWindowEditors)
#include "test_mainwindoweditors.moc"
