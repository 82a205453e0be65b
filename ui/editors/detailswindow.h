// The details window: the players or the resource files of one game, as a read-only table.
#pragma once

#include "reference/gameentry.h"
#include "refresh/detailtexts.h"
#include "ui/platform/windowdialog.h"

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

private:
    QTreeWidget* table_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace quintor::ui
