#include "ui/editors/detailswindow.h"

#include "refresh/friends.h"
#include "ui/platform/styledtext.h"
#include "ui/platform/text.h"
#include "ui/platform/windowlayout.h"

#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

namespace quintor::ui {

DetailsWindow::DetailsWindow(QWidget* parent) : WindowDialog(parent)
{
    setObjectName(QStringLiteral("detlist"));
    setWindowTitle(qtr("Details"));
    setMinimumSize(minimumClientWidth, minimumClientHeight);
    resize(clientWidth, clientHeight);

    // A report list: no in-place editing, no sorting, rows in the order of the record.
    table_ = new QTreeWidget(this);
    table_->setObjectName(QStringLiteral("list"));
    table_->setRootIsDecorated(false);
    table_->setItemsExpandable(false);
    table_->setSortingEnabled(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setUniformRowHeights(true);
    table_->header()->setSectionsMovable(false);
    table_->header()->setStretchLastSection(true);
    // Players' names in their hosts' colours.
    table_->setItemDelegate(new StyledTextDelegate(table_));

    friendMenu_ = new QMenu(this);
    friendMenu_->setObjectName(QStringLiteral("friendpop"));
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QTreeWidgetItem* item = table_->itemAt(at);
        if (QMenu* menu = item ? friendMenu(table_->indexOfTopLevelItem(item)) : nullptr)
            menu->popup(table_->viewport()->mapToGlobal(at));
    });

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("Button1"));
    sizeButton(okButton_);
    connect(okButton_, &QPushButton::clicked, this, &QWidget::close);

    QVBoxLayout* column = windowColumn(this);
    column->addWidget(table_, 1);
    column->addWidget(okButton_, 0, Qt::AlignRight);
}

void DetailsWindow::open(const GameRecord& entry, DetailKind kind)
{
    open(kind == DetailKind::Players ? playerTable(entry) : resourceTable(entry));
    if (kind != DetailKind::Players) return;
    for (const Player& player : entry.Players)
        players_.push_back(player.Name);
}

QMenu* DetailsWindow::friendMenu(int row)
{
    if (!friends_ || row < 0 || static_cast<std::size_t>(row) >= players_.size()) return nullptr;
    const std::string name = players_[static_cast<std::size_t>(row)];
    friendMenu_->clear();
    if (namesFriend(*friends_, name)) {
        QAction* forget = friendMenu_->addAction(qtr("Nicht mehr als Freund"));
        forget->setObjectName(QStringLiteral("NichtmehralsFreund1"));
        connect(forget, &QAction::triggered, this, [this, name] { forgetFriend(*friends_, name); });
    } else {
        QAction* remember = friendMenu_->addAction(qtr("Als Freund merken"));
        remember->setObjectName(QStringLiteral("AlsFreundmerken1"));
        const std::string line = friendLine(name);
        remember->setEnabled(!line.empty());
        connect(remember, &QAction::triggered, this, [this, line] { friends_->add(line); });
    }
    return friendMenu_;
}

void DetailsWindow::open(const DetailTable& table)
{
    players_.clear();
    table_->clear();
    QStringList headers;
    for (const auto& column : table.columns)
        headers << toQt(column);
    table_->setColumnCount(static_cast<int>(headers.size()));
    table_->setHeaderLabels(headers);
    for (int c = 0; c < table_->columnCount(); ++c)
        table_->header()->resizeSection(c, table_->header()->defaultSectionSize());

    QList<QTreeWidgetItem*> rows;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        QStringList cells;
        for (const auto& text : table.rows[r])
            cells << toQt(text);
        auto* row = new QTreeWidgetItem(cells);
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (r < table.captionSpans.size() && !table.captionSpans[r].empty())
            row->setData(0, textSpansRole, spansVariant(table.captionSpans[r]));
        rows << row;
    }
    table_->addTopLevelItems(rows);
    WindowDialog::open();
}

} // namespace quintor::ui
