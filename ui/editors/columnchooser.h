// The column chooser: which columns the game list shows besides "Szenario".
#pragma once

#include "settings/textlist.h"
#include "ui/platform/windowdialog.h"

class QListWidget;
class QPushButton;

namespace quintor::ui {

class ColumnChooser : public WindowDialog {
    Q_OBJECT
public:
    static constexpr int clientWidth = 437;
    static constexpr int clientHeight = 293;

    explicit ColumnChooser(TextList& config, QWidget* parent = nullptr);

    // Checks the chosen columns and shows the chooser.
    void open() override;
    // "OK": stores the checked columns as "Column" + n and closes.
    void storeChosenColumns();

private:
    TextList& config_;
    QListWidget* columnList_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace quintor::ui
