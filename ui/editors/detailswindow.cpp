#include "ui/editors/detailswindow.h"

#include "ui/platform/styledtext.h"
#include "ui/platform/text.h"
#include "ui/platform/windowlayout.h"

#include <QHeaderView>
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
}

void DetailsWindow::open(const DetailTable& table)
{
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
