// The filter tree editor: loading, the popup menu's rules, new groups and filters, opening the
// condition editor, and closing with "filter.txt" and "index.txt".
#include "filterstorefixture.h"
#include "ui/filtereditor/filtereditor.h"
#include "ui/filtereditor/filtertreeeditor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <memory>
#include <optional>

using namespace quintor::test;
using quintor::ui::FilterEditor;
using quintor::ui::FilterTreeEditor;

class TestFilterTreeEditor : public QObject {
    Q_OBJECT
private slots:
    void loadsTheTreeAndKeepsNamesAsBytes()
    {
        Editor e;
        writeStore(e.folder, {{"Liga", {"Gr\xFCn", "Siedeln"}}, {"Leer", {}}});
        e.folder.write("filter.txt", e.folder.read("filter.txt") + "grp0fil3=nach der L\374cke\r\n");
        auto& treeEditor = e.create();
        QCOMPARE(treeEditor.windowTitle(), QStringLiteral("Filterkonfiguration"));
        QCOMPARE(e.treeTexts(), (QStringList{"Liga", QString::fromUtf8("  Gr\u00fcn"), "  Siedeln", "Leer"}));
        QCOMPARE(treeEditor.keyOf(e.node(0, 1)), std::string("grp0fil1"));
        QCOMPARE(treeEditor.keyOf(e.node(1)), std::string("grp1"));
        QVERIFY(e.closeAndWait());
        QCOMPARE(e.folder.read("filter.txt"),
                 std::string("grp0=Liga\r\ngrp0fil0=Gr\xFCn\r\ngrp0fil1=Siedeln\r\ngrp1=Leer\r\n"));
        QCOMPARE(treeEditor.filters().text(), e.folder.read("filter.txt"));
        QCOMPARE(e.folder.read("index.txt"),
                 std::string("grp0fil0\r\ngrp0fil0_act\r\ngrp0fil1\r\ngrp0fil1_act\r\nfilter\r\n"));
    }

    void captionsFitAtTheSmallestSizeInBothLanguages()
    {
        for (int english = 0; english < 2; ++english) {
            std::optional<EnglishTexts> texts;
            if (english) texts.emplace();
            Editor e;
            writeStore(e.folder, {{"Liga", {"Siedeln"}}});
            auto& treeEditor = e.create();
            QCOMPARE(treeEditor.windowTitle(),
                     english ? QStringLiteral("Filter configuration") : QStringLiteral("Filterkonfiguration"));
            const QStringList clipped = clippedCaptions(treeEditor);
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
            QVERIFY(e.closeAndWait());
        }
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
        auto& treeEditor = e.create();
        if (group >= 0) e.select(group, filter);
        treeEditor.updateContextMenu();
        const QList<bool> seen{e.action("Lschen1")->isEnabled(), e.action("Editieren1")->isEnabled(),
                               e.action("Nachobenschieben1")->isEnabled(), e.action("NeuerFilter1")->isEnabled(),
                               e.action("NeueGruppe1")->isEnabled()};
        QCOMPARE(seen, enabled);
        QStringList texts;
        for (const QAction* a : treeEditor.findChild<QMenu*>(QStringLiteral("lpop"))->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{QString::fromUtf8("L\u00f6schen"), "Editieren", "Nach oben schieben", "-",
                                     "Neuer Filter", "Neue Gruppe"}));
    }

    void aNewGroupHasALineButNoFiles()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0"}}});
        const auto before = filesIn(e.folder);
        auto& treeEditor = e.create();
        e.dialogs.inputs = {std::string("Neue")};
        treeEditor.findChild<QPushButton*>(QStringLiteral("ngrp"))->click();
        QCOMPARE(e.dialogs.textsOf("input"), (std::vector<std::string>{"Neue Gruppe|Name f\xFCr neue Filtergruppe:|"}));
        QCOMPARE(filesIn(e.folder), before);
        QVERIFY(e.closeAndWait());
        QCOMPARE(e.folder.read("filter.txt"), std::string("grp0=A\r\ngrp0fil0=a0\r\ngrp1=Neue\r\n"));
        QCOMPARE(e.folder.read("index.txt"), std::string("grp0fil0\r\ngrp0fil0_act\r\nfilter\r\n"));
    }

    void filterFilesThatCannotBeReadAreNeverWrittenOver()
    {
        // Reading /proc/self/mem from its start fails, even for root: a "filter.txt" that exists but cannot
        // be read. Pressing OK used to replace it with the empty tree.
        Editor e;
        writeStore(e.folder, {{"A", {"a0"}}});
        std::filesystem::remove(e.folder.file("index.txt"));
        std::filesystem::create_symlink("/proc/self/mem", e.folder.file("index.txt"));
        auto& treeEditor = e.create();
        QVERIFY(treeEditor.unreadable());
        e.dialogs.inputs = {std::string("Neue")};
        treeEditor.findChild<QPushButton*>(QStringLiteral("ngrp"))->click();
        QCOMPARE(e.dialogs.textsOf("message"),
                 std::vector<std::string>{"Die Filterdateien konnten nicht gelesen werden; \xC4nderungen werden nicht "
                                          "gespeichert."});
        QVERIFY(e.closeAndWait());
        QVERIFY(std::filesystem::is_symlink(e.folder.file("index.txt")));
        QCOMPARE(e.folder.read("filter.txt"), std::string("grp0=A\r\ngrp0fil0=a0\r\n"));
    }

    void emptyOrCancelledNamesCreateNothing()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0"}}});
        const auto before = filesIn(e.folder);
        auto& treeEditor = e.create();
        e.dialogs.inputs = {std::string(), std::nullopt, std::string(), std::nullopt};
        treeEditor.addGroup();
        e.action("NeueGruppe1")->trigger();
        e.select(0);
        treeEditor.addFilter();
        treeEditor.addFilter();
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a0"}));
        QCOMPARE(filesIn(e.folder), before);
        QVERIFY(treeEditor.conditionEditor() == nullptr);
        QVERIFY(treeEditor.isVisible());
        QVERIFY(!fakesComplained());
    }

    void aNewFilterGetsEmptyFilesAndOpensTheEditor()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0"}}, {"B", {}}});
        auto& treeEditor = e.create();
        e.select(0, 0); // a filter selected: the new one goes to its group
        e.dialogs.inputs = {std::string("Neu")};
        treeEditor.addFilter();
        QCOMPARE(e.dialogs.textsOf("input"),
                 (std::vector<std::string>{"Neuer Filter|Namen f\xFCr neuen Filter eingeben:|"}));
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a0", "  Neu", "B"}));
        QVERIFY(e.folder.exists("grp0fil1.txt"));
        QCOMPARE(e.folder.read("grp0fil1.txt"), std::string());
        QCOMPARE(e.folder.read("grp0fil1_act.txt"), std::string());

        QPointer<FilterEditor> editor = treeEditor.conditionEditor();
        QVERIFY(editor);
        QVERIFY(editor->isVisible());
        QVERIFY(!treeEditor.isVisible());
        QCOMPARE(editor->windowTitle(), QStringLiteral("Filter - Bedingungen"));
        QCOMPARE(editor->pages().key(), std::string("grp0fil1"));
        QCOMPARE(editor->findChild<QComboBox*>(QStringLiteral("contr"))->currentIndex(), 0);
        QVERIFY(editor->findChild<QCheckBox*>(QStringLiteral("isak"))->isChecked());
        QVERIFY(editor->findChild<QCheckBox*>(QStringLiteral("once"))->isChecked()); // a new filter reports once
        QVERIFY(!editor->findChild<QComboBox*>(QStringLiteral("field0")));

        // Closed without saving: the tree editor comes back, the files stay empty.
        const QRect left(40, 30, 700, 420);
        editor->setGeometry(left);
        editor->close();
        QVERIFY(treeEditor.isVisible());
        QTRY_VERIFY(!editor);
        QCOMPARE(e.folder.read("grp0fil1.txt"), std::string());

        // A group selected: the new filter goes to its end.
        e.select(1);
        e.dialogs.inputs = {std::string("b")};
        treeEditor.addFilter();
        QVERIFY(e.folder.exists("grp1fil0_act.txt"));
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a0", "  Neu", "B", "  b"}));
        QVERIFY(treeEditor.conditionEditor());
        QCOMPARE(treeEditor.conditionEditor()->geometry(), left); // where the one before was left
        treeEditor.conditionEditor()->close();
        QVERIFY(!fakesComplained());
    }

    void editingAFilterSavesThroughBothPages()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0", "a1"}}});
        e.folder.write("grp0fil1.txt", "field0=2\r\nact0=1\r\nedit0=Foo\r\ntyp=1\r\nactive=False\r\n");
        auto& treeEditor = e.create();
        e.select(0, 1);
        treeEditor.editSelectedFilter();
        QPointer<FilterEditor> editor = treeEditor.conditionEditor();
        QVERIFY(editor);
        QVERIFY(!treeEditor.isVisible());
        editor->confirmPage();
        editor->confirmPage();
        QVERIFY(treeEditor.isVisible());
        QTRY_VERIFY(!editor);
        QCOMPARE(e.folder.read("grp0fil1.txt"),
                 std::string("field0=2\r\nact0=1\r\nedit0=Foo\r\ntyp=1\r\nactive=False\r\nonce=False\r\n"));
        QCOMPARE(e.folder.read("grp0fil1_act.txt"), std::string());
    }

    void doubleClickingAFilterEditsItAndAGroupDoesNot()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0", "a1"}}});
        auto& treeEditor = e.create();
        QVERIFY(QTest::qWaitForWindowExposed(&treeEditor));
        // As a mouse sends it: a press and release, then the second press as a double click.
        const auto doubleClick = [&e](QTreeWidgetItem* node) {
            const QPoint at = e.tree()->visualItemRect(node).center();
            QTest::mouseClick(e.tree()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(e.tree()->viewport(), Qt::LeftButton, {}, at);
        };
        doubleClick(e.node(0, 1));
        QPointer<FilterEditor> editor = treeEditor.conditionEditor();
        QVERIFY(editor);
        QCOMPARE(editor->pages().key(), std::string("grp0fil1"));
        QCOMPARE(editor->windowTitle(), QStringLiteral("Filter - Bedingungen"));
        QVERIFY(!treeEditor.isVisible());
        editor->close();
        QTRY_VERIFY(!editor);

        QVERIFY(treeEditor.isVisible());
        doubleClick(e.node(0));
        QVERIFY(!treeEditor.conditionEditor());
        QVERIFY(treeEditor.isVisible());
    }

    void editingAnInvalidFilterShowsTheMessageAndComesBack()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0"}}});
        e.folder.write("grp0fil0.txt", "typ=x\r\n");
        auto& treeEditor = e.create();
        e.select(0, 0);
        treeEditor.editSelectedFilter();
        QCOMPARE(e.dialogs.textsOf("error"),
                 (std::vector<std::string>{"Dieser Filter ist ung\xFCltig und kann nicht geladen werden."}));
        QVERIFY(treeEditor.isVisible());
        QTRY_VERIFY(treeEditor.conditionEditor() == nullptr);
        QCOMPARE(e.folder.read("grp0fil0.txt"), std::string("typ=x\r\n"));
    }

    void closingWithNoGroups()
    {
        Editor e;
        auto& treeEditor = e.create();
        QVERIFY(e.treeTexts().isEmpty());
        QVERIFY(e.closeAndWait());
        QVERIFY(!treeEditor.isVisible());
        QVERIFY(e.folder.exists("filter.txt"));
        QCOMPARE(e.folder.read("filter.txt"), std::string());
        QCOMPARE(e.folder.read("index.txt"), std::string("filter\r\n"));
        QCOMPARE(treeEditor.filters().count(), 0);
        QCOMPARE(filesIn(e.folder), (std::set<std::string>{"filter.txt", "index.txt"}));
    }

    void closingByTheCloseBoxAlsoWritesAndReportsOnce()
    {
        Editor e;
        writeStore(e.folder, {{"A", {}}});
        auto& treeEditor = e.create();
        e.dialogs.inputs = {std::string("B")};
        treeEditor.addGroup();
        treeEditor.close();
        QTRY_COMPARE(e.closedCount, 1);
        QCOMPARE(e.folder.read("filter.txt"), std::string("grp0=A\r\ngrp1=B\r\n"));
        // Opened again with the set it handed back, the tree is as it was left.
        QVERIFY(!e.handedBack.empty());
        treeEditor.open({e.handedBack.back(), std::nullopt});
        QCOMPARE(e.treeTexts(), (QStringList{"A", "B"}));
        QCOMPARE(e.closedCount, 1);
    }

    void aFailedWriteOnClosingKeepsTheWindowOpen()
    {
        Editor e;
        writeStore(e.folder, {{"A", {}}});
        auto& treeEditor = e.create();
        std::filesystem::remove(e.folder.file("filter.txt"));
        std::filesystem::create_directory(e.folder.file("filter.txt"));
        treeEditor.close();
        QCOMPARE(e.dialogs.textsOf("message").size(), std::size_t(1));
        QVERIFY(treeEditor.isVisible());
        QCoreApplication::processEvents(); // where a queued close callback would run
        QCOMPARE(e.closedCount, 0);
    }

    void layoutFollowsTheWindowSize()
    {
        Editor e;
        writeStore(e.folder, {{"Liga", {"Melee", "Siedeln"}}, {"Freunde", {"Bob"}}});
        auto& treeEditor = e.create();
        QCOMPARE(treeEditor.minimumSize(), QSize(400, 300));
        for (const QSize size : {QSize(400, 300), QSize(640, 480)}) {
            treeEditor.resize(size);
            const QRect tree = e.tree()->geometry();
            QCOMPARE(tree, QRect(5, 5, size.width() - 10, size.height() - 40));
            const QRect ngrp = treeEditor.findChild<QPushButton*>(QStringLiteral("ngrp"))->geometry();
            const QRect ok = treeEditor.findChild<QPushButton*>(QStringLiteral("Button1"))->geometry();
            QCOMPARE(ngrp.topLeft(), QPoint(5, tree.bottom() + 1 + 5));
            QCOMPARE(ok.top(), ngrp.top());
            QCOMPARE(ok.right() + 1, size.width() - 5);
            QVERIFY(ok.bottom() < size.height());
        }
        treeEditor.resize(400, 300);
        e.select(0, 1);
        QVERIFY(savePicture(treeEditor, QStringLiteral("fconf.png")));
    }
};

QTEST_MAIN(TestFilterTreeEditor)
#include "test_filtertreeeditor.moc"
