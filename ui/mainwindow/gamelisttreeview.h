// The game list's view: a row is selected and edited as a whole.
#pragma once

#include <QTreeView>

namespace quintor::ui {

class GameListTreeView : public QTreeView {
    Q_OBJECT
public:
    // Titles, hosts and comments are drawn in their hosts' colours (StyledTextDelegate).
    explicit GameListTreeView(QWidget* parent = nullptr);

protected:
    // Only the title can be renamed, but the user may start from any column of the selected row
    // (F2, or a click on the selected row): the edit always goes to the title.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
};

} // namespace quintor::ui
