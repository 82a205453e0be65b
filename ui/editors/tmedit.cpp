#include "ui/editors/tmedit.h"

#include "ui/platform/text.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>

namespace quintor::ui {
namespace {

constexpr int addressRole = Qt::UserRole; // the address as it came, in bytes

} // namespace

Tmedit::Tmedit(TextList& servers, Dialogs& dialogs, std::string defaultServer, QWidget* parent)
    : ClosingWindow(parent), servers_(servers), dialogs_(dialogs), defaultServer_(std::move(defaultServer))
{
    setObjectName(QStringLiteral("medit"));
    setWindowTitle(QStringLiteral("Quintor - Masterserver"));
    setMinimumWindowSize(300, 250);
    resize(clientWidth, clientHeight);

    servlist = new QListWidget(this);
    servlist->setObjectName(QStringLiteral("servlist"));
    servlist->setSelectionMode(QAbstractItemView::SingleSelection);
    servlist->setContextMenuPolicy(Qt::CustomContextMenu);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->resize(75, 25);
    connect(Button1, &QPushButton::clicked, this, &Tmedit::Button1Click);

    pop = new QMenu(this);
    pop->setObjectName(QStringLiteral("pop"));
    Hinzufgen1 = pop->addAction(QStringLiteral("Hinzuf\u00FCgen"));
    Hinzufgen1->setObjectName(QStringLiteral("Hinzufgen1"));
    Lschen1 = pop->addAction(QStringLiteral("L\u00F6schen"));
    Lschen1->setObjectName(QStringLiteral("Lschen1"));
    connect(Hinzufgen1, &QAction::triggered, this, &Tmedit::Hinzufgen1Click);
    connect(Lschen1, &QAction::triggered, this, &Tmedit::Lschen1Click);
    connect(servlist, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        popPopup();
        pop->popup(servlist->viewport()->mapToGlobal(at));
    });

    FormResize();
}

void Tmedit::open()
{
    showCentredOver(ownerArea());
}

void Tmedit::showEvent(QShowEvent* event)
{
    ClosingWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void Tmedit::FormShow()
{
    servlist->clear();
    for (const auto& address : servers_.lines())
        appendEntry(address);
}

void Tmedit::appendEntry(const std::string& address)
{
    auto* entry = new QListWidgetItem(toQt(address), servlist);
    entry->setData(addressRole, QByteArray(address.data(), static_cast<qsizetype>(address.size())));
}

void Tmedit::Hinzufgen1Click()
{
    const auto address = dialogs_.input("Neuer Masterserver", "URL des Servers?", defaultServer_);
    if (address) appendEntry(*address);
}

void Tmedit::Lschen1Click()
{
    const QList<QListWidgetItem*> selected = servlist->selectedItems();
    if (selected.isEmpty()) return;
    delete selected.constFirst();
}

void Tmedit::popPopup()
{
    Lschen1->setEnabled(!servlist->selectedItems().isEmpty());
}

void Tmedit::Button1Click()
{
    close();
}

std::vector<std::string> Tmedit::entries() const
{
    std::vector<std::string> addresses;
    for (int i = 0; i < servlist->count(); ++i) {
        const QByteArray address = servlist->item(i)->data(addressRole).toByteArray();
        addresses.emplace_back(address.constData(), static_cast<std::size_t>(address.size()));
    }
    return addresses;
}

void Tmedit::FormClose()
{
    servers_.Clear();
    for (auto& address : entries())
        servers_.Add(std::move(address));
}

void Tmedit::resizeEvent(QResizeEvent* event)
{
    ClosingWindow::resizeEvent(event);
    FormResize();
}

void Tmedit::FormResize()
{
    servlist->setGeometry(5, 5, width() - 10, height() - 5 - 35);
    Button1->move(width() - 5 - Button1->width(), servlist->y() + servlist->height() + 5);
}

} // namespace quintor::ui
