#include "ui/mainwindow/gamelisttreeview.h"

namespace quintor::ui {

bool GameListTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    return QTreeView::edit(index.isValid() ? index.siblingAtColumn(0) : index, trigger, event);
}

} // namespace quintor::ui
