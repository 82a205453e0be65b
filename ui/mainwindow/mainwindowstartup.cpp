// The main window's bounds at start-up and the about text.
#include "refresh/startup.h"
#include "settings/appinfo.h"
#include "ui/mainwindow/mainwindow.h"

#include <QMenuBar>

namespace quintor::ui {

std::string aboutText()
{
    std::string text = "Quintor ";
    text += appinfo::versionWord;
    text += "\r\n\r\n"
            "Programmierung: das Quintor-Team\r\n"
            "Liga und Masterserver: die Betreiber der Clonk-Rage-Liga\r\n"
            "Filter-Feeds und Pinnwand: die Redaktion der Quintor-Community\r\n"
            "Tests und Fehlerberichte: alle Spieler, die mitgeholfen haben";
    return text;
}

void MainWindow::restoreBounds()
{
    // The designed client area: 526 x 373 below the menu, at the top left of the screen. The minimum
    // size still applies to what the settings say.
    resize(designedClientWidth, menuBar()->sizeHint().height() + designedClientHeight);
    move(0, 0);
    const WindowBounds stored = storedWindowBounds(monitor_.state().config);
    if (stored.width) resize(*stored.width, height());
    if (stored.height) resize(width(), *stored.height);
    if (stored.left) move(*stored.left, y());
    if (stored.top) move(x(), *stored.top);
}

} // namespace quintor::ui
