// What deleting and moving up do to the filter store's files, through the tree editor: later
// filters' or groups' files follow their positions, and moving up swaps two filters' files and names or
// changes nothing.
#include "filterstorefixture.h"

#include <QtTest>

#include <filesystem>

using namespace quintor::test;

class TestFilterTreeFiles : public QObject {
    Q_OBJECT
private slots:
    void deletingTheFirstOfThreeFiltersMovesTheOthersDown()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0", "a1", "a2"}}, {"B", {"b0"}}});
        auto& treeEditor = e.create();
        e.select(0, 0);
        e.dialogs.answers = {true};
        treeEditor.deleteSelected();
        QCOMPARE(e.dialogs.textsOf("warningYesNo"), (std::vector<std::string>{"a0 wirklich l\xF6schen?"}));
        QCOMPARE(e.folder.read("grp0fil0.txt"), conditionsOf("a1"));
        QCOMPARE(e.folder.read("grp0fil0_act.txt"), actionsOf("a1"));
        QCOMPARE(e.folder.read("grp0fil1.txt"), conditionsOf("a2"));
        QCOMPARE(e.folder.read("grp0fil1_act.txt"), actionsOf("a2"));
        QVERIFY(!e.folder.exists("grp0fil2.txt"));
        QVERIFY(!e.folder.exists("grp0fil2_act.txt"));
        QCOMPARE(e.folder.read("grp1fil0.txt"), conditionsOf("b0"));
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a1", "  a2", "B", "  b0"}));
        // The list and the index follow at once, so a crash before closing leaves names and files in step.
        const std::string list("grp0=A\r\ngrp0fil0=a1\r\ngrp0fil1=a2\r\ngrp1=B\r\ngrp1fil0=b0\r\n");
        QCOMPARE(treeEditor.filters().value("grp0fil0"), std::string("a1"));
        QCOMPARE(e.folder.read("filter.txt"), list);
        QCOMPARE(e.folder.read("index.txt"), std::string("grp0fil0\r\ngrp0fil0_act\r\ngrp0fil1\r\ngrp0fil1_act\r\n"
                                                         "grp1fil0\r\ngrp1fil0_act\r\nfilter\r\n"));
        QVERIFY(e.closeAndWait());
        QCOMPARE(e.folder.read("filter.txt"), list);
        QVERIFY(!fakesComplained());
    }

    void answeringNoDeletesNothing()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0", "a1"}}});
        const auto before = filesIn(e.folder);
        auto& treeEditor = e.create();
        e.select(0);
        e.dialogs.answers = {false};
        treeEditor.deleteSelected();
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a0", "  a1"}));
        QCOMPARE(filesIn(e.folder), before);
        QCOMPARE(e.folder.read("grp0fil0.txt"), conditionsOf("a0"));
    }

    void deletingAGroupAmongFourMovesTheLaterGroupsFiles()
    {
        Editor e;
        writeStore(e.folder, {{"G0", {"p"}}, {"G1", {"q0", "q1"}}, {"G2", {"r0", "r1"}}, {"G3", {"s0"}}});
        auto& treeEditor = e.create();
        e.select(1);
        e.dialogs.answers = {true};
        treeEditor.deleteSelected();
        QCOMPARE(e.folder.read("grp0fil0.txt"), conditionsOf("p"));
        QCOMPARE(e.folder.read("grp1fil0.txt"), conditionsOf("r0"));
        QCOMPARE(e.folder.read("grp1fil1_act.txt"), actionsOf("r1"));
        QCOMPARE(e.folder.read("grp2fil0.txt"), conditionsOf("s0"));
        QCOMPARE(e.folder.read("grp2fil0_act.txt"), actionsOf("s0"));
        for (const char* gone : {"grp2fil1.txt", "grp2fil1_act.txt", "grp3fil0.txt", "grp3fil0_act.txt"})
            QVERIFY2(!e.folder.exists(gone), gone);
        QVERIFY(e.closeAndWait());
        QCOMPARE(e.folder.read("filter.txt"), std::string("grp0=G0\r\ngrp0fil0=p\r\ngrp1=G2\r\ngrp1fil0=r0\r\n"
                                                          "grp1fil1=r1\r\ngrp2=G3\r\ngrp2fil0=s0\r\n"));
    }

    void aFilterTakesItsFilesAlongOverAStrayFile()
    {
        Editor e;
        writeStore(e.folder, {{"G0", {"q0"}}, {"G1", {"r0", "r1"}}});
        // A file no listed filter owns, under a key that a moved filter takes: once it stopped the move of that
        // one file, and r1 ended up with the stray conditions and its own actions.
        e.folder.write("grp0fil1.txt", "stray\r\n");
        auto& treeEditor = e.create();
        e.select(0);
        e.dialogs.answers = {true};
        treeEditor.deleteSelected();
        QCOMPARE(e.folder.read("grp0fil0.txt"), conditionsOf("r0"));
        QCOMPARE(e.folder.read("grp0fil1.txt"), conditionsOf("r1"));
        QCOMPARE(e.folder.read("grp0fil1_act.txt"), actionsOf("r1"));
        QVERIFY(!e.folder.exists("grp1fil0.txt"));
        QVERIFY(!e.folder.exists("grp1fil1.txt"));
        QCOMPARE(e.treeTexts(), (QStringList{"G1", "  r0", "  r1"}));
    }

    void movingUpSwapsNamesAndFilesAndWritesTheListAtOnce()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0", "a1", "a2"}}, {"B", {"b0"}}});
        auto& treeEditor = e.create();
        e.select(0, 2);
        treeEditor.moveSelectedFilterUp();
        QCOMPARE(e.folder.read("filter.txt"),
                 std::string("grp0=A\r\ngrp0fil0=a0\r\ngrp1=B\r\ngrp1fil0=b0\r\ngrp0fil1=a2\r\ngrp0fil2=a1\r\n"));
        QCOMPARE(treeEditor.filters().text(), e.folder.read("filter.txt"));
        QCOMPARE(e.folder.read("index.txt"), std::string("grp0fil0\r\ngrp0fil0_act\r\ngrp0fil1\r\ngrp0fil1_act\r\n"
                                                         "grp0fil2\r\ngrp0fil2_act\r\ngrp1fil0\r\ngrp1fil0_act\r\n"
                                                         "filter\r\n"));
        QCOMPARE(e.folder.read("grp0fil1.txt"), conditionsOf("a2"));
        QCOMPARE(e.folder.read("grp0fil1_act.txt"), actionsOf("a2"));
        QCOMPARE(e.folder.read("grp0fil2.txt"), conditionsOf("a1"));
        QCOMPARE(e.folder.read("grp0fil2_act.txt"), actionsOf("a1"));
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a0", "  a2", "  a1", "B", "  b0"}));
        // The moved filter stays selected, so it can go on moving.
        QCOMPARE(e.tree()->currentItem(), e.node(0, 1));
    }

    void movingUpKeepsWhatChangedSinceTheLastLoad()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0", "a1", "a2"}}});
        auto& treeEditor = e.create();
        e.select(0, 0);
        e.dialogs.answers = {true};
        treeEditor.deleteSelected(); // a0 goes; a1 and a2 now have keys 0 and 1
        e.dialogs.inputs = {std::string("Neu")};
        treeEditor.addGroup();
        e.select(0, 1);
        treeEditor.moveSelectedFilterUp();
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a2", "  a1", "Neu"}));
        QCOMPARE(e.folder.read("grp0fil0.txt"), conditionsOf("a2"));
        QCOMPARE(e.folder.read("grp0fil1.txt"), conditionsOf("a1"));
        QCOMPARE(e.folder.read("filter.txt"), std::string("grp0=A\r\ngrp1=Neu\r\ngrp0fil0=a2\r\ngrp0fil1=a1\r\n"));
        QVERIFY(!fakesComplained());
    }

    void movingUpWithAMissingFileChangesNothing()
    {
        Editor e;
        writeStore(e.folder, {{"A", {"a0", "a1"}}});
        std::filesystem::remove(e.folder.file("grp0fil0_act.txt"));
        const std::string list = e.folder.read("filter.txt");
        auto& treeEditor = e.create();
        e.select(0, 1);
        // As the user does it: through the menu, whose handler reports what it raises.
        treeEditor.updateContextMenu();
        e.action("Nachobenschieben1")->trigger();
        QCOMPARE(e.dialogs.textsOf("message").size(), std::size_t(1));
        QVERIFY(QString::fromStdString(e.dialogs.textsOf("message")[0]).contains("grp0fil0_act.txt"));
        QCOMPARE(e.folder.read("filter.txt"), list);
        QCOMPARE(e.folder.read("grp0fil0.txt"), conditionsOf("a0"));
        QCOMPARE(e.folder.read("grp0fil1.txt"), conditionsOf("a1"));
        QCOMPARE(e.folder.read("grp0fil1_act.txt"), actionsOf("a1"));
        QCOMPARE(e.treeTexts(), (QStringList{"A", "  a0", "  a1"}));
    }
};

QTEST_MAIN(TestFilterTreeFiles)
#include "test_filtertreefiles.moc"
