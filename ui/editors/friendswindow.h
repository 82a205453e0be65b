// The "Freunde" window: the names of "friends.txt", one a row, added, removed and edited in place.
#pragma once

#include "settings/textlist.h"
#include "ui/platform/windowdialog.h"

#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace quintor::ui {

class FriendsWindow : public WindowDialog {
    Q_OBJECT
public:
    static constexpr int clientWidth = 300;
    static constexpr int clientHeight = 320;
    static constexpr int minimumClientWidth = 234;
    static constexpr int minimumClientHeight = 161;

    explicit FriendsWindow(TextList& friends, QWidget* parent = nullptr);

    // Shows the window with one row per line of the list.
    void open() override;
    // "Hinzufügen": a new empty row, its editor open.
    void addFriend();
    // "Entfernen": the selected row goes.
    void removeSelected();

    // The rows as lines: an unedited row keeps its line byte for byte, an edited one becomes one line
    // (oneLine), and a row left empty is none.
    std::vector<std::string> rowLines() const;

protected:
    bool writeBack() override;

private:
    void appendRow(const std::string& line);

    TextList& friends_;
    QListWidget* list_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace quintor::ui
