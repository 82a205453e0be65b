// The filter editor: one filter's conditions ("Filter - Bedingungen"), then its actions
// ("Filter - Aktionen"), as rows of four controls over the page logic of FilterPages. Made for one
// filter by the tree editor and destroyed when it closes.
#pragma once

#include "filters/filterpage.h"
#include "platform/dialogs.h"
#include "reference/gameentry.h"
#include "ui/platform/windowdialog.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quintor::ui {

class StyledLinesView;

class FilterEditor : public WindowDialog {
    Q_OBJECT
public:
    static constexpr int minimumClientWidth = 600;
    static constexpr int minimumClientHeight = 300;

    // With `savesNothing` (the filter files could not be read at start) the pages write nothing.
    FilterEditor(std::string appFolder, Dialogs& dialogs, bool savesNothing = false, QWidget* parent = nullptr);

    // Loads key + ".txt" into the conditions page. False when the filter is invalid: the message has
    // been shown and the window is closing (it must not be shown then).
    bool loadFilter(const std::string& key);

    void addRow();
    // "Weiter" on the conditions page, "OK" on the actions page.
    void confirmPage();

    const FilterPages& pages() const { return pages_; }

    // The games the main window last showed (null before its first refresh), for the preview of what
    // the conditions page catches.
    using ShownGames = std::shared_ptr<const std::vector<GameRecord>>;
    void setShownGames(ShownGames games);

signals:
    // The window is done with (saved, closed or found invalid) and about to be destroyed.
    void closed();
    // "Weiter" wrote other conditions than the filter had: what it remembers of the games it reported no
    // longer holds.
    void conditionsChanged(const std::string& key);

private:
    struct RowControls {
        QComboBox* fieldBox = nullptr;
        QComboBox* choiceBox = nullptr;
        QLineEdit* textEdit = nullptr;
        QPushButton* removeButton = nullptr;
        QLabel* mark = nullptr; // whether the condition holds, on the conditions page
    };

    void createControls();
    QWidget* createRowPanel();
    void showPage();
    void addRowControls(int r);
    // Puts every row into a fresh grid, in row order, and names its controls after its number.
    void layOutRows();
    void removeAllRows();
    void removeRow(QPushButton* minus);
    void chooseAction(QComboBox* field, int action);
    // The number of the row that holds `control` (one of its four), if any.
    std::optional<int> rowOf(const QWidget* control) const;
    void finish();
    // The preview line and the rows' marks, from the conditions page as it stands.
    void updatePreview();

    std::string appFolder_;
    Dialogs& dialogs_;
    FilterPages pages_;
    // In row order: row r's controls are named with r.
    std::vector<RowControls> rows_;
    bool finished_ = false;
    ShownGames shownGames_;

    QLabel* introLabel_ = nullptr;
    QFrame* rowPanel_ = nullptr;
    QWidget* rowArea_ = nullptr;
    QGridLayout* rowGrid_ = nullptr;
    QPushButton* addRowButton_ = nullptr;
    QPushButton* pageButton_ = nullptr;
    QComboBox* combinationBox_ = nullptr;
    QCheckBox* activeBox_ = nullptr;
    QCheckBox* onceBox_ = nullptr;
    StyledLinesView* previewLines_ = nullptr;
};

} // namespace quintor::ui
