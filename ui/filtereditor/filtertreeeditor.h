// The filter tree editor ("Filterkonfiguration"): the filters in named groups as a two-level tree.
// It edits a copy of the program's filter set, keeps each filter's files under the key of its position,
// and hands the set back whenever it has written "filter.txt". Made once at start-up; closing it only
// hides it.
#pragma once

#include "filters/filtertreefiles.h"
#include "platform/dialogs.h"
#include "reference/gameentry.h"
#include "settings/textlist.h"
#include "ui/platform/windowdialog.h"

#include <QByteArray>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quintor::ui {

class FilterEditor;

class FilterTreeEditor : public WindowDialog {
    Q_OBJECT
public:
    static constexpr int minimumClientWidth = 400;
    static constexpr int minimumClientHeight = 300;

    // Receives the filter set each time "filter.txt" has been written, with where each filter's key went.
    using Written = std::function<void(const TextList& filters, const FilterKeyMapping& keys)>;

    // The filter files live in `appFolder` (ending with the separator). `onClosed` runs once the window has
    // closed and written the filter files: the main window shows itself and runs a refresh.
    FilterTreeEditor(std::string appFolder, Dialogs& dialogs, Written written, std::function<void()> onClosed,
                     QWidget* parent = nullptr);

    // Receives the key of a filter whose conditions the condition editor changed.
    void setOnConditionsChanged(std::function<void(const std::string& key)> changed)
    {
        conditionsChanged_ = std::move(changed);
    }
    ~FilterTreeEditor() override;

    // The filter set as opened or last written.
    const TextList& filters() const { return filters_; }
    // Why the filter files read at start cannot be trusted (kFilterFilesUnreadable is the message), or nothing.
    const std::optional<std::string>& unreadable() const { return unreadable_; }

    // Shows the window with the program's filter store (the main window hides itself). When the store could
    // not be read, says so the first time and saves nothing.
    void open(const FilterStoreLoad& store);
    // The program ends: when the window (or its condition editor) is open, the filter files are written
    // as closing would, without handing back to the main window. FileError when they cannot be.
    void writeForQuit();

    // Handlers, named after their controls.
    void updateContextMenu();
    void deleteSelected();
    void editSelectedFilter();
    void moveSelectedFilterUp();
    void addFilter();
    void addGroup();

    // The key of a group or filter node, from its position.
    std::string keyOf(QTreeWidgetItem* node) const;

    // The condition and action editor while it is open, else null.
    FilterEditor* conditionEditor() const;

    // The games the main window shows after each refresh, for the condition editor's preview.
    void setShownGames(std::shared_ptr<const std::vector<GameRecord>> games);
    // Whether it or its condition editor is open: then the preview wants the games of each refresh.
    bool showsGames() const;

protected:
    // Writes the filter files; when they cannot be written the window stays open.
    bool writeBack() override;

private:
    void showFilters();
    // Plans and carries out a change of the tree's files; the tree then shows the new list.
    FilterTreePlan change(const FilterTreeChange& requested);
    void writeFilterFiles();
    void createControls();
    void createMenu();
    QTreeWidgetItem* selectedNode() const;
    QTreeWidgetItem* addGroupNode(const std::string& name);
    QTreeWidgetItem* addFilterNode(QTreeWidgetItem* group, const std::string& name);
    void openEditor(const std::string& key);
    // The tree as a filter list: each group's line, then its filters' lines.
    TextList treeAsList() const;
    void handle(const std::function<void()>& handler);

    std::string appFolder_;
    Dialogs& dialogs_;
    Written written_;
    std::function<void(const std::string& key)> conditionsChanged_;
    bool unreadableShown_ = false;
    TextList filters_;
    std::optional<std::string> unreadable_;
    QPointer<FilterEditor> editor_;
    // Where the last condition editor was left, for the next one.
    QByteArray editorBounds_;
    std::shared_ptr<const std::vector<GameRecord>> shownGames_;

    QTreeWidget* tree_ = nullptr;
    QPushButton* newGroupButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* editAction_ = nullptr;
    QAction* moveUpAction_ = nullptr;
    QAction* newFilterAction_ = nullptr;
    QAction* newGroupAction_ = nullptr;
};

} // namespace quintor::ui
