// The window `fconf` ("Filterkonfiguration"): the filters in named groups as a two-level tree. It owns
// the filter list `filters` that the evaluation reads, and keeps each filter's files under the key
// of its position. Made once at start-up; closing it only hides it.
#pragma once

#include "platform/dialogs.h"
#include "settings/textlist.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quintor::ui {

class Tfilterform;

class Tfconf : public QWidget {
    Q_OBJECT
public:
    static constexpr int minimumClientWidth = 400;
    static constexpr int minimumClientHeight = 300;

    // Loads "filter.txt" from `appFolder` (ending with the separator). `onClosed` runs once the window
    // has closed and written the filter files: the main window shows itself and runs a refresh.
    Tfconf(std::string appFolder, Dialogs& dialogs, std::function<void()> onClosed, QWidget* parent = nullptr);
    ~Tfconf() override;

    // The filter list as last loaded or written; the filter engine reads it on every refresh.
    const TextList& filters() const { return filters_; }

    // Shows the window (the main window hides itself).
    void open();

    // Handlers, named after their controls.
    void lpopPopup();
    void Lschen1Click();
    void Editieren1Click();
    void Nachobenschieben1Click();
    void NeuerFilter1Click();
    void NeueGruppe1Click();
    void ngrpClick();
    void Button1Click();

    // The key of a group or filter node, from its position.
    std::string gname(QTreeWidgetItem* node) const;

    // The condition and action editor while it is open, else null.
    Tfilterform* conditionEditor() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void FormResize();
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
    std::function<void()> onClosed_;
    TextList filters_;
    QPointer<Tfilterform> editor_;

    QTreeWidget* tree = nullptr;
    QPushButton* ngrp = nullptr;
    QPushButton* Button1 = nullptr;
    QMenu* lpop = nullptr;
    QAction* Lschen1 = nullptr;
    QAction* Editieren1 = nullptr;
    QAction* Nachobenschieben1 = nullptr;
    QAction* NeuerFilter1 = nullptr;
    QAction* NeueGruppe1 = nullptr;
};

} // namespace quintor::ui
