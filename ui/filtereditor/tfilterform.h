// The window `filterform`: one filter's conditions ("Filter - Bedingungen"), then its actions
// ("Filter - Aktionen"), as rows of four controls over the page logic of FilterPages. Made for one
// filter by the tree editor and destroyed when it closes.
#pragma once

#include "filters/filterpage.h"
#include "platform/dialogs.h"

#include <QWidget>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quintor::ui {

class Tfilterform : public QWidget {
    Q_OBJECT
public:
    static constexpr int minimumClientWidth = 600;
    static constexpr int minimumClientHeight = 300;

    Tfilterform(std::string appFolder, Dialogs& dialogs, QWidget* parent = nullptr);

    // Loads key + ".txt" into the conditions page. False when the filter is invalid: the message has
    // been shown and the window is closing (it must not be shown then).
    bool updatefil(const std::string& key);

    void adderClick();
    // "Weiter" on the conditions page, "OK" on the actions page.
    void Button1Click();

    const FilterPages& pages() const { return pages_; }

signals:
    // The window is done with (saved, closed or found invalid) and about to be destroyed.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct RowControls {
        QComboBox* field = nullptr;
        QComboBox* act = nullptr;
        QLineEdit* edit = nullptr;
        QPushButton* minus = nullptr;
    };

    void FormCreate();
    void FormResize();
    void showPage();
    void addRowControls(int r);
    void placeRow(int r);
    void removeAllRows();
    void minusclick(QPushButton* minus);
    void fieldactselect(QComboBox* field, int action);
    std::optional<int> rowOf(const QWidget* control, std::string_view prefix) const;
    void finish();

    std::string appFolder_;
    Dialogs& dialogs_;
    FilterPages pages_;
    // In creation order, which is also row order: row r's controls are named with r.
    std::vector<RowControls> rows_;
    bool finished_ = false;

    QLabel* Label1 = nullptr;
    QFrame* pan = nullptr;
    QPushButton* adder = nullptr;
    QPushButton* Button1 = nullptr;
    QComboBox* contr = nullptr;
    QCheckBox* isak = nullptr;
};

} // namespace quintor::ui
