#include "ui/mainwindow/gamelisttreeview.h"

#include "ui/platform/styledtext.h"

namespace quintor::ui {

GameListTreeView::GameListTreeView(QWidget* parent) : QTreeView(parent)
{
    setItemDelegate(new StyledTextDelegate(this));
}

bool GameListTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    return QTreeView::edit(index.isValid() ? index.siblingAtColumn(0) : index, trigger, event);
}

} // namespace quintor::ui
