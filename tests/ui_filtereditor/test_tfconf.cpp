// The filter tree editor: loading, the popup menu's rules, new groups and filters, opening the
// condition editor, and closing with "filter.txt" and "index.txt".
#include "storefixture.h"
#include "ui/filtereditor/tfconf.h"
#include "ui/filtereditor/tfilterform.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <memory>

using namespace quintor::test;
using quintor::ui::Tfconf;
using quintor::ui::Tfilterform;

class TestTfconf : public QObject {
    Q_OBJECT
private slots:
    void loadsTheTreeAndKeepsNamesAsBytes()
    {
        Editor e;
        writeStore(e.folder, {{"Liga", {"Gr\xFCn", "Siedeln"}}, {"Leer", {}}});
        e.folder.write("filter.txt", e.folder.read("filter.txt") + "grp0fil3=nach der L\374cke\r\n");
        auto& fconf = e.create();
        QCOMPARE(fconf.windowTitle(), QStringLiteral("Filterkonfiguration"));
        QCOMPARE(e.treeTexts(), (QStringList{"Liga", QString::fromUtf8("  Gr\u00fcn"), "  Siedeln", "Leer"}));
        QCOMPARE(fconf.gname(e.node(0, 1)), std::string("grp0fil1"));
        QCOMPARE(fconf.gname(e.node(1)), std::string("grp1"));
        QVERIFY(e.closeAndWait());
        QCOMPARE(e.folder.read("filter.txt"),
                 std::string("grp0=Liga\r\ngrp0fil0=Gr\xFCn\r\ngrp0fil1=Siedeln\r\ngrp1=Leer\r\n"));
        QCOMPARE(fconf.filters().Text(), e.folder.read("filter.txt"));
        QCOMPARE(e.folder.read("index.txt"),
                 std::string("grp0fil0\r\ngrp0fil0_act\r\ngrp0fil1\r\ngrp0fil1_act\r\nfilter\r\n"));
    }

    void popupEnablingRules_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QList<bool>>("enabled"); // Löschen, Editieren, Nach oben, Neuer Filter, Neue Gruppe
        QTest::newRow("nothing selected") << -1 << -1 << QList<bool>{false, false, false, false, true};
        QTest::newRow("group") << 0 << -1 << QList<bool>{true, false, false, true, true};
        QTest::newRow("first filter") << 0 << 0 << QList<bool>{true, true, false, true, true};
        QTest::newRow("second filter") << 0 << 1 << QList<bool>{true, true, true, true, true};
        QTest::newRow("first filter of group 1") << 1 << 0 << QList<bool>{true, true, false, true, true};
    }
    void popupEnablingRules()
    {
        QFETCH(int, group);
        QFETCH(int, filter);
        QFETCH(QList<bool>, enabled);
        Editor e;
        writeStore(e.folder, {{"A", {"a0", "a1"}}, {"B", {"b0"}}});
        auto& fconf = e.create();
        if (group >= 0) e.select(group, filter);
        fconf.lpopPopup();
        const QList<bool> seen{e.action("Lschen1")->isEnabled(), e.action("Editieren1")->isEnabled(),
                               e.action("Nachobenschieben1")->isEnabled(), e.action("NeuerFilter1")->isEnabled(),
                               e.action("NeueGruppe1")->isEnabled()};
        QCOMPARE(seen, enabled);
        QStringList texts;
        for (const QAction* a : fconf.findChild<QMenu*>(QStringLiteral("lpop"))->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{QString::fromUtf8("L\u00f6schen"), "Editieren", "Nach oben schieben", "-",
                                     "Neuer Filter", "Neue Gruppe"}));
    }

    void aNewGroupHasALineButNoFiles()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0"}}});
        const auto before = filesIn(e.folder);
        auto& fconf = e.create();
        e.dialogs.inputs = {std::string("Neue")};
        fconf.findChild<QPushButton*>(QStringLiteral("ngrp"))->click();
        QCOMPARE(e.dialogs.textsOf("input"), (std::vector<std::string>{"Neue Gruppe|Name f\xFCr neue Filtergruppe:|"}));
        QCOMPARE(filesIn(e.folder), before);
        QVERIFY(e.closeAndWait());
        QCOMPARE(e.folder.read("filter.txt"), std::string("grp0=A\r\ngrp0fil0=a0\r\ngrp1=Neue\r\n"));
        QCOMPARE(e.folder.read("index.txt"), std::string("grp0fil0\r\ngrp0fil0_act\r\nfilter\r\n"));
    }

    void emptyOrCancelledNamesCreateNothing()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0"}}});
        const auto before = filesIn(e.folder);
        auto& fconf = e.create();
        e.dialogs.inputs = {std::string(), std::nullopt, std::string(), std::nullopt};
        fconf.ngrpClick();
        fconf.NeueGruppe1Click();
        e.select(0);
        fconf.NeuerFilter1Click();
        fconf.NeuerFilter1Click();
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a0"}));
        QCOMPARE(filesIn(e.folder), before);
        QVERIFY(fconf.conditionEditor() == nullptr);
        QVERIFY(fconf.isVisible());
        QVERIFY(!fakesComplained());
    }

    void aNewFilterGetsEmptyFilesAndOpensTheEditor()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0"}}, {"B", {}}});
        auto& fconf = e.create();
        e.select(0, 0); // a filter selected: the new one goes to its group
        e.dialogs.inputs = {std::string("Neu")};
        fconf.NeuerFilter1Click();
        QCOMPARE(e.dialogs.textsOf("input"),
                 (std::vector<std::string>{"Neuer Filter|Namen f\xFCr neuen Filter eingeben:|"}));
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a0", "  Neu", "B"}));
        QVERIFY(e.folder.exists("grp0fil1.txt"));
        QCOMPARE(e.folder.read("grp0fil1.txt"), std::string());
        QCOMPARE(e.folder.read("grp0fil1_act.txt"), std::string());

        QPointer<Tfilterform> editor = fconf.conditionEditor();
        QVERIFY(editor);
        QVERIFY(editor->isVisible());
        QVERIFY(!fconf.isVisible());
        QCOMPARE(editor->windowTitle(), QStringLiteral("Filter - Bedingungen"));
        QCOMPARE(editor->pages().key(), std::string("grp0fil1"));
        QCOMPARE(editor->findChild<QComboBox*>(QStringLiteral("contr"))->currentIndex(), 0);
        QVERIFY(editor->findChild<QCheckBox*>(QStringLiteral("isak"))->isChecked());
        QVERIFY(!editor->findChild<QComboBox*>(QStringLiteral("field0")));

        // Closed without saving: the tree editor comes back, the files stay empty.
        editor->close();
        QVERIFY(fconf.isVisible());
        QTRY_VERIFY(!editor);
        QCOMPARE(e.folder.read("grp0fil1.txt"), std::string());

        // A group selected: the new filter goes to its end.
        e.select(1);
        e.dialogs.inputs = {std::string("b")};
        fconf.NeuerFilter1Click();
        QVERIFY(e.folder.exists("grp1fil0_act.txt"));
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a0", "  Neu", "B", "  b"}));
        QVERIFY(fconf.conditionEditor());
        fconf.conditionEditor()->close();
        QVERIFY(!fakesComplained());
    }

    void editingAFilterSavesThroughBothPages()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0", "a1"}}});
        e.folder.write("grp0fil1.txt", "field0=2\r\nact0=1\r\nedit0=Foo\r\ntyp=1\r\nactive=False\r\n");
        auto& fconf = e.create();
        e.select(0, 1);
        fconf.Editieren1Click();
        QPointer<Tfilterform> editor = fconf.conditionEditor();
        QVERIFY(editor);
        QVERIFY(!fconf.isVisible());
        editor->Button1Click();
        editor->Button1Click();
        QVERIFY(fconf.isVisible());
        QTRY_VERIFY(!editor);
        QCOMPARE(e.folder.read("grp0fil1.txt"),
                 std::string("field0=2\r\nact0=1\r\nedit0=Foo\r\ntyp=1\r\nactive=False\r\nonce=False\r\n"));
        QCOMPARE(e.folder.read("grp0fil1_act.txt"), std::string());
    }

    void editingAnInvalidFilterShowsTheMessageAndComesBack()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0"}}});
        e.folder.write("grp0fil0.txt", "typ=x\r\n");
        auto& fconf = e.create();
        e.select(0, 0);
        fconf.Editieren1Click();
        QCOMPARE(e.dialogs.textsOf("error"),
                 (std::vector<std::string>{"Dieser Filter ist ung\xFCltig und kann nicht geladen werden."}));
        QVERIFY(fconf.isVisible());
        QTRY_VERIFY(fconf.conditionEditor() == nullptr);
        QCOMPARE(e.folder.read("grp0fil0.txt"), std::string("typ=x\r\n"));
    }

    void closingWithNoGroups()
    {
        Editor e;
        auto& fconf = e.create();
        QVERIFY(e.treeTexts().isEmpty());
        QVERIFY(e.closeAndWait());
        QVERIFY(!fconf.isVisible());
        QVERIFY(e.folder.exists("filter.txt"));
        QCOMPARE(e.folder.read("filter.txt"), std::string());
        QCOMPARE(e.folder.read("index.txt"), std::string("filter\r\n"));
        QCOMPARE(fconf.filters().Count(), 0);
        QCOMPARE(filesIn(e.folder), (std::set<std::string>{"filter.txt", "index.txt"}));
    }

    void closingByTheCloseBoxAlsoWritesAndReportsOnce()
    {
        Editor e;
        writeStore(e.folder, {{"A", {}}});
        auto& fconf = e.create();
        e.dialogs.inputs = {std::string("B")};
        fconf.ngrpClick();
        fconf.close();
        QTRY_COMPARE(e.closedCount, 1);
        QCOMPARE(e.folder.read("filter.txt"), std::string("grp0=A\r\ngrp1=B\r\n"));
        // Opened again, the tree is as it was left.
        fconf.open();
        QCOMPARE(e.treeTexts(), (QStringList{"A", "B"}));
        QCOMPARE(e.closedCount, 1);
    }

    void aFailedWriteOnClosingKeepsTheWindowOpen()
    {
        Editor e;
        writeStore(e.folder, {{"A", {}}});
        auto& fconf = e.create();
        std::filesystem::remove(e.folder.file("filter.txt"));
        std::filesystem::create_directory(e.folder.file("filter.txt"));
        fconf.close();
        QCOMPARE(e.dialogs.textsOf("message").size(), std::size_t(1));
        QVERIFY(fconf.isVisible());
        QCoreApplication::processEvents(); // where a queued close callback would run
        QCOMPARE(e.closedCount, 0);
    }

    void layoutFollowsTheWindowSize()
    {
        Editor e;
        writeStore(e.folder, {{"Liga", {"Melee", "Siedeln"}}, {"Freunde", {"Bob"}}});
        auto& fconf = e.create();
        QCOMPARE(fconf.minimumSize(), QSize(400, 300));
        for (const QSize size : {QSize(400, 300), QSize(640, 480)}) {
            fconf.resize(size);
            const QRect tree = e.tree()->geometry();
            QCOMPARE(tree, QRect(5, 5, size.width() - 10, size.height() - 40));
            const QRect ngrp = fconf.findChild<QPushButton*>(QStringLiteral("ngrp"))->geometry();
            const QRect ok = fconf.findChild<QPushButton*>(QStringLiteral("Button1"))->geometry();
            QCOMPARE(ngrp.topLeft(), QPoint(5, tree.bottom() + 1 + 5));
            QCOMPARE(ok.top(), ngrp.top());
            QCOMPARE(ok.right() + 1, size.width() - 5);
            QVERIFY(ok.bottom() < size.height());
        }
        fconf.resize(400, 300);
        e.select(0, 1);
        QVERIFY(fconf.grab().save(QStringLiteral(QUINTOR_TEST_OUTPUT_DIR "/fconf.png")));
    }
};

QTEST_MAIN(TestTfconf)
#include "test_tfconf.moc"
