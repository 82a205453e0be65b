#include "ui/editors/tliform.h"

#include "refresh/columnchoice.h"
#include "ui/platform/text.h"

#include <QListWidget>
#include <QPushButton>

namespace quintor::ui {

Tliform::Tliform(TextList& config, QWidget* parent) : ClosingWindow(parent), config_(config)
{
    setObjectName(QStringLiteral("liform"));
    setWindowTitle(QStringLiteral("Quintor - Listenspalten"));
    setFixedSize(clientWidth, clientHeight);

    chklist = new QListWidget(this);
    chklist->setObjectName(QStringLiteral("chklist"));
    chklist->setGeometry(5, 5, clientWidth - 10, clientHeight - 5 - 40);
    for (std::string_view caption : columnCaptions) {
        auto* entry = new QListWidgetItem(toQt(caption), chklist);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }

    roger = new QPushButton(QStringLiteral("OK"), this);
    roger->setObjectName(QStringLiteral("roger"));
    roger->setGeometry(clientWidth - 5 - 75, clientHeight - 5 - 25, 75, 25);
    connect(roger, &QPushButton::clicked, this, &Tliform::rogerClick);
}

void Tliform::open()
{
    const std::vector<bool> chosen = chosenColumns(config_);
    for (int i = 0; i < chklist->count(); ++i)
        chklist->item(i)->setCheckState(chosen[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
    chklist->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    showCentredOver(ownerArea());
}

void Tliform::rogerClick()
{
    std::vector<std::string> checked;
    for (int i = 0; i < chklist->count(); ++i) {
        if (chklist->item(i)->checkState() == Qt::Checked)
            checked.emplace_back(columnCaptions[static_cast<std::size_t>(i)]);
    }
    storeColumnChoice(config_, checked);
    close();
}

} // namespace quintor::ui
