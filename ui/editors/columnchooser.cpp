#include "ui/editors/columnchooser.h"
#include "settings/translate.h"

#include "refresh/columnchoice.h"
#include "ui/platform/text.h"
#include "ui/platform/windowlayout.h"

#include <QListWidget>
#include <QPushButton>

namespace quintor::ui {

ColumnChooser::ColumnChooser(TextList& config, QWidget* parent) : WindowDialog(parent), config_(config)
{
    setObjectName(QStringLiteral("liform"));
    setWindowTitle(qtr("Quintor - Listenspalten"));
    setFixedSize(clientWidth, clientHeight);

    columnList_ = new QListWidget(this);
    columnList_->setObjectName(QStringLiteral("chklist"));
    for (std::string_view caption : columnCaptions) {
        auto* entry = new QListWidgetItem(toQt(translateText(caption)), columnList_);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("roger"));
    sizeButton(okButton_);
    connect(okButton_, &QPushButton::clicked, this, &ColumnChooser::storeChosenColumns);

    QVBoxLayout* column = windowColumn(this);
    column->addWidget(columnList_, 1);
    column->addWidget(okButton_, 0, Qt::AlignRight);
}

void ColumnChooser::open()
{
    const std::vector<bool> chosen = chosenColumns(config_);
    for (int i = 0; i < columnList_->count(); ++i)
        columnList_->item(i)->setCheckState(chosen[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
    columnList_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    WindowDialog::open();
}

void ColumnChooser::storeChosenColumns()
{
    std::vector<std::string> checked;
    for (int i = 0; i < columnList_->count(); ++i) {
        if (columnList_->item(i)->checkState() == Qt::Checked)
            checked.emplace_back(columnCaptions[static_cast<std::size_t>(i)]);
    }
    storeColumnChoice(config_, checked);
    close();
}

} // namespace quintor::ui
