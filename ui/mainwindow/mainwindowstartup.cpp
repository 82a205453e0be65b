// The main window's bounds at start-up and the about text.
#include "refresh/startup.h"
#include "settings/appinfo.h"
#include "settings/keys.h"
#include "settings/translate.h"
#include "ui/mainwindow/gamelisttreeview.h"
#include "ui/mainwindow/mainwindow.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace quintor::ui {

std::string aboutText()
{
    std::string text = "Quintor ";
    text += appinfo::versionWord;
    text += quintor::tr("\r\n\r\n"
                        "Programmierung: das Quintor-Team\r\n"
                        "Liga und Masterserver: die Betreiber der Clonk-Rage-Liga\r\n"
                        "Filter-Feeds und Pinnwand: die Redaktion der Quintor-Community\r\n"
                        "Tests und Fehlerberichte: alle Spieler, die mitgeholfen haben");
    return text;
}

void MainWindow::fitColumnCaptions()
{
    // A column whose width the settings do not name opens wide enough for its caption ("Offizieller Server"
    // is wider than the default width); a stored width stays as the user left it.
    QHeaderView* header = gameList_->header();
    const TextList& config = monitor_.state().config;
    for (int c = 0; c < header->count(); ++c) {
        if (config.value(keys::numbered(keys::columnWidth, c)).empty())
            header->resizeSection(c, std::max(header->sectionSize(c), header->sectionSizeHint(c)));
    }
}

int MainWindow::widthForColumns()
{
    // What the window takes beside the list's columns, as laid out at the font in use: the boxes, margins,
    // the list's frame and a vertical scroll bar.
    const int besideColumns =
        width() - gameList_->viewport()->width() + gameList_->verticalScrollBar()->sizeHint().width();
    const int columns = gameList_->header()->length();
    const QScreen* on = screen() ? screen() : QGuiApplication::primaryScreen();
    const int screenWidth = on ? on->availableGeometry().width() : width();
    return std::clamp(columns + besideColumns, width(), std::max(width(), screenWidth));
}

void MainWindow::restoreBounds()
{
    // The designed client area: 526 x 373 below the menu, at the top left of the screen. The minimum
    // size still applies to what the settings say.
    resize(designedClientWidth, menuBar()->sizeHint().height() + designedClientHeight);
    move(0, 0);
    const WindowBounds stored = storedWindowBounds(monitor_.state().config);
    widenForColumns_ = !stored.width.has_value();
    if (stored.width) resize(*stored.width, height());
    if (stored.height) resize(width(), *stored.height);
    if (stored.left) move(*stored.left, y());
    if (stored.top) move(x(), *stored.top);
}

} // namespace quintor::ui
