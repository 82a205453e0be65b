// The alias editor: the alias list as a grid of "Text" and "Alias".
#pragma once

#include "platform/dialogs.h"
#include "settings/textlist.h"
#include "ui/platform/windowdialog.h"

class QPushButton;
class QTableWidget;

namespace quintor::ui {

class AliasEditor : public WindowDialog {
    Q_OBJECT
public:
    static constexpr int clientWidth = 440;
    static constexpr int clientHeight = 335;
    static constexpr int minimumClientWidth = 284;
    static constexpr int minimumClientHeight = 211;

    AliasEditor(TextList& aliases, Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the editor with one row per line of the alias list.
    void open() override;
    // "Hinzufügen": asks for a text and appends the line text + "= ".
    void addAlias();

    // The grid's lines, in order: a row whose alias was not edited keeps its line byte for byte.
    std::vector<std::string> gridLines() const;

protected:
    bool writeBack() override;

private:
    void appendLine(const std::string& line);

    TextList& aliases_;
    Dialogs& dialogs_;
    QTableWidget* grid_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* addButton_ = nullptr;
};

} // namespace quintor::ui
