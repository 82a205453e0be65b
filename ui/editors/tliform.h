// The column chooser `liform`: which columns the game list shows besides "Szenario".
#pragma once

#include "settings/textlist.h"
#include "ui/editors/closingwindow.h"

class QListWidget;
class QPushButton;

namespace quintor::ui {

class Tliform : public ClosingWindow {
    Q_OBJECT
public:
    static constexpr int clientWidth = 437;
    static constexpr int clientHeight = 293;

    explicit Tliform(TextList& config, QWidget* parent = nullptr);

    // Listenspalten1Click's part: checks the chosen columns and shows the chooser over its owner.
    void open();
    // "OK": stores the checked columns as "Column" + n and closes.
    void rogerClick();

private:
    TextList& config_;
    QListWidget* chklist = nullptr;
    QPushButton* roger = nullptr;
};

} // namespace quintor::ui
