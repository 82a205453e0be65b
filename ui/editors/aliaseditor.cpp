#include "ui/editors/aliaseditor.h"
#include "settings/translate.h"

#include "settings/storedlines.h"
#include "ui/platform/text.h"
#include "ui/platform/windowlayout.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace quintor::ui {
namespace {

constexpr int lineRole = Qt::UserRole;  // on the "Text" cell: the line as it came, in bytes
constexpr int valueRole = Qt::UserRole; // on the "Alias" cell: the value as it came, for display

QByteArray bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fromBytes(const QByteArray& data)
{
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

} // namespace

AliasEditor::AliasEditor(TextList& aliases, Dialogs& dialogs, QWidget* parent)
    : WindowDialog(parent), aliases_(aliases), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("aledit"));
    setWindowTitle(qtr("Quintor - Aliaseditor"));
    setMinimumSize(minimumClientWidth, minimumClientHeight);
    resize(clientWidth, clientHeight);

    grid_ = new QTableWidget(0, 2, this);
    grid_->setObjectName(QStringLiteral("valedit"));
    grid_->setHorizontalHeaderLabels({qtr("Text"), qtr("Alias")});
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionsMovable(false);
    grid_->horizontalHeader()->setSectionsClickable(false);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setColumnWidth(0, 131);
    grid_->setColumnWidth(1, 293);
    grid_->setSortingEnabled(false);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    // The alias cells behave as if always in edit mode: a click or a key starts editing.
    grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("Button1"));
    sizeButton(okButton_);
    connect(okButton_, &QPushButton::clicked, this, &QWidget::close);

    addButton_ = new QPushButton(qtr("Hinzuf\u00FCgen"), this);
    addButton_->setObjectName(QStringLiteral("Button2"));
    sizeButton(addButton_); // the caption is longer than "OK"
    connect(addButton_, &QPushButton::clicked, this, &AliasEditor::addAlias);

    QVBoxLayout* column = windowColumn(this);
    column->addWidget(grid_, 1);
    QHBoxLayout* buttons = controlRow();
    buttons->addWidget(addButton_);
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    column->addLayout(buttons);
}

void AliasEditor::open()
{
    grid_->setRowCount(0);
    for (const auto& line : aliases_.lines())
        appendLine(line);
    WindowDialog::open();
}

void AliasEditor::appendLine(const std::string& line)
{
    const std::size_t eq = line.find('=');
    const std::string name = line.substr(0, eq);
    const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);

    const int row = grid_->rowCount();
    grid_->insertRow(row);
    auto* text = new QTableWidgetItem(toQt(name));
    text->setFlags(Qt::ItemIsEnabled); // read-only, and not even selectable
    text->setData(lineRole, bytes(line));
    grid_->setItem(row, 0, text);
    auto* alias = new QTableWidgetItem(toQt(value));
    alias->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    alias->setData(valueRole, toQt(value));
    grid_->setItem(row, 1, alias);
}

void AliasEditor::addAlias()
{
    const auto entered =
        dialogs_.input(quintor::tr("Alias hinzuf\xFCgen"), quintor::tr("Neuen Alias hinzuf\xFCgen f\xFCr:"), "");
    if (!entered) return;
    // A pasted line break would split the entry into two lines of "syno.txt".
    appendLine(aliasLine(*entered, " "));
    grid_->scrollToBottom();
}

std::vector<std::string> AliasEditor::gridLines() const
{
    std::vector<std::string> lines;
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const std::string line = fromBytes(grid_->item(row, 0)->data(lineRole).toByteArray());
        const QTableWidgetItem* alias = grid_->item(row, 1);
        if (alias->text() == alias->data(valueRole).toString()) {
            lines.push_back(line);
        } else {
            // Only the alias is edited; the text before the first "=" stays as it came.
            lines.push_back(aliasLine(line.substr(0, line.find('=')), fromQt(alias->text())));
        }
    }
    return lines;
}

bool AliasEditor::writeBack()
{
    // An alias still being typed counts: moving the current cell away commits its editor.
    grid_->setCurrentIndex(QModelIndex());
    aliases_.clear();
    for (auto& line : gridLines())
        aliases_.add(std::move(line));
    return true;
}

} // namespace quintor::ui
