// The masterserver editor: the list filled on showing, the popup's items, the write-back on closing.
#include "settings/textlist.h"
#include "support/fakes.h"
#include "ui/editors/masterservereditor.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using quintor::TextList;
using quintor::test::ScriptedDialogs;
using quintor::ui::MasterserverEditor;

namespace {

using Lines = std::vector<std::string>;
const std::string defaultAddress = "http://league.example:84/league/server";

struct Editor {
    TextList servers;
    ScriptedDialogs dialogs;
    MasterserverEditor window{servers, dialogs, defaultAddress};
    int closed = 0;

    explicit Editor(Lines lines) : servers(std::move(lines))
    {
        window.setOnClosed([this] { ++closed; });
        window.open();
    }
    QListWidget& list() { return *window.findChild<QListWidget*>(QStringLiteral("servlist")); }
    QAction& action(const char* name) { return *window.findChild<QAction*>(QString::fromLatin1(name)); }
};

} // namespace

class TestMasterserverEditor : public QObject {
    Q_OBJECT
private slots:
    void showingFillsTheList()
    {
        Editor e({"http://a:84/league/server", "http://b/"});
        QCOMPARE(e.window.windowTitle(), QStringLiteral("Quintor - Masterserver"));
        QCOMPARE(e.list().count(), 2);
        QCOMPARE(e.list().item(1)->text(), QStringLiteral("http://b/"));
        QCOMPARE(e.action("Hinzufgen1").text(), QStringLiteral("Hinzuf\u00FCgen"));
        QCOMPARE(e.action("Lschen1").text(), QStringLiteral("L\u00F6schen"));
    }

    void deletingEveryEntryLeavesTheListEmpty()
    {
        Editor e({"http://a/", "http://b/"});
        while (e.list().count() > 0) {
            e.list().setCurrentRow(0);
            e.window.deleteSelectedServer();
        }
        QTest::mouseClick(e.window.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        QCOMPARE(e.servers.count(), 0);
        QCOMPARE(e.closed, 1);
        QVERIFY(!e.window.isVisible());
    }

    void addingTheDefaultTwiceKeepsBoth()
    {
        Editor e({});
        e.dialogs.inputs = {defaultAddress, defaultAddress, std::nullopt};
        e.window.addServer();
        e.window.addServer();
        e.window.addServer(); // cancelled
        QCOMPARE(e.dialogs.textsOf("input"), Lines(3, "Neuer Masterserver|URL des Servers?|" + defaultAddress));
        e.window.close(); // the close box writes back too
        QCOMPARE(e.servers.lines(), Lines(2, defaultAddress));
        QCOMPARE(e.closed, 1);
    }

    void deleteNeedsASelection()
    {
        Editor e({"http://a/", "http://b/"});
        e.list().clearSelection();
        e.window.updateContextMenu();
        QVERIFY(!e.action("Lschen1").isEnabled());
        QVERIFY(e.action("Hinzufgen1").isEnabled());
        e.window.deleteSelectedServer(); // nothing selected: nothing goes
        QCOMPARE(e.list().count(), 2);

        e.list().setCurrentRow(1);
        emit e.list().customContextMenuRequested(QPoint(5, 5)); // the popup as the user opens it
        auto* pop = e.window.findChild<QMenu*>(QStringLiteral("pop"));
        QVERIFY(pop->isVisible());
        QVERIFY(e.action("Lschen1").isEnabled());
        pop->hide();
        e.action("Lschen1").trigger();
        e.window.close();
        QCOMPARE(e.servers.lines(), Lines{"http://a/"});
    }

    void entriesKeepTheirBytes()
    {
        const Lines lines = {"http://h\xFCgel.example/", "", "http://x/\x81"};
        Editor e(lines);
        e.window.close();
        QCOMPARE(e.servers.lines(), lines);
    }

    void showingAgainReadsTheListAgain()
    {
        Editor e({"http://a/"});
        e.window.close();
        e.servers.add("http://b/");
        e.window.open();
        QCOMPARE(e.list().count(), 2);
    }
};

QTEST_MAIN(TestMasterserverEditor)
#include "test_masterservereditor.moc"
