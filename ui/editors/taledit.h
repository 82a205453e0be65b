// The alias editor `aledit`: the alias list `syno` as a grid of "Text" and "Alias".
#pragma once

#include "platform/dialogs.h"
#include "settings/textlist.h"
#include "ui/editors/closingwindow.h"

class QPushButton;
class QTableWidget;

namespace quintor::ui {

class Taledit : public ClosingWindow {
    Q_OBJECT
public:
    static constexpr int clientWidth = 440;
    static constexpr int clientHeight = 335;

    Taledit(TextList& syno, Dialogs& dialogs, QWidget* parent = nullptr);

    // Aliaseditor1Click's part: shows the editor over its owner with one row per line of `syno`.
    void open();
    // "Hinzufügen": asks for a text and appends the line text + "= ".
    void Button2Click();
    // "OK".
    void Button1Click();

    // The grid's lines, in order: a row whose alias was not edited keeps its line byte for byte.
    std::vector<std::string> gridLines() const;

protected:
    void FormClose() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void appendLine(const std::string& line);
    void FormResize();

    TextList& syno_;
    Dialogs& dialogs_;
    QTableWidget* valedit = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace quintor::ui
