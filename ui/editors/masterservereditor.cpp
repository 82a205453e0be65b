#include "ui/editors/masterservereditor.h"
#include "settings/translate.h"

#include "ui/platform/text.h"
#include "ui/platform/windowlayout.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>

namespace quintor::ui {
namespace {

constexpr int addressRole = Qt::UserRole; // the address as it came, in bytes

} // namespace

MasterserverEditor::MasterserverEditor(TextList& servers, Dialogs& dialogs, std::string defaultServer, QWidget* parent)
    : WindowDialog(parent), servers_(servers), dialogs_(dialogs), defaultServer_(std::move(defaultServer))
{
    setObjectName(QStringLiteral("medit"));
    setWindowTitle(qtr("Quintor - Masterserver"));
    setMinimumSize(minimumClientWidth, minimumClientHeight);
    resize(clientWidth, clientHeight);

    serverList_ = new QListWidget(this);
    serverList_->setObjectName(QStringLiteral("servlist"));
    serverList_->setSelectionMode(QAbstractItemView::SingleSelection);
    serverList_->setContextMenuPolicy(Qt::CustomContextMenu);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("Button1"));
    sizeButton(okButton_);
    connect(okButton_, &QPushButton::clicked, this, &QWidget::close);

    QVBoxLayout* column = windowColumn(this);
    column->addWidget(serverList_, 1);
    column->addWidget(okButton_, 0, Qt::AlignRight);

    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("pop"));
    addAction_ = contextMenu_->addAction(qtr("Hinzuf\u00FCgen"));
    addAction_->setObjectName(QStringLiteral("Hinzufgen1"));
    deleteAction_ = contextMenu_->addAction(qtr("L\u00F6schen"));
    deleteAction_->setObjectName(QStringLiteral("Lschen1"));
    connect(addAction_, &QAction::triggered, this, &MasterserverEditor::addServer);
    connect(deleteAction_, &QAction::triggered, this, &MasterserverEditor::deleteSelectedServer);
    connect(serverList_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        updateContextMenu();
        contextMenu_->popup(serverList_->viewport()->mapToGlobal(at));
    });
}

void MasterserverEditor::showEvent(QShowEvent* event)
{
    WindowDialog::showEvent(event);
    if (!event->spontaneous()) fillList();
}

void MasterserverEditor::fillList()
{
    serverList_->clear();
    for (const auto& address : servers_.lines())
        appendEntry(address);
}

void MasterserverEditor::appendEntry(const std::string& address)
{
    auto* entry = new QListWidgetItem(toQt(address), serverList_);
    entry->setData(addressRole, QByteArray(address.data(), static_cast<qsizetype>(address.size())));
}

void MasterserverEditor::addServer()
{
    const auto address =
        dialogs_.input(quintor::tr("Neuer Masterserver"), quintor::tr("URL des Servers?"), defaultServer_);
    if (address) appendEntry(*address);
}

void MasterserverEditor::deleteSelectedServer()
{
    const QList<QListWidgetItem*> selected = serverList_->selectedItems();
    if (selected.isEmpty()) return;
    delete selected.constFirst();
}

void MasterserverEditor::updateContextMenu()
{
    deleteAction_->setEnabled(!serverList_->selectedItems().isEmpty());
}

std::vector<std::string> MasterserverEditor::entries() const
{
    std::vector<std::string> addresses;
    for (int i = 0; i < serverList_->count(); ++i) {
        const QByteArray address = serverList_->item(i)->data(addressRole).toByteArray();
        addresses.emplace_back(address.constData(), static_cast<std::size_t>(address.size()));
    }
    return addresses;
}

bool MasterserverEditor::writeBack()
{
    servers_.clear();
    for (auto& address : entries())
        servers_.add(std::move(address));
    return true;
}

} // namespace quintor::ui
