// The condition and action editor: rows of four controls over the page logic, both pages written
// exactly, "+" and "-" with renumbering, the visibility rule, the invalid-filter message and the layout.
#include "filterstorefixture.h"
#include "ui/filtereditor/filtereditor.h"
#include "ui/platform/styledtext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <filesystem>
#include <optional>

using namespace quintor::test;
using quintor::ui::FilterEditor;

namespace {

struct Form {
    TempFolder folder;
    ScriptedDialogs dialogs;
    QPointer<FilterEditor> form = new FilterEditor(folder.path(), dialogs);

    ~Form() { delete form.data(); }

    template <typename T> T* control(const QString& name) const { return form->findChild<T*>(name); }
    QComboBox* field(int r) const { return control<QComboBox>(QStringLiteral("field%1").arg(r)); }
    QComboBox* act(int r) const { return control<QComboBox>(QStringLiteral("act%1").arg(r)); }
    QLineEdit* edit(int r) const { return control<QLineEdit>(QStringLiteral("edit%1").arg(r)); }
    QPushButton* minus(int r) const { return control<QPushButton>(QStringLiteral("minus%1").arg(r)); }
    QPushButton* button(const char* name) const { return control<QPushButton>(QString::fromLatin1(name)); }
    // Two controls side by side share their middle line (to the pixel that rounding leaves).
    static bool sideBySide(const QRect& a, const QRect& b) { return qAbs(a.center().y() - b.center().y()) <= 1; }
    // Where a row's control stands within the panel of rows.
    QPoint inPanel(const QWidget* w) const { return w->mapTo(control<QFrame>(QStringLiteral("pan")), QPoint()); }
    bool open(const std::string& key)
    {
        if (!form->loadFilter(key)) return false;
        form->show();
        return true;
    }
    // Chooses an item as the user does: the list changes and reports the choice.
    static void choose(QComboBox* box, int index)
    {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
};

} // namespace

class TestFilterEditor : public QObject {
    Q_OBJECT
private slots:
    void loadsAConditionRowAndSavesItUnchanged()
    {
        Form f;
        const std::string conditions = "field0=2\r\nact0=1\r\nedit0=Foo\r\ntyp=1\r\nactive=False\r\n";
        f.folder.write("grp0fil0.txt", conditions);
        QVERIFY(f.open("grp0fil0"));
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Filter - Bedingungen"));
        QCOMPARE(f.field(0)->currentText(), QStringLiteral("Hoster"));
        QCOMPARE(f.act(0)->currentText(), QStringLiteral("entspricht"));
        QCOMPARE(f.edit(0)->text(), QStringLiteral("Foo"));
        QCOMPARE(f.control<QComboBox>("contr")->currentText(), QString::fromUtf8("Eine Bedingung ist erf\u00fcllt"));
        QVERIFY(!f.control<QCheckBox>("isak")->isChecked());
        QCOMPARE(f.button("Button1")->text(), QStringLiteral("Weiter"));
        QVERIFY(!f.field(0)->isEditable());
        QCOMPARE(f.field(0)->count(), 9);
        QCOMPARE(f.act(0)->count(), 2);

        f.button("Button1")->click();
        QCOMPARE(f.folder.read("grp0fil0.txt"), conditions + "once=False\r\n");
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Filter - Aktionen"));
        QCOMPARE(f.button("Button1")->text(), QStringLiteral("OK"));
        QVERIFY(!f.control<QComboBox>("contr")->isVisible());
        QVERIFY(f.control<QCheckBox>("isak")->isVisible());
        QVERIFY(!f.field(0));

        QSignalSpy closed(f.form.data(), &FilterEditor::closed);
        f.button("Button1")->click();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(f.folder.read("grp0fil0_act.txt"), std::string());
        QTRY_VERIFY(!f.form);
        QVERIFY(!fakesComplained());
    }

    void actionRowsShowTheirListsSwappedAndFollowTheVisibilityRule()
    {
        Form f;
        f.folder.write("k.txt", "");
        f.folder.write("k_act.txt", "field0=3\r\nact0=1\r\nedit0=bleibt\r\nfield1=0\r\nact1=4\r\nedit1=Hallo %s\r\n");
        QVERIFY(f.open("k"));
        f.form->confirmPage();
        QCOMPARE(f.field(0)->count(), 6);
        QCOMPARE(f.act(0)->count(), 5);
        QCOMPARE(f.field(0)->currentText(), QStringLiteral("Trete Spiel bei"));
        QCOMPARE(f.act(1)->currentText(), QStringLiteral("Nichts"));
        // Loaded rows show both controls whatever their action.
        QVERIFY(f.edit(0)->isVisible());
        QVERIFY(f.act(0)->isVisible());
        QCOMPARE(f.inPanel(f.edit(0)).x(), 165);
        QCOMPARE(f.inPanel(f.act(0)).x(), 320);

        Form::choose(f.field(1), 3); // "Trete Spiel bei": no text
        QVERIFY(!f.edit(1)->isVisible());
        QVERIFY(f.act(1)->isVisible());
        Form::choose(f.field(1), 2); // "Gebe Sound aus": no datum
        QVERIFY(f.edit(1)->isVisible());
        QVERIFY(!f.act(1)->isVisible());
        Form::choose(f.field(1), 4); // "Färbe Eintrag ein"
        QVERIFY(!f.act(1)->isVisible());
        Form::choose(f.field(1), 5);
        QVERIFY(f.act(1)->isVisible());
        QVERIFY(f.edit(1)->isVisible());
        Form::choose(f.field(0), 4);
        QVERIFY(!f.act(0)->isVisible());

        // Hidden controls are saved like visible ones.
        f.form->confirmPage();
        QCOMPARE(f.folder.read("k_act.txt"),
                 std::string("field0=4\r\nact0=1\r\nedit0=bleibt\r\nfield1=5\r\nact1=4\r\nedit1=Hallo %s\r\n"));
    }

    void removingTheMiddleOfThreeRowsRenumbersTheLastAndDefersTheButton()
    {
        Form f;
        f.folder.write("k.txt", "");
        QVERIFY(f.open("k"));
        for (int r = 0; r < 3; ++r) {
            f.button("adder")->click();
            f.field(r)->setCurrentIndex(r);
            f.act(r)->setCurrentIndex(r % 2);
            QTest::keyClicks(f.edit(r), QString(QChar('a' + r)));
        }
        QPointer<QPushButton> pressed = f.minus(1);
        pressed->click();
        // Still there after its own click, gone once the event loop has run.
        QVERIFY(pressed);
        QVERIFY(!pressed->isVisible());
        QTRY_VERIFY(!pressed);

        QVERIFY(!f.field(2));
        QVERIFY(!f.minus(2));
        QCOMPARE(f.field(1)->currentText(), QStringLiteral("Hoster"));
        QCOMPARE(f.edit(1)->text(), QStringLiteral("c"));
        for (QWidget* w : std::initializer_list<QWidget*>{f.field(1), f.act(1), f.edit(1), f.minus(1)})
            QVERIFY(Form::sideBySide(QRect(f.inPanel(w), w->size()), QRect(f.inPanel(f.field(1)), f.field(1)->size())));
        QCOMPARE(f.inPanel(f.field(1)).y(), 40);
        // The renamed row answers to its new number.
        f.minus(1)->click();
        QVERIFY(!f.field(1));
        f.button("adder")->click();
        QCOMPARE(f.inPanel(f.field(1)).y(), 40);
        f.field(1)->setCurrentIndex(8);

        f.form->confirmPage();
        QCOMPARE(
            f.folder.read("k.txt"),
            std::string("field0=0\r\nact0=0\r\nedit0=a\r\nfield1=8\r\nact1=-1\r\nedit1=\r\ntyp=0\r\nactive=True\r\n"
                        "once=True\r\n"));
    }

    void rowsWithNothingChosenAreSavedAsMinusOneAndLoadEmpty()
    {
        Form f;
        f.folder.write("k.txt", "");
        QVERIFY(f.open("k"));
        f.form->addRow();
        QCOMPARE(f.field(0)->currentIndex(), -1);
        QCOMPARE(f.act(0)->currentIndex(), -1);
        QCOMPARE(f.edit(0)->text(), QString());
        f.control<QCheckBox>("isak")->setChecked(false);
        f.control<QComboBox>("contr")->setCurrentIndex(2);
        f.form->confirmPage();
        QCOMPARE(f.folder.read("k.txt"),
                 std::string("field0=-1\r\nact0=-1\r\nedit0=\r\ntyp=2\r\nactive=False\r\nonce=True\r\n"));

        f.form->addRow();
        QCOMPARE(f.field(0)->currentIndex(), -1);
        QCOMPARE(f.act(0)->currentText(), QStringLiteral("Nichts"));
        f.form->confirmPage();
        QCOMPARE(f.folder.read("k_act.txt"), std::string("field0=-1\r\nact0=4\r\nedit0=\r\n"));

        Form again;
        again.folder.write("k.txt", f.folder.read("k.txt"));
        QVERIFY(again.open("k"));
        QCOMPARE(again.field(0)->currentIndex(), -1);
        QCOMPARE(again.act(0)->currentIndex(), -1);
        QCOMPARE(again.control<QComboBox>("contr")->currentIndex(), 2);
    }

    void reportingOnceIsToggledAndSavedWithTheConditions_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("once=True") << QByteArray("once=True\r\n") << true << QByteArray("once=False\r\n");
        QTest::newRow("once=False") << QByteArray("once=False\r\n") << false << QByteArray("once=True\r\n");
    }
    void reportingOnceIsToggledAndSavedWithTheConditions()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, shown);
        QFETCH(QByteArray, saved);
        Form f;
        f.folder.write("k.txt", "typ=0\r\nactive=True\r\n" + stored.toStdString());
        QVERIFY(f.open("k"));
        QCheckBox* once = f.control<QCheckBox>("once");
        QCOMPARE(once->text(), QStringLiteral("Nur einmal pro Spiel melden"));
        QCOMPARE(once->isChecked(), shown);
        once->click();
        f.button("Button1")->click();
        QCOMPARE(f.folder.read("k.txt"), "typ=0\r\nactive=True\r\n" + saved.toStdString());
        QVERIFY(!once->isVisible()); // it belongs to the conditions page
    }

    void anInvalidFilterShowsTheMessageAndCloses_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("typ=x") << QByteArray("typ=x\r\n");
        QTest::newRow("active=vielleicht") << QByteArray("active=vielleicht\r\n");
        QTest::newRow("field0=zwei") << QByteArray("field0=zwei\r\nact0=1\r\n");
        QTest::newRow("missing file") << QByteArray();
    }
    void anInvalidFilterShowsTheMessageAndCloses()
    {
        QFETCH(QByteArray, content);
        Form f;
        if (!content.isEmpty()) f.folder.write("k.txt", content.toStdString());
        QSignalSpy closed(f.form.data(), &FilterEditor::closed);
        QVERIFY(!f.open("k"));
        QCOMPARE(f.dialogs.textsOf("error"),
                 (std::vector<std::string>{"Dieser Filter ist ung\xFCltig und kann nicht geladen werden."}));
        QCOMPARE(closed.count(), 1);
        QTRY_VERIFY(!f.form);
        QVERIFY(!f.folder.exists("k_act.txt"));
    }

    void aBrokenActionsFileKeepsTheRowsBeforeTheBadOne()
    {
        Form f;
        f.folder.write("k.txt", "typ=0\r\nactive=True\r\n");
        f.folder.write("k_act.txt", "field0=1\r\nact0=0\r\nedit0=eins\r\nfield1=x\r\n");
        QVERIFY(f.open("k"));
        f.form->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Filter - Aktionen"));
        QCOMPARE(f.dialogs.textsOf("message"), (std::vector<std::string>{"'x' ist kein g\xFCltiger Integerwert"}));
        QVERIFY(f.field(0));
        QVERIFY(!f.field(1));
    }

    void aFailedWriteKeepsThePageAndItsRows()
    {
        Form f;
        f.folder.write("k.txt", "field0=1\r\nact0=0\r\nedit0=x\r\n");
        QVERIFY(f.open("k"));
        std::filesystem::remove(f.folder.file("k.txt"));
        std::filesystem::create_directory(f.folder.file("k.txt"));
        f.button("Button1")->click();
        QCOMPARE(f.dialogs.textsOf("message").size(), std::size_t(1));
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Filter - Bedingungen"));
        QCOMPARE(f.edit(0)->text(), QStringLiteral("x"));
        QVERIFY(!f.folder.exists("k_act.txt"));
    }

    void thePreviewFollowsEveryChangeOfTheConditionsPage()
    {
        Form f;
        f.folder.write("k.txt", "field0=5\r\nact0=1\r\nedit0=Lobby\r\nfield1=0\r\nact1=0\r\nedit1=Burg\r\n"
                                "typ=0\r\nactive=True\r\n");
        QVERIFY(f.open("k"));
        auto* preview = f.control<quintor::ui::StyledLinesView>("preview");
        const auto mark = [&f](int r) { return f.control<QLabel>(QStringLiteral("mark%1").arg(r))->text(); };
        QCOMPARE(preview->text(), QStringLiteral("Noch keine Spiele geladen"));
        QCOMPARE(mark(0), QString());

        auto games = std::make_shared<std::vector<quintor::GameRecord>>(3);
        (*games)[0].Title = "Burgfest";
        (*games)[0].Status = "Lobby";
        (*games)[1].Title = "Wald";
        (*games)[1].Status = "Lobby";
        (*games)[2].Title = "Burg";
        (*games)[2].Status = "Laufend";
        f.form->setShownGames(games);
        QCOMPARE(preview->text(), QStringLiteral("Passt jetzt auf 1 von 3 Spielen:\n  Burgfest"));
        QCOMPARE(mark(0), QString::fromUtf8("\u2713"));

        // The combination rule, "Filter aktiv" and removing a row each count at once.
        f.control<QComboBox>("contr")->setCurrentIndex(1);
        QVERIFY(preview->text().startsWith(QStringLiteral("Passt jetzt auf 3 von 3 Spielen:")));
        f.control<QCheckBox>("isak")->setChecked(false);
        QVERIFY(preview->text().startsWith(QStringLiteral("Passt jetzt auf 0 von 3 Spielen:")));
        QCOMPARE(mark(1), QString::fromUtf8("\u2713")); // holds for two of the games
        f.control<QCheckBox>("isak")->setChecked(true);
        f.control<QComboBox>("contr")->setCurrentIndex(0);
        f.minus(0)->click();
        QCOMPARE(preview->text(), QStringLiteral("Passt jetzt auf 2 von 3 Spielen:\n  Burgfest\n  Burg"));
        QCOMPARE(f.folder.read("k.txt"), std::string("field0=5\r\nact0=1\r\nedit0=Lobby\r\nfield1=0\r\nact1=0\r\n"
                                                     "edit1=Burg\r\ntyp=0\r\nactive=True\r\n")); // nothing saved
    }

    // The captions, lists and preview follow the language; the files written stay what German writes.
    void englishCaptionsAndPreviewWithTheSameFiles()
    {
        const std::string conditions = "field0=5\r\nact0=1\r\nedit0=Lobby\r\ntyp=0\r\nactive=True\r\n";
        std::string written[2];
        for (int english = 0; english < 2; ++english) {
            std::optional<EnglishTexts> texts;
            if (english) texts.emplace();
            Form f;
            f.folder.write("k.txt", conditions);
            QVERIFY(f.open("k"));
            auto games = std::make_shared<std::vector<quintor::GameRecord>>(2);
            (*games)[0].Title = "Burgfest";
            (*games)[0].Status = "Lobby";
            (*games)[1].Status = "Laufend";
            f.form->setShownGames(games);
            const auto* preview = f.control<quintor::ui::StyledLinesView>("preview");
            if (english) {
                QCOMPARE(f.form->windowTitle(), QStringLiteral("Filter - Conditions"));
                QCOMPARE(f.field(0)->currentText(), QStringLiteral("Game state"));
                QCOMPARE(f.act(0)->currentText(), QStringLiteral("equals"));
                QCOMPARE(f.control<QCheckBox>("isak")->text(), QStringLiteral("Filter active"));
                QCOMPARE(f.button("Button1")->text(), QStringLiteral("Next"));
                QCOMPARE(preview->text(), QStringLiteral("Matches now 1 of 2 games:\n  Burgfest"));
                QVERIFY(savePicture(*f.form, QStringLiteral("english-filter.png")));
                const QStringList clipped = clippedCaptions(*f.form);
                QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
            } else {
                QCOMPARE(preview->text(), QStringLiteral("Passt jetzt auf 1 von 2 Spielen:\n  Burgfest"));
            }
            f.control<QCheckBox>("isak")->setChecked(false);
            f.button("Button1")->click();
            written[english] = f.folder.read("k.txt");
            if (english) { // the actions page
                QCOMPARE(f.form->windowTitle(), QStringLiteral("Filter - Actions"));
                const QStringList clipped = clippedCaptions(*f.form);
                QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
            }
        }
        QCOMPARE(written[1], written[0]);
        QCOMPARE(written[0],
                 std::string("field0=5\r\nact0=1\r\nedit0=Lobby\r\ntyp=0\r\nactive=False\r\nonce=False\r\n"));
    }

    void layoutFollowsTheWindowSize()
    {
        Form f;
        f.folder.write("k.txt", "field0=0\r\nact0=0\r\nedit0=Siedeln\r\nfield1=8\r\nact1=1\r\nedit1=Melee\r\n");
        f.folder.write("k_act.txt", "field0=1\r\nact0=0\r\nedit0=Neues Spiel: %s\r\nfield1=4\r\nact1=4\r\n"
                                    "edit1=Gr\xFCn\r\n");
        QVERIFY(f.open("k"));
        QCOMPARE(f.form->minimumSize(), QSize(600, 300));
        for (const QSize size : {QSize(600, 300), QSize(800, 450)}) {
            f.form->resize(size);
            const QRect pan = f.control<QFrame>("pan")->geometry();
            QCOMPARE(pan.left(), 5);
            QCOMPARE(pan.width(), size.width() - 10);
            QVERIFY(pan.top() > f.control<QLabel>("Label1")->geometry().bottom() + 5);
            const QRect button = f.button("Button1")->geometry();
            QCOMPARE(button.top(), pan.bottom() + 1 + 5);
            QCOMPARE(button.right() + 1, size.width() - 5);
            QCOMPARE(button.bottom() + 1, size.height() - 5);
            const QRect contr = f.control<QComboBox>("contr")->geometry();
            QCOMPARE(contr.left(), 5);
            QVERIFY(Form::sideBySide(contr, button));
            QCOMPARE(contr.width(), 200);
            const QRect isak = f.control<QCheckBox>("isak")->geometry();
            QCOMPARE(isak.left(), contr.right() + 1 + 5);
            QVERIFY(Form::sideBySide(isak, contr));
            QCOMPARE(f.control<QCheckBox>("once")->geometry().left(), isak.right() + 1 + 5);
            const QRect adder = f.button("adder")->geometry();
            QCOMPARE(adder.size(), QSize(43, 25));
            QCOMPARE(adder.bottomRight(), QPoint(pan.width() - 6, pan.height() - 6));
        }
        QCOMPARE(f.inPanel(f.field(1)), QPoint(10, 40));
        QCOMPARE(f.inPanel(f.act(1)).x(), 165);
        QCOMPARE(f.inPanel(f.edit(1)).x(), 320);
        QCOMPARE(f.edit(1)->width(), 145);
        QCOMPARE(f.inPanel(f.minus(1)).x(), 475);
        QCOMPARE(f.minus(1)->size(), QSize(43, 21));
        f.form->resize(600, 300);
        QVERIFY(savePicture(*f.form, QStringLiteral("filterform-conditions.png")));
        f.form->confirmPage();
        Form::choose(f.field(1), 4); // the colour row shows no datum list
        QCOMPARE(f.control<QCheckBox>("isak")->geometry().left(), 5);
        QVERIFY(savePicture(*f.form, QStringLiteral("filterform-actions.png")));
    }

    void manyRowsScrollInsideThePanelInsteadOfGrowingTheWindow()
    {
        Form f;
        f.folder.write("k.txt", "");
        QVERIFY(f.open("k"));
        f.form->resize(600, 300);
        for (int r = 0; r < 15; ++r)
            f.button("adder")->click();
        QCoreApplication::processEvents(); // the layouts settle
        QCOMPARE(f.form->size(), QSize(600, 300));
        QCOMPARE(f.form->minimumSize(), QSize(600, 300));
        const QFrame* pan = f.control<QFrame>("pan");
        QVERIFY(pan->rect().contains(QRect(f.inPanel(f.button("adder")), f.button("adder")->size())));
        QVERIFY(f.inPanel(f.field(14)).y() > pan->height()); // below the visible part, reached by scrolling
    }
};

QTEST_MAIN(TestFilterEditor)
#include "test_filtereditor.moc"
