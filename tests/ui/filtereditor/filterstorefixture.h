// A filter store in a temporary application folder, with scripted dialogs, for the filter editor tests.
#pragma once

#include "filters/filterfiles.h"
#include "filters/filtertreefiles.h"
#include "support/fakes.h"
#include "support/tempfolder.h"
#include "ui/filtereditor/filtertreeeditor.h"
#include "ui/uitestsupport.h"

#include <QAction>
#include <QPushButton>
#include <QString>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quintor::test {

// The names of the files in a folder.
inline std::set<std::string> filesIn(const TempFolder& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.insert(entry.path().filename().string());
    return names;
}

struct StoreGroup {
    std::string name;
    std::vector<std::string> filters;
};

// Writes "filter.txt" for the groups, and for each filter two files whose content names the filter,
// so a test sees where each one's files went.
inline void writeStore(const TempFolder& folder, const std::vector<StoreGroup>& groups)
{
    std::string list;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::string group = "grp" + std::to_string(g);
        list += group + "=" + groups[g].name + "\r\n";
        for (std::size_t f = 0; f < groups[g].filters.size(); ++f) {
            const std::string key = group + "fil" + std::to_string(f);
            const std::string& name = groups[g].filters[f];
            list += key + "=" + name + "\r\n";
            folder.write(key + ".txt", "edit0=" + name + "\r\n");
            folder.write(key + "_act.txt", "edit0=" + name + " act\r\n");
        }
    }
    folder.write("filter.txt", list);
}

// What writeStore put into the files of the filter with this name.
inline std::string conditionsOf(const std::string& name)
{
    return "edit0=" + name + "\r\n";
}
inline std::string actionsOf(const std::string& name)
{
    return "edit0=" + name + " act\r\n";
}

// A tree editor over a temporary application folder, open, with scripted dialogs.
struct Editor {
    TempFolder folder;
    ScriptedDialogs dialogs;
    int closedCount = 0;
    std::vector<TextList> handedBack; // each filter set the editor handed back
    std::vector<FilterKeyMapping> mappings;
    std::unique_ptr<ui::FilterTreeEditor> treeEditor;

    ui::FilterTreeEditor& create()
    {
        treeEditor = std::make_unique<ui::FilterTreeEditor>(
            folder.path(), dialogs,
            [this](const TextList& filters, const FilterKeyMapping& keys) {
                handedBack.push_back(filters);
                mappings.push_back(keys);
            },
            [this] { ++closedCount; });
        treeEditor->open(loadFilterStore(localFiles(), folder.path()));
        return *treeEditor;
    }
    QTreeWidget* tree() const { return treeEditor->findChild<QTreeWidget*>(QStringLiteral("tree")); }
    QAction* action(const char* name) const { return treeEditor->findChild<QAction*>(QString::fromLatin1(name)); }
    QTreeWidgetItem* node(int g, int f = -1) const
    {
        QTreeWidgetItem* group = tree()->topLevelItem(g);
        return f < 0 || !group ? group : group->child(f);
    }
    void select(int g, int f = -1) const { tree()->setCurrentItem(node(g, f)); }
    // Groups as they are, their filters indented by two blanks.
    QStringList treeTexts() const
    {
        QStringList texts;
        for (int g = 0; g < tree()->topLevelItemCount(); ++g) {
            texts << tree()->topLevelItem(g)->text(0);
            for (int f = 0; f < tree()->topLevelItem(g)->childCount(); ++f)
                texts << "  " + tree()->topLevelItem(g)->child(f)->text(0);
        }
        return texts;
    }
    bool closeAndWait()
    {
        const int before = closedCount;
        treeEditor->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        return QTest::qWaitFor([&] { return closedCount == before + 1; }, 5000);
    }
};

} // namespace quintor::test
