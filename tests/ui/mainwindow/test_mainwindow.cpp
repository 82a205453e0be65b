// The main window: layout, menus, the list's colours, the alias edit, the context menu, loading a
// file and the general error report.
#include "mainwindowfixture.h"
#include "support/replies.h"
#include "ui/platform/text.h"
#include "ui/uitestsupport.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>

using quintor::test::addGame;
using quintor::test::game;
using quintor::test::MainWindowFixture;

namespace {

QRect rectOf(const QWidget* w)
{
    return w->geometry();
}

void selectRow(QTreeView* view, int row)
{
    view->selectionModel()->select(view->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QStringList menuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator())
            texts << (a->isVisible() ? QStringLiteral("-") : QStringLiteral("(-)"));
        else
            texts << a->text();
    }
    return texts;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    // Without stored bounds the first window shows every chosen column whole; stored bounds still win.
    void theFirstWindowHoldsItsColumns_data()
    {
        QTest::addColumn<QString>("bounds");
        QTest::addColumn<int>("width");
        QTest::newRow("none stored") << QString() << 0;
        QTest::newRow("stored") << QStringLiteral("width=600\r\n") << 600;
    }

    void theFirstWindowHoldsItsColumns()
    {
        QFETCH(QString, bounds);
        QFETCH(int, width);
        MainWindowFixture f;
        f.folder.write("config.txt", "Column1=Status\r\nColumn2=Spieler\r\nColumn3=Emptys\r\nColumn4=Offizieller "
                                     "Server\r\nColumnWidth2=90\r\n" +
                                         bounds.toStdString());
        f.http->released = 1000;
        f.http->body = quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Greed"});
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        if (width > 0) {
            QCOMPARE(form.width(), width);
            return;
        }
        QTreeView* list = f.gameList();
        QHeaderView* header = list->header();
        QCOMPARE(header->sectionSize(2), 90);                          // the stored width stays
        QVERIFY(header->sectionSize(4) >= header->sectionSizeHint(4)); // "Offizieller Server" whole
        QVERIFY2(list->viewport()->width() - list->verticalScrollBar()->sizeHint().width() >= header->length(),
                 qPrintable(QString::number(list->viewport()->width())));
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0); // nothing to scroll sideways
    }

    void designedWindow()
    {
        MainWindowFixture f;
        f.http->released = 1000;
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(form.windowTitle(), QStringLiteral("Quintor Velmar"));
        QCOMPARE(form.pos(), QPoint(0, 0));
        QVERIFY(form.centralWidget()->width() >= 526); // wider where the columns need it
        QCOMPARE(form.minimumSize(), QSize(500, 400));
        const auto* refetch = form.findChild<QTimer*>(QStringLiteral("refetch"));
        QVERIFY(refetch && refetch->isActive());
        QCOMPARE(refetch->interval(), 30000);
        QCOMPARE(form.findChild<QStatusBar*>(QStringLiteral("statbar"))->findChild<QLabel*>()->text(),
                 QStringLiteral("Quintor Velmar 2.02 Beta [84] - Bereit"));
        const QStringList labels{"aka", "crver", "gamecount", "pcount", "empcount"};
        const QStringList texts{"Aktualisierung:", "Clonk-Version:", "Spiele offen:", "Spieler online:", "Emptys:"};
        MainWindowFixture fresh; // before any tick
        auto& untouched = fresh.create();
        for (int i = 0; i < labels.size(); ++i) {
            QCOMPARE(untouched.findChild<QLabel*>(labels[i])->text(), texts[i]);
        }
        // "Spiele offen" stands in the box, between the version and the players, overlapping neither.
        const auto* det = untouched.findChild<QGroupBox*>(QStringLiteral("det"));
        untouched.show();
        QTRY_VERIFY(untouched.isVisible());
        QRect previous;
        for (const QString& name : labels) {
            const auto* label = untouched.findChild<QLabel*>(name);
            QVERIFY2(label->isVisibleTo(det) && det->isAncestorOf(label), qPrintable(name));
            const QRect place(label->mapTo(det, QPoint(0, 0)), label->size());
            QVERIFY2(det->rect().contains(place), qPrintable(name));
            QVERIFY2(place.width() >= label->sizeHint().width(), qPrintable(name)); // the text is not cut
            QVERIFY2(previous.isNull() || place.top() >= previous.bottom(), qPrintable(name));
            previous = place;
        }
        QCOMPARE(untouched.findChild<QGroupBox*>(QStringLiteral("mlist"))->title(), QStringLiteral("Liste"));
        QCOMPARE(untouched.findChild<QGroupBox*>(QStringLiteral("det"))->title(), QStringLiteral("Details"));
        QCOMPARE(untouched.findChild<QGroupBox*>(QStringLiteral("mdet"))->title(), QStringLiteral("Pinnwand"));
    }

    void formResizeLaysOutTheBoxes_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << QSize(500, 400);
        QTest::newRow("wide") << QSize(900, 520);
        QTest::newRow("tall") << QSize(640, 900);
    }

    void formResizeLaysOutTheBoxes()
    {
        QFETCH(QSize, size);
        MainWindowFixture f;
        f.http->released = 1000;
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        form.resize(size);
        QTRY_COMPARE(form.size(), size);
        const auto* det = form.findChild<QGroupBox*>(QStringLiteral("det"));
        const auto* mdet = form.findChild<QGroupBox*>(QStringLiteral("mdet"));
        const auto* mlist = form.findChild<QGroupBox*>(QStringLiteral("mlist"));
        const QRect client = form.centralWidget()->rect();
        QCOMPARE(client.width(), size.width());
        // The details at the top right, the notice board below them as wide, the list left of both:
        // 5 pixels from the client area's edges and between the boxes.
        const QRect d = rectOf(det);
        QCOMPARE(d.topRight(), QPoint(client.right() - 5, 5));
        QCOMPARE(rectOf(mdet), QRect(d.x(), d.bottom() + 1 + 5, d.width(), client.bottom() - 5 - (d.bottom() + 5)));
        QCOMPARE(rectOf(mlist), QRect(5, 5, d.x() - 10, client.height() - 10));
        QVERIFY(d.width() >= 190);
        // the list fills its box
        QVERIFY(mlist->rect().contains(f.gameList()->geometry()));
        QVERIFY(f.gameList()->width() > mlist->width() - 20);
    }

    void menus()
    {
        MainWindowFixture f;
        auto& form = f.create();
        QStringList titles;
        for (const QAction* a : form.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"Datei", "Bearbeiten", "Hilfe"}));
        const QMenu* datei = form.menuBar()->actions()[0]->menu();
        const QMenu* bearbeiten = form.menuBar()->actions()[1]->menu();
        const QMenu* hilfe = form.menuBar()->actions()[2]->menu();
        QCOMPARE(menuTexts(datei),
                 (QStringList{"Aus Datei laden...", "Verlauf", "Wieder online gehen", "-", "Beenden", "Minimieren"}));
        QCOMPARE(menuTexts(bearbeiten), (QStringList{"Masterserver", "Aliaseditor", "Listenspalten", "Freunde...",
                                                     "Filter", "-", "Tags rausparsen", "Freunde melden"}));
        QCOMPARE(menuTexts(f.action("Filter1")->menu()), (QStringList{"Abonnieren", "(-)", "Filtereditor"}));
        QCOMPARE(menuTexts(hilfe), (QStringList{QString::fromUtf8("\u00dcber"), "Sprache"}));

        for (const char* working :
             {"AusDateiladen1", "Beenden1", "Minimieren1", "agsherausfarsen1", "Abonnieren1", "ber1", "Masterserver1",
              "Aliaseditor1", "Listenspalten1", "Filtereditor1", "Freunde1", "Freundemelden1"})
            QVERIFY2(f.action(working)->isEnabled(), working);
        QVERIFY(f.action("agsherausfarsen1")->isCheckable());
        QVERIFY(f.action("agsherausfarsen1")->isChecked()); // a first start: no "config.txt" yet
        QVERIFY(f.action("Freundemelden1")->isCheckable());
    }

    void englishCaptionsAndTheLanguageChoice()
    {
        const quintor::test::EnglishTexts english;
        MainWindowFixture f;
        auto& form = f.create();
        QStringList titles;
        for (const QAction* a : form.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"File", "Edit", "Help"}));
        QCOMPARE(menuTexts(form.menuBar()->actions()[2]->menu()), (QStringList{"About", "Language"}));
        QCOMPARE(menuTexts(f.action("Sprache1")->menu()), (QStringList{"Deutsch", "English", "Same as the system"}));
        QVERIFY(f.action("WiedasSystem1")->isChecked()); // nothing stored yet
        QCOMPARE(form.findChild<QGroupBox*>("mlist")->title(), QStringLiteral("List"));
        f.http->released = 1000;
        f.http->body = quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Greed"});
        QVERIFY(f.showAndWaitForFirstTick());
        QVERIFY(quintor::test::savePicture(form, QStringLiteral("english-main.png")));
        const QStringList clipped = quintor::test::clippedCaptions(form);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));

        // A new choice is stored at once and said in the language chosen.
        f.action("Deutsch1")->trigger();
        QCOMPARE(f.dialogs.textsOf("information"), std::vector<std::string>{"Gilt ab dem n\xE4"
                                                                            "chsten Start."});
        QVERIFY(f.folder.read("config.txt").find("language=de\r\n") != std::string::npos);
        QVERIFY(!quintor::test::fakesComplained());
    }

    void tagparseAtStart_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QByteArray>("reported");
        QTest::newRow("True") << QByteArray("tagparse=True\r\n") << true << QByteArray();
        QTest::newRow("false in any case") << QByteArray("tagparse=FALSE\r\n") << false << QByteArray();
        QTest::newRow("a number") << QByteArray("tagparse=1\r\n") << true << QByteArray();
        QTest::newRow("missing") << QByteArray("width=600\r\n") << false << QByteArray();
        QTest::newRow("no config.txt: a first start") << QByteArray() << true << QByteArray();
        QTest::newRow("not a truth value") << QByteArray("tagparse=vielleicht\r\n") << false
                                           << QByteArray("'vielleicht' ist kein g\xFCltiger Boolescher Wert");
    }

    void tagparseAtStart()
    {
        QFETCH(QByteArray, config);
        QFETCH(bool, checked);
        QFETCH(QByteArray, reported);
        MainWindowFixture f;
        if (!config.isEmpty()) f.folder.write("config.txt", config.toStdString());
        f.create();
        QCOMPARE(f.action("agsherausfarsen1")->isChecked(), checked);
        QCOMPARE(f.dialogs.textsOf("message"),
                 reported.isEmpty() ? std::vector<std::string>{} : std::vector<std::string>{reported.toStdString()});
    }

    void tagsRausparsenTogglesWritesAndRunsATick()
    {
        MainWindowFixture f;
        f.folder.write("config.txt", "");
        auto& form = f.create();
        f.action("agsherausfarsen1")->trigger();
        QCOMPARE(form.monitor().state().config.value("tagparse"), std::string("True"));
        QCOMPARE(f.ticks->count(), 1);
        f.action("agsherausfarsen1")->trigger();
        QCOMPARE(form.monitor().state().config.value("tagparse"), std::string("False"));
        QCOMPARE(f.ticks->count(), 2);
    }

    void loadFromFile()
    {
        MainWindowFixture f;
        f.http->released = 1000;
        f.folder.write("server.txt", "http://127.0.0.1:9/a\r\n");
        f.folder.write("liste.txt", quintor::test::replyHeader() +
                                        quintor::test::referenceBlock({.title = "Datei-Spiel", .state = "Lobby"}));
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        const int requests = f.http->calls;
        f.dialogs.inputs.push_back(f.folder.file("liste.txt"));
        f.action("AusDateiladen1")->trigger();
        QTRY_COMPARE(f.ticks->count(), 2);
        QCOMPARE(f.dialogs.textsOf("openFile"), std::vector<std::string>{"Aus Datei laden|Text|*.txt|."});
        QCOMPARE(form.model().rowCount(), 1);
        QCOMPARE(form.model().captionAt(0), std::string("Datei-Spiel"));
        QCOMPARE(f.http->calls.load(), requests);
        QCOMPARE(form.monitor().state().servers.lines(), std::vector<std::string>{"http://127.0.0.1:9/a"});
        QVERIFY(form.monitor().state().pendingLoadFile.empty());

        f.dialogs.inputs.push_back(std::nullopt); // cancelled: nothing happens
        f.action("AusDateiladen1")->trigger();
        QCOMPARE(f.ticks->count(), 2);
    }

    void everyLabelShowsItsTextAsItStands()
    {
        MainWindowFixture f;
        auto& form = f.create();
        const auto labels = form.findChildren<QLabel*>();
        QVERIFY(labels.size() >= 6); // the five of the statistic and the status bar's text
        for (const QLabel* label : labels)
            QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    }

    void tickErrorsGoToTheGeneralReport()
    {
        MainWindowFixture f;
        f.http->released = 1000;
        f.folder.write("config.txt", "Column1=Status\r\nColumnWidth1=abc\r\n");
        f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        QMessageBox* box = f.standingPrompt();
        QVERIFY(box);
        QCOMPARE(box->text(), quintor::ui::toQt("'abc' ist kein g\xFCltiger Integerwert"));
        QCOMPARE(box->windowTitle(), QStringLiteral("Quintor Velmar"));
        QVERIFY(f.dialogs.shown.empty()); // nothing waited for an answer
    }

    void rowColoursAndSelection()
    {
        MainWindowFixture f;
        f.http->released = 1000;
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        auto& model = form.model();
        addGame(model, form.monitor().state().games, game("Rotes Spiel mit langem Namen", "Lobby", false, 0x0000FF));
        addGame(model, form.monitor().state().games, game("Noch ein rotes Spiel", "Lobby", false, 0x0000FF));
        QTreeView* view = f.gameList();
        const auto red = [](QColor c) { return c.red() > 150 && c.green() < 100 && c.blue() < 100; };
        const auto blue = [](QColor c) { return c == QColor(0, 0, 255); };
        const auto white = [](QColor c) { return c == QColor(255, 255, 255); };
        const auto rowArea = [view](int row) {
            const QRect r = view->visualRect(view->model()->index(row, 0));
            return QRect(0, r.top(), view->header()->length(), r.height()); // across every column
        };

        selectRow(view, 0);
        QImage image = view->viewport()->grab().toImage();
        image.save(QStringLiteral(QUINTOR_TEST_OUTPUT_DIR "/list-selection.png"));
        const QRect selected = rowArea(0);
        QCOMPARE(quintor::test::countPixels(image, selected, red), 0);
        QVERIFY(quintor::test::countPixels(image, selected, blue) > selected.width() * selected.height() / 2);
        QVERIFY(quintor::test::countPixels(image, selected, white) > 0); // the text
        const QRect other = rowArea(1);
        QVERIFY(quintor::test::countPixels(image, other, red) > 0);
        QCOMPARE(quintor::test::countPixels(image, other, blue), 0);
        QVERIFY(quintor::test::countPixels(image, other, white) > other.width() * other.height() / 2);

        view->selectionModel()->clearSelection();
        image = view->viewport()->grab().toImage();
        QVERIFY(quintor::test::countPixels(image, selected, red) > 0);
        QCOMPARE(quintor::test::countPixels(image, selected, blue), 0);
    }

    void aliasEdit_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("aliases");
        QTest::newRow("yes") << true << "Bar"
                             << "Bar" << QStringList{"alt=neu", "Foo=Bar"};
        QTest::newRow("no") << false << "Bar"
                            << "Foo" << QStringList{"alt=neu"};
        QTest::newRow("unchanged, yes") << true << "Foo"
                                        << "Foo" << QStringList{"alt=neu", "Foo=Foo"};
    }

    void aliasEdit()
    {
        QFETCH(bool, answer);
        QFETCH(QString, typed);
        QFETCH(QString, caption);
        QFETCH(QStringList, aliases);
        MainWindowFixture f;
        f.http->released = 1000;
        f.folder.write("syno.txt", "alt=neu\r\n");
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        addGame(form.model(), form.monitor().state().games, game("Foo", "Lobby"));
        QTreeView* view = f.gameList();
        const QModelIndex first = form.model().index(0, 0);
        view->setCurrentIndex(first);
        view->edit(first);
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(typed);
        f.dialogs.answers.push_back(answer);
        QTest::keyClick(editor, Qt::Key_Return); // the view commits the edit from its event queue

        QTRY_COMPARE(f.dialogs.textsOf("confirmYesNo"),
                     std::vector<std::string>{"Als Foo bezeichnete Eintr\xE4ge immer als " + typed.toStdString() +
                                              " anzeigen?"});
        QCOMPARE(form.model().index(0, 0).data().toString(), caption);
        QStringList lines;
        for (const auto& line : form.monitor().state().aliases.lines())
            lines << QString::fromStdString(line);
        QCOMPARE(lines, aliases);
        QVERIFY(!quintor::test::fakesComplained());
    }

    void aTickDueDuringTheRenameQuestionWaitsAndTheAnswerStillCounts()
    {
        // The question lets the event loop run: the refetch timer may fire while it is open.
        struct TickingDialogs : quintor::test::ScriptedDialogs {
            std::function<void()> whileAsked;
            bool confirmYesNo(const std::string& text) override
            {
                if (whileAsked) whileAsked();
                return ScriptedDialogs::confirmYesNo(text);
            }
        } dialogs;
        MainWindowFixture f;
        f.http->released = 1000;
        f.http->body = quintor::test::replyHeader() + quintor::test::referenceBlock({.title = "Foo"});
        auto& form = f.create(nullptr, [&dialogs](quintor::test::ProgramOptions& setup) { setup.dialogs = &dialogs; });
        QVERIFY(f.showAndWaitForFirstTick());
        QCOMPARE(form.model().captionAt(0), std::string("Foo"));
        qsizetype ticksBefore = -1;
        qsizetype ticksWhileAsked = -1;
        int rowsWhileAsked = -1;
        dialogs.whileAsked = [&] {
            ticksBefore = f.ticks->count();
            form.runTick();
            QTest::qWait(50);
            ticksWhileAsked = f.ticks->count();
            rowsWhileAsked = form.model().rowCount();
        };
        dialogs.answers.push_back(true);
        QTreeView* view = f.gameList();
        view->setCurrentIndex(form.model().index(0, 0));
        view->edit(form.model().index(0, 0));
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("Bar"));
        QTest::keyClick(editor, Qt::Key_Return);

        QTRY_COMPARE(dialogs.textsOf("confirmYesNo").size(), std::size_t(1));
        QCOMPARE(ticksWhileAsked, ticksBefore); // held back while the question was open
        QCOMPARE(rowsWhileAsked, 1);
        QCOMPARE(form.monitor().state().aliases.lines(), std::vector<std::string>{"Foo=Bar"});
        QTRY_COMPARE(f.ticks->count(), ticksBefore + 1); // and run once afterwards
        QCOMPARE(form.model().captionAt(0), std::string("Bar"));
        QVERIFY(!quintor::test::fakesComplained());
    }

    // Only the title is renamed, but the edit starts from any column of the selected row.
    void aliasEditStartsFromAnyColumnOfTheSelectedRow_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("F2") << true;
        QTest::newRow("click on the selected row") << false;
    }

    void aliasEditStartsFromAnyColumnOfTheSelectedRow()
    {
        QFETCH(bool, byKey);
        MainWindowFixture f;
        f.http->released = 1000;
        f.folder.write("config.txt", "Column1=Status\r\n");
        auto& form = f.create();
        QVERIFY(f.showAndWaitForFirstTick());
        addGame(form.model(), form.monitor().state().games, game("Foo", "Lobby"));
        QTreeView* view = f.gameList();
        QCOMPARE(form.model().columnCount(QModelIndex()), 2);
        const QModelIndex status = form.model().index(0, 1);
        view->setFocus();
        view->setCurrentIndex(status); // selects the whole row
        if (byKey)
            QTest::keyClick(view, Qt::Key_F2);
        else
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(status).center());
        QTRY_VERIFY(view->viewport()->findChild<QLineEdit*>());
        const auto* editor = view->viewport()->findChild<QLineEdit*>();
        QCOMPARE(editor->text(), QStringLiteral("Foo"));
        QVERIFY(view->visualRect(form.model().index(0, 0)).contains(editor->geometry().center()));
    }

    void listpopEnabling_data()
    {
        QTest::addColumn<int>("addressCount");
        QTest::addColumn<QStringList>("hosts");
        QTest::addColumn<bool>("select");
        QTest::addColumn<bool>("details");
        QTest::addColumn<bool>("join");
        const QStringList two{"198.51.100.7", "10.0.0.2"};
        QTest::newRow("nothing selected") << 2 << two << false << false << false;
        QTest::newRow("no host") << 2 << QStringList{} << true << true << false;
        QTest::newRow("empty first host") << 2 << QStringList{"", "10.0.0.2"} << true << true << false;
        QTest::newRow("hosts") << 2 << two << true << true << true;
        // A newer host writes no "AddressCount": its hosts are still there to join.
        QTest::newRow("hosts, no count") << 0 << two << true << true << true;
    }

    void listpopEnabling()
    {
        QFETCH(int, addressCount);
        QFETCH(QStringList, hosts);
        QFETCH(bool, select);
        QFETCH(bool, details);
        QFETCH(bool, join);
        MainWindowFixture f;
        auto& form = f.create();
        form.model().addColumn("Szenario", 100);
        quintor::GameRecord record = game("Foo", "Lobby", false, 0, addressCount);
        for (const QString& host : hosts)
            record.IPs.push_back(host.toStdString());
        addGame(form.model(), form.monitor().state().games, std::move(record));
        if (select) selectRow(f.gameList(), 0);
        form.updateListMenu();
        QCOMPARE(f.action("Spieler1")->isEnabled(), details);
        QCOMPARE(f.action("Ressourcen1")->isEnabled(), details);
        QCOMPARE(f.action("Beitreten1")->isEnabled(), join);
        auto* listpop = form.findChild<QMenu*>(QStringLiteral("listpop"));
        QCOMPARE(menuTexts(listpop), (QStringList{"Spieler", "Ressourcen", "-", "Beitreten"}));
    }

    // The menu stays open through a tick, which removes the rows and with them the selection.
    void anOpenListMenuOffersNothingOnceTheRowsAreGone()
    {
        MainWindowFixture f;
        auto& form = f.create();
        form.model().addColumn("Szenario", 100);
        quintor::GameRecord record = game("Foo", "Lobby", false, 0, 1);
        record.IPs.push_back("198.51.100.7");
        addGame(form.model(), form.monitor().state().games, std::move(record));
        selectRow(f.gameList(), 0);
        auto* listpop = form.findChild<QMenu*>(QStringLiteral("listpop"));
        emit f.gameList()->customContextMenuRequested(QPoint(5, 5));
        QTRY_VERIFY(listpop->isVisible());
        QVERIFY(f.action("Spieler1")->isEnabled());
        QVERIFY(f.action("Beitreten1")->isEnabled());

        form.model().clearRows();
        for (const char* name : {"Spieler1", "Ressourcen1", "Beitreten1"})
            QVERIFY2(!f.action(name)->isEnabled(), name);
        listpop->hide();
    }

    void listHeaderDoesNotSort()
    {
        MainWindowFixture f;
        auto& form = f.create();
        form.model().addColumn("Szenario", 100);
        addGame(form.model(), form.monitor().state().games, game("b", "Laufend"));
        addGame(form.model(), form.monitor().state().games, game("a", "Laufend"));
        QTreeView* view = f.gameList();
        QVERIFY(!view->isSortingEnabled());
        QVERIFY(!view->header()->sectionsClickable());
        QCOMPARE(form.model().captionAt(0), std::string("b"));
        QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
