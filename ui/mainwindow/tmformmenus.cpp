// The main window's menus, the list's context menu and the handlers that work so far.
#include "settings/convert.h"
#include "settings/keys.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/tmform.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QTreeView>

namespace quintor::ui {
namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption, bool enabled = true)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    return action;
}

} // namespace

void Tmform::createMenus()
{
    QMenu* datei = menuBar()->addMenu(QStringLiteral("Datei"));
    AusDateiladen1 = item(datei, "AusDateiladen1", QStringLiteral("Aus Datei laden..."));
    datei->addSeparator();
    Beenden1 = item(datei, "Beenden1", QStringLiteral("Beenden"));
    Minimieren1 = item(datei, "Minimieren1", QStringLiteral("Minimieren"));

    QMenu* bearbeiten = menuBar()->addMenu(QStringLiteral("Bearbeiten"));
    Masterserver1 = item(bearbeiten, "Masterserver1", QStringLiteral("Masterserver"));
    Aliaseditor1 = item(bearbeiten, "Aliaseditor1", QStringLiteral("Aliaseditor"));
    Listenspalten1 = item(bearbeiten, "Listenspalten1", QStringLiteral("Listenspalten"));
    QMenu* filter = bearbeiten->addMenu(QStringLiteral("Filter"));
    filter->menuAction()->setObjectName(QStringLiteral("Filter1"));
    Abonnieren1 = item(filter, "Abonnieren1", QStringLiteral("Abonnieren"));
    filter->addSeparator()->setVisible(false);
    Filtereditor1 = item(filter, "Filtereditor1", QStringLiteral("Filtereditor"));
    bearbeiten->addSeparator();
    agsherausfarsen1 = item(bearbeiten, "agsherausfarsen1", QStringLiteral("Tags rausparsen"));
    agsherausfarsen1->setCheckable(true);

    QMenu* hilfe = menuBar()->addMenu(QStringLiteral("Hilfe"));
    ber1 = item(hilfe, "ber1", QStringLiteral("\u00DCber"));

    connect(AusDateiladen1, &QAction::triggered, this, [this] { guardedHandler([this] { AusDateiladen1Click(); }); });
    connect(agsherausfarsen1, &QAction::triggered, this,
            [this] { guardedHandler([this] { agsherausfarsen1Click(); }); });
    connect(Beenden1, &QAction::triggered, this, [this] { guardedHandler([this] { Beenden1Click(); }); });
    connect(Minimieren1, &QAction::triggered, this, [this] { guardedHandler([this] { Minimieren1Click(); }); });
    connect(Abonnieren1, &QAction::triggered, this, [this] { guardedHandler([this] { Abonnieren1Click(); }); });
    connect(ber1, &QAction::triggered, this, [this] { guardedHandler([this] { ber1Click(); }); });

    connect(Masterserver1, &QAction::triggered, this, [this] { guardedHandler([this] { Masterserver1Click(); }); });
    connect(Aliaseditor1, &QAction::triggered, this, [this] { guardedHandler([this] { Aliaseditor1Click(); }); });
    connect(Listenspalten1, &QAction::triggered, this, [this] { guardedHandler([this] { Listenspalten1Click(); }); });
    connect(Filtereditor1, &QAction::triggered, this, [this] { guardedHandler([this] { Filtereditor1Click(); }); });

    // The editors write back into the lists a tick works on.
    listCommands_ = {AusDateiladen1, agsherausfarsen1, Masterserver1, Aliaseditor1, Listenspalten1, Filtereditor1};
}

void Tmform::createListMenu()
{
    listpop = new QMenu(this);
    listpop->setObjectName(QStringLiteral("listpop"));
    Spieler1 = item(listpop, "Spieler1", QStringLiteral("Spieler"));
    Ressourcen1 = item(listpop, "Ressourcen1", QStringLiteral("Ressourcen"));
    listpop->addSeparator();
    Beitreten1 = item(listpop, "Beitreten1", QStringLiteral("Beitreten"));
    connect(Spieler1, &QAction::triggered, this, [this] { guardedHandler([this] { Spieler1Click(); }); });
    connect(Ressourcen1, &QAction::triggered, this, [this] { guardedHandler([this] { Ressourcen1Click(); }); });
    connect(Beitreten1, &QAction::triggered, this, [this] { guardedHandler([this] { Beitreten1Click(); }); });

    dlist->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(dlist, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        guardedHandler([this] { listpopPopup(); });
        listpop->popup(dlist->viewport()->mapToGlobal(at));
    });
}

void Tmform::listpopPopup()
{
    const QModelIndexList selected = dlist->selectionModel()->selectedRows();
    const bool rowSelected = !selected.isEmpty();
    Spieler1->setEnabled(rowSelected);
    Ressourcen1->setEnabled(rowSelected);
    Beitreten1->setEnabled(rowSelected);
    if (!rowSelected) return;
    TGameEntry record;
    state_.games.getgameentry(model_->handleAt(selected.constFirst().row()), record);
    if (!(record.AddressCount > 0)) Beitreten1->setEnabled(false);
}

void Tmform::AusDateiladen1Click()
{
    const auto file = dialogs_->openFile("Aus Datei laden", "Text|*.txt", ".");
    if (!file) return;
    state_.loadfile = *file;
    runTick();
}

void Tmform::agsherausfarsen1Click()
{
    state_.config.SetValue(keys::tagparse, boolToStr(agsherausfarsen1->isChecked()));
    runTick();
}

void Tmform::Beenden1Click()
{
    close();
}

void Tmform::Abonnieren1Click()
{
    feed_->Abonnieren1Click();
}

void Tmform::ber1Click()
{
    dialogs_->information(aboutText());
}

void Tmform::dlistEdited(RowHandle, const std::string& oldCaption, std::string& text)
{
    const std::string typed = text;
    text = oldCaption; // kept unless the user says Yes
    guardedHandler([&] {
        if (dialogs_->confirmYesNo("Als " + oldCaption + " bezeichnete Eintr\xE4ge immer als " + typed +
                                   " anzeigen?")) {
            state_.syno.Add(oldCaption + "=" + typed);
            text = typed;
        }
    });
}

} // namespace quintor::ui
