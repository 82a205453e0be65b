// The details window: the players or the resource files of one game, as a read-only table.
#pragma once

#include "reference/gameentry.h"
#include "refresh/detailtexts.h"
#include "settings/textlist.h"
#include "ui/platform/windowdialog.h"

#include <string>
#include <vector>

class QMenu;
class QPushButton;
class QTreeWidget;

namespace quintor::ui {

enum class DetailKind { Players, Resources };

class DetailsWindow : public WindowDialog {
    Q_OBJECT
public:
    static constexpr int clientWidth = 450;
    static constexpr int clientHeight = 280;
    static constexpr int minimumClientWidth = 284;
    static constexpr int minimumClientHeight = 161;

    explicit DetailsWindow(QWidget* parent = nullptr);

    // Replaces columns and rows by the game's players or resource files (a snapshot) and shows the
    // window.
    void open(const GameRecord& entry, DetailKind kind);
    void open(const DetailTable& table);

    // The friends' list that a player's context menu changes; none: no such menu.
    void setFriendList(TextList* friends) { friends_ = friends; }
    // The context menu of a player's row: "Als Freund merken", or "Nicht mehr als Freund" when a line of
    // the list names the player. Null for a row that is no player's.
    QMenu* friendMenu(int row);

private:
    QTreeWidget* table_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QMenu* friendMenu_ = nullptr;
    TextList* friends_ = nullptr;
    std::vector<std::string> players_; // the names of the rows, while they are players
};

} // namespace quintor::ui
