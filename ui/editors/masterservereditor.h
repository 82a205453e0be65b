// The masterserver editor: the list of masterserver addresses.
#pragma once

#include "platform/dialogs.h"
#include "settings/textlist.h"
#include "ui/platform/windowdialog.h"

#include <string>

class QAction;
class QListWidget;
class QMenu;
class QPushButton;

namespace quintor::ui {

class MasterserverEditor : public WindowDialog {
    Q_OBJECT
public:
    static constexpr int clientWidth = 373;
    static constexpr int clientHeight = 223;
    static constexpr int minimumClientWidth = 284;
    static constexpr int minimumClientHeight = 211;

    // `defaultServer` is the address offered when adding.
    MasterserverEditor(TextList& servers, Dialogs& dialogs, std::string defaultServer, QWidget* parent = nullptr);

    void addServer();
    void deleteSelectedServer();
    // The context menu opens: "Löschen" only with an entry selected.
    void updateContextMenu();

    std::vector<std::string> entries() const;

protected:
    void fillList();
    bool writeBack() override;
    void showEvent(QShowEvent* event) override;

private:
    void appendEntry(const std::string& address);

    TextList& servers_;
    Dialogs& dialogs_;
    std::string defaultServer_;
    QListWidget* serverList_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QAction* addAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
};

} // namespace quintor::ui
