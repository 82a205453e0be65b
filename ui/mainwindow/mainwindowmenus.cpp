// The main window's menus, the list's context menu and their commands.
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/gamelisttreeview.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/platform/language.h"
#include "ui/platform/text.h"

#include <QAction>
#include <QActionGroup>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
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

void MainWindow::createMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(qtr("Datei"));
    loadFromFileAction_ = item(fileMenu, "AusDateiladen1", qtr("Aus Datei laden..."));
    historyAction_ = item(fileMenu, "Verlauf1", qtr("Verlauf"));
    goOnlineAction_ = item(fileMenu, "WiederOnlinegehen1", qtr("Wieder online gehen"), false);
    fileMenu->addSeparator();
    quitAction_ = item(fileMenu, "Beenden1", qtr("Beenden"));
    minimizeAction_ = item(fileMenu, "Minimieren1", qtr("Minimieren"));

    QMenu* editMenu = menuBar()->addMenu(qtr("Bearbeiten"));
    masterserverAction_ = item(editMenu, "Masterserver1", qtr("Masterserver"));
    aliasEditorAction_ = item(editMenu, "Aliaseditor1", qtr("Aliaseditor"));
    columnsAction_ = item(editMenu, "Listenspalten1", qtr("Listenspalten"));
    friendsAction_ = item(editMenu, "Freunde1", qtr("Freunde..."));
    QMenu* filterMenu = editMenu->addMenu(qtr("Filter"));
    filterMenu->menuAction()->setObjectName(QStringLiteral("Filter1"));
    subscribeAction_ = item(filterMenu, "Abonnieren1", qtr("Abonnieren"));
    filterMenu->addSeparator()->setVisible(false);
    filterEditorAction_ = item(filterMenu, "Filtereditor1", qtr("Filtereditor"));
    editMenu->addSeparator();
    stripTagsAction_ = item(editMenu, "agsherausfarsen1", qtr("Tags rausparsen"));
    stripTagsAction_->setCheckable(true);
    friendNotifyAction_ = item(editMenu, "Freundemelden1", qtr("Freunde melden"));
    friendNotifyAction_->setCheckable(true);

    QMenu* helpMenu = menuBar()->addMenu(qtr("Hilfe"));
    aboutAction_ = item(helpMenu, "ber1", qtr("\u00DCber"));
    QMenu* languageMenu = helpMenu->addMenu(qtr("Sprache"));
    languageMenu->menuAction()->setObjectName(QStringLiteral("Sprache1"));
    auto* languages = new QActionGroup(languageMenu);
    germanAction_ = item(languageMenu, "Deutsch1", QStringLiteral("Deutsch"));
    englishAction_ = item(languageMenu, "English1", QStringLiteral("English"));
    systemLanguageAction_ = item(languageMenu, "WiedasSystem1", qtr("Wie das System"));
    for (QAction* action : {germanAction_, englishAction_, systemLanguageAction_}) {
        action->setCheckable(true);
        languages->addAction(action);
    }

    connect(loadFromFileAction_, &QAction::triggered, this, [this] { guardedHandler([this] { loadFromFile(); }); });
    connect(goOnlineAction_, &QAction::triggered, this, [this] { guardedHandler([this] { goOnline(); }); });
    connect(stripTagsAction_, &QAction::triggered, this, [this] { guardedHandler([this] { toggleTagStripping(); }); });
    connect(friendNotifyAction_, &QAction::triggered, this,
            [this] { guardedHandler([this] { toggleFriendNotify(); }); });
    connect(quitAction_, &QAction::triggered, this, [this] { guardedHandler([this] { quit(); }); });
    connect(minimizeAction_, &QAction::triggered, this, [this] { guardedHandler([this] { moveToTray(); }); });
    connect(subscribeAction_, &QAction::triggered, this, [this] { guardedHandler([this] { subscribeToFeed(); }); });
    connect(aboutAction_, &QAction::triggered, this, [this] { guardedHandler([this] { showAbout(); }); });
    connect(germanAction_, &QAction::triggered, this, [this] { guardedHandler([this] { chooseLanguage("de"); }); });
    connect(englishAction_, &QAction::triggered, this, [this] { guardedHandler([this] { chooseLanguage("en"); }); });
    connect(systemLanguageAction_, &QAction::triggered, this,
            [this] { guardedHandler([this] { chooseLanguage("system"); }); });

    connect(masterserverAction_, &QAction::triggered, this,
            [this] { guardedHandler([this] { openMasterserverEditor(); }); });
    connect(aliasEditorAction_, &QAction::triggered, this, [this] { guardedHandler([this] { openAliasEditor(); }); });
    connect(columnsAction_, &QAction::triggered, this, [this] { guardedHandler([this] { openColumnChooser(); }); });
    connect(filterEditorAction_, &QAction::triggered, this,
            [this] { guardedHandler([this] { openFilterTreeEditor(); }); });
    connect(historyAction_, &QAction::triggered, this, [this] { guardedHandler([this] { openHistoryWindow(); }); });
    connect(friendsAction_, &QAction::triggered, this, [this] { guardedHandler([this] { openFriendsWindow(); }); });

    // The editors write back into the lists a tick works on.
    listCommands_ = {loadFromFileAction_, stripTagsAction_,    masterserverAction_, aliasEditorAction_,
                     columnsAction_,      filterEditorAction_, friendsAction_};
}

void MainWindow::createListMenu()
{
    listMenu_ = new QMenu(this);
    listMenu_->setObjectName(QStringLiteral("listpop"));
    playersAction_ = item(listMenu_, "Spieler1", qtr("Spieler"));
    resourcesAction_ = item(listMenu_, "Ressourcen1", qtr("Ressourcen"));
    listMenu_->addSeparator();
    joinAction_ = item(listMenu_, "Beitreten1", qtr("Beitreten"));
    connect(playersAction_, &QAction::triggered, this, [this] { guardedHandler([this] { showPlayers(); }); });
    connect(resourcesAction_, &QAction::triggered, this, [this] { guardedHandler([this] { showResources(); }); });
    connect(joinAction_, &QAction::triggered, this, [this] { guardedHandler([this] { joinSelectedGame(); }); });

    gameList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(gameList_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        guardedHandler([this] { updateListMenu(); });
        listMenu_->popup(gameList_->viewport()->mapToGlobal(at));
    });
    // A tick that rebuilds the rows takes the selection with them; a menu still open then offers nothing
    // for a game that is no longer chosen, instead of items that do nothing.
    const auto recheckOpenMenu = [this] {
        if (listMenu_->isVisible()) guardedHandler([this] { updateListMenu(); });
    };
    connect(model_, &QAbstractItemModel::rowsRemoved, listMenu_, recheckOpenMenu);
    connect(model_, &QAbstractItemModel::modelReset, listMenu_, recheckOpenMenu);
}

void MainWindow::updateListMenu()
{
    const QModelIndexList selected = gameList_->selectionModel()->selectedRows();
    const bool rowSelected = !selected.isEmpty();
    playersAction_->setEnabled(rowSelected);
    resourcesAction_->setEnabled(rowSelected);
    joinAction_->setEnabled(rowSelected);
    if (!rowSelected) return;
    if (!monitor_.canJoin(model_->handleAt(selected.constFirst().row()))) joinAction_->setEnabled(false);
}

void MainWindow::loadFromFile()
{
    monitor_.chooseFileToLoad();
}

void MainWindow::goOnline()
{
    monitor_.goOnline();
}

void MainWindow::toggleTagStripping()
{
    monitor_.setTagStripping(stripTagsAction_->isChecked());
}

void MainWindow::toggleFriendNotify()
{
    monitor_.setFriendNotify(friendNotifyAction_->isChecked());
}

void MainWindow::quit()
{
    close();
}

void MainWindow::subscribeToFeed()
{
    monitor_.subscribeToFeed();
}

void MainWindow::showAbout()
{
    dialogs_->information(aboutText());
}

void MainWindow::chooseLanguage(const std::string& setting)
{
    monitor_.setLanguageSetting(setting);
    // Said in the language just chosen, which shows from the next start.
    const Language chosen = quintor::chooseLanguage(setting, LocaleEnvironment::current());
    dialogs_->information(textInLanguage(chosen, catalogCandidatesOf(chosen, {}),
                                         "Gilt ab dem n\xE4"
                                         "chsten Start."));
}

void MainWindow::askToStoreAlias(RowHandle row, const std::string& oldCaption, std::string& text)
{
    const std::string typed = text;
    text = oldCaption; // kept unless the user says Yes
    // Asked once the row's editor has closed: the editor must not be inside the question's event loop.
    QTimer::singleShot(0, this, [this, row, oldCaption, typed] {
        guardedHandler([&] {
            if (monitor_.askToStoreAlias(oldCaption, typed)) model_->setCaption(row, typed);
        });
    });
}

} // namespace quintor::ui
