#include "ui/editors/tdetlist.h"

#include "ui/platform/text.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

namespace quintor::ui {

Tdetlist::Tdetlist(QWidget* parent) : ClosingWindow(parent)
{
    setObjectName(QStringLiteral("detlist"));
    setWindowTitle(QStringLiteral("Details"));
    setMinimumWindowSize(300, 200);
    resize(clientWidth, clientHeight);

    // A report list: no in-place editing, no sorting, rows in the order of the record.
    list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("list"));
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setSortingEnabled(false);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setUniformRowHeights(true);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(true);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->resize(75, 25);
    connect(Button1, &QPushButton::clicked, this, &Tdetlist::Button1Click);

    FormResize();
}

void Tdetlist::open(const TGameEntry& entry, DetailKind kind)
{
    open(kind == DetailKind::Players ? playerTable(entry) : resourceTable(entry));
}

void Tdetlist::open(const DetailTable& table)
{
    list->clear();
    QStringList headers;
    for (const auto& column : table.columns)
        headers << toQt(column);
    list->setColumnCount(static_cast<int>(headers.size()));
    list->setHeaderLabels(headers);
    for (int c = 0; c < list->columnCount(); ++c)
        list->header()->resizeSection(c, list->header()->defaultSectionSize());

    QList<QTreeWidgetItem*> rows;
    for (const auto& texts : table.rows) {
        QStringList cells;
        for (const auto& text : texts)
            cells << toQt(text);
        auto* row = new QTreeWidgetItem(cells);
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        rows << row;
    }
    list->addTopLevelItems(rows);
    if (!isVisible()) showCentredOver(screenArea());
}

void Tdetlist::Button1Click()
{
    close();
}

void Tdetlist::resizeEvent(QResizeEvent* event)
{
    ClosingWindow::resizeEvent(event);
    FormResize();
}

void Tdetlist::FormResize()
{
    list->setGeometry(5, 5, width() - 10, height() - 5 - 35);
    Button1->move(width() - 5 - Button1->width(), list->geometry().bottom() + 1 + 5);
}

} // namespace quintor::ui
