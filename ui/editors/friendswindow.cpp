#include "ui/editors/friendswindow.h"

#include "ui/platform/text.h"
#include "ui/platform/windowlayout.h"

#include <QListWidget>
#include <QPushButton>

namespace quintor::ui {
namespace {

constexpr int lineRole = Qt::UserRole; // the line as it came, in bytes

} // namespace

FriendsWindow::FriendsWindow(TextList& friends, QWidget* parent) : WindowDialog(parent), friends_(friends)
{
    setObjectName(QStringLiteral("friendedit"));
    setWindowTitle(qtr("Quintor - Freunde"));
    setMinimumSize(minimumClientWidth, minimumClientHeight);
    resize(clientWidth, clientHeight);

    // Plain texts: a list item never takes its text for markup.
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("friendlist"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    list_->setToolTip(qtr("Ein Name je Zeile; ein * am Ende steht f\u00FCr jeden Namen, der so beginnt."));

    addButton_ = new QPushButton(qtr("Hinzuf\u00FCgen"), this);
    addButton_->setObjectName(QStringLiteral("Button2"));
    sizeButton(addButton_);
    connect(addButton_, &QPushButton::clicked, this, &FriendsWindow::addFriend);
    removeButton_ = new QPushButton(qtr("Entfernen"), this);
    removeButton_->setObjectName(QStringLiteral("Button3"));
    sizeButton(removeButton_);
    connect(removeButton_, &QPushButton::clicked, this, &FriendsWindow::removeSelected);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("Button1"));
    sizeButton(okButton_);
    connect(okButton_, &QPushButton::clicked, this, &QWidget::close);

    QVBoxLayout* column = windowColumn(this);
    column->addWidget(list_, 1);
    QHBoxLayout* buttons = controlRow();
    buttons->addWidget(addButton_);
    buttons->addWidget(removeButton_);
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    column->addLayout(buttons);
}

void FriendsWindow::open()
{
    list_->clear();
    for (const std::string& line : friends_.lines())
        appendRow(line);
    WindowDialog::open();
}

void FriendsWindow::appendRow(const std::string& line)
{
    auto* item = new QListWidgetItem(toQt(line), list_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    item->setData(lineRole, QByteArray(line.data(), static_cast<qsizetype>(line.size())));
}

void FriendsWindow::addFriend()
{
    appendRow({});
    QListWidgetItem* item = list_->item(list_->count() - 1);
    list_->setCurrentItem(item);
    list_->editItem(item);
}

void FriendsWindow::removeSelected()
{
    const int row = list_->currentRow();
    if (row >= 0 && list_->currentItem()->isSelected()) delete list_->takeItem(row);
}

std::vector<std::string> FriendsWindow::rowLines() const
{
    std::vector<std::string> lines;
    for (int row = 0; row < list_->count(); ++row) {
        const QListWidgetItem* item = list_->item(row);
        const QByteArray stored = item->data(lineRole).toByteArray();
        std::string line(stored.constData(), static_cast<std::size_t>(stored.size()));
        // A pasted line break would split the name into two lines of "friends.txt".
        if (item->text() != toQt(line)) line = oneLine(fromQt(item->text()));
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

bool FriendsWindow::writeBack()
{
    // A name still being typed counts: moving the current row away commits its editor.
    list_->setCurrentIndex(QModelIndex());
    friends_ = TextList(rowLines());
    return true;
}

} // namespace quintor::ui
