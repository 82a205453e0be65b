// The alias editor: the grid over `aliases`, "Hinzufügen", and the write-back whenever it closes.
#include "settings/textlist.h"
#include "support/fakes.h"
#include "ui/editors/aliaseditor.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using quintor::TextList;
using quintor::test::ScriptedDialogs;
using quintor::ui::AliasEditor;

namespace {

using Lines = std::vector<std::string>;

struct Editor {
    TextList aliases;
    ScriptedDialogs dialogs;
    AliasEditor window{aliases, dialogs};
    int closed = 0;

    explicit Editor(Lines lines) : aliases(std::move(lines))
    {
        window.setOnClosed([this] { ++closed; });
        window.open();
    }
    QTableWidget& grid() { return *window.findChild<QTableWidget*>(QStringLiteral("valedit")); }
    QPushButton& button(const char* name) { return *window.findChild<QPushButton*>(QString::fromLatin1(name)); }
};

const std::string addCaptionAndPrompt = "Alias hinzuf\xFCgen|Neuen Alias hinzuf\xFCgen f\xFCr:|";

} // namespace

class TestAliasEditor : public QObject {
    Q_OBJECT
private slots:
    void gridShowsTextAndAlias()
    {
        Editor e({"Siedler=Siedeln", "Gr\xFCn=Gr\xFCne Welt"});
        QCOMPARE(e.window.windowTitle(), QStringLiteral("Quintor - Aliaseditor"));
        QTableWidget& grid = e.grid();
        QCOMPARE(grid.horizontalHeaderItem(0)->text(), QStringLiteral("Text"));
        QCOMPARE(grid.horizontalHeaderItem(1)->text(), QStringLiteral("Alias"));
        QCOMPARE(grid.rowCount(), 2);
        QCOMPARE(grid.item(1, 0)->text(), QStringLiteral("Gr\u00FCn"));
        QCOMPARE(grid.item(1, 1)->text(), QStringLiteral("Gr\u00FCne Welt"));
        QCOMPARE(e.button("Button2").text(), QStringLiteral("Hinzuf\u00FCgen"));
    }

    void addingFooGivesFooAndOneBlank()
    {
        Editor e({"a=b"});
        e.dialogs.inputs = {std::string("Foo")};
        QTest::mouseClick(&e.button("Button2"), Qt::LeftButton);
        QCOMPARE(e.dialogs.textsOf("input"), Lines{addCaptionAndPrompt});
        QCOMPARE(e.grid().item(1, 1)->text(), QStringLiteral(" "));
        QTest::mouseClick(&e.button("Button1"), Qt::LeftButton);
        QCOMPARE(e.aliases.lines(), (Lines{"a=b", "Foo= "}));
        QCOMPARE(e.closed, 1);
        QVERIFY(!e.window.isVisible());
    }

    void aPastedLineBreakStaysInOneLine()
    {
        Editor e({});
        e.dialogs.inputs = {std::string("Zwei\r\nZeilen\x01")};
        e.window.addAlias();
        e.button("Button1").click();
        QCOMPARE(e.aliases.lines(), Lines{"Zwei  Zeilen = "});
    }

    void emptyEntryAndCancel()
    {
        Editor e({});
        e.dialogs.inputs = {std::string(), std::nullopt};
        e.window.addAlias();
        e.window.addAlias(); // cancelled: adds nothing
        e.button("Button1").click();
        QCOMPARE(e.aliases.lines(), Lines{"= "});
    }

    void closeBoxWritesBackLikeOk()
    {
        Editor e({"Siedler=Siedeln", "Mars=Rot"});
        e.grid().item(0, 1)->setText(QStringLiteral("Gr\u00FCn"));
        e.grid().item(1, 1)->setText(QString()); // emptied: the line stays and ends in "="
        QVERIFY(e.window.close());
        QCOMPARE(e.aliases.lines(), (Lines{"Siedler=Gr\xFCn", "Mars="}));
        QCOMPARE(e.closed, 1);
    }

    void anAliasStillBeingTypedIsKept()
    {
        Editor e({"Mars=Rot"});
        QTableWidget& grid = e.grid();
        grid.setCurrentCell(0, 1);
        grid.edit(grid.model()->index(0, 1));
        auto* editor = grid.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("Roter Planet"));
        e.window.close();
        QCOMPARE(e.aliases.lines(), Lines{"Mars=Roter Planet"});
    }

    void textColumnIsReadOnly()
    {
        Editor e({"Mars=Rot"});
        QTableWidget& grid = e.grid();
        QVERIFY(!(grid.item(0, 0)->flags() & Qt::ItemIsEditable));
        QVERIFY(!(grid.item(0, 0)->flags() & Qt::ItemIsSelectable));
        grid.edit(grid.model()->index(0, 0));
        QVERIFY(!grid.viewport()->findChild<QLineEdit*>()); // no editor opened
        QVERIFY(grid.item(0, 1)->flags() & Qt::ItemIsEditable);
    }

    void untouchedLinesStayByteForByte()
    {
        // No "=", a second "=", a byte the code page leaves undefined, a blank around "=".
        const Lines lines = {"nur Text", "a=b=c", "x\x81y=z\x9D", " k = v "};
        Editor e(lines);
        QCOMPARE(e.grid().item(0, 0)->text(), QStringLiteral("nur Text"));
        QCOMPARE(e.grid().item(1, 1)->text(), QStringLiteral("b=c"));
        e.window.close();
        QCOMPARE(e.aliases.lines(), lines);
    }

    void reopeningShowsTheListAnew()
    {
        Editor e({"a=b"});
        e.window.close();
        e.aliases.add("c=d");
        e.window.open();
        QCOMPARE(e.grid().rowCount(), 2);
        QCOMPARE(e.grid().item(1, 0)->text(), QStringLiteral("c"));
    }

    void buttonsFollowTheWindowSize()
    {
        Editor e({});
        for (const QSize size : {QSize(AliasEditor::clientWidth, AliasEditor::clientHeight), e.window.minimumSize()}) {
            e.window.resize(size);
            const QRect grid = e.grid().geometry();
            QCOMPARE(e.button("Button1").geometry().topLeft(),
                     QPoint(e.window.width() - 5 - e.button("Button1").width(), grid.height() + 10));
            QCOMPARE(e.button("Button2").geometry().topLeft(), QPoint(5, grid.height() + 10));
            QVERIFY(e.button("Button1").geometry().bottom() < e.window.height());
        }
    }
};

QTEST_MAIN(TestAliasEditor)
#include "test_aliaseditor.moc"
