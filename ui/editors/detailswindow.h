// The details window: the players or the resource files of one game, as a read-only table.
#pragma once

#include "reference/gameentry.h"
#include "refresh/detailtexts.h"
#include "ui/editors/closingwindow.h"

class QPushButton;
class QTreeWidget;

namespace quintor::ui {

enum class DetailKind { Players, Resources };

class DetailsWindow : public ClosingWindow {
    Q_OBJECT
public:
    static constexpr int clientWidth = 450;
    static constexpr int clientHeight = 280;

    explicit DetailsWindow(QWidget* parent = nullptr);

    // Replaces columns and rows by the game's players or resource files (a snapshot) and shows the
    // window centred on the screen.
    void open(const GameRecord& entry, DetailKind kind);
    void open(const DetailTable& table);

private:
    QTreeWidget* table_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace quintor::ui
