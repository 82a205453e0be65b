// The tray icon with its menu, putting the window away into it and bringing it back.
#include "ui/mainwindow/mainwindow.h"
#include "ui/platform/qtnotifier.h"
#include "ui/platform/text.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>

namespace quintor::ui {

void MainWindow::createTray()
{
    QIcon icon(QStringLiteral(":/quintor/quintor.svg"));
    if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_ComputerIcon); // a build without the resources
    setWindowIcon(icon);

    trayIcon_ = new QSystemTrayIcon(icon, this);
    trayIcon_->setObjectName(QStringLiteral("ticon"));
    trayIcon_->setToolTip(QStringLiteral("Quintor"));

    trayMenu_ = new QMenu(this);
    trayMenu_->setObjectName(QStringLiteral("tpop"));
    openFromTrayAction_ = trayMenu_->addAction(qtr("Quintor \u00F6ffnen"));
    openFromTrayAction_->setObjectName(QStringLiteral("Quintorffnen1"));
    trayMenu_->addSeparator();
    quitFromTrayAction_ = trayMenu_->addAction(qtr("Quintor Beenden"));
    quitFromTrayAction_->setObjectName(QStringLiteral("QuintorBeenden1"));
    trayIcon_->setContextMenu(trayMenu_);

    connect(openFromTrayAction_, &QAction::triggered, this, [this] { guardedHandler([this] { restoreFromTray(); }); });
    connect(quitFromTrayAction_, &QAction::triggered, this, [this] { guardedHandler([this] { requestShutdown(); }); });
    // Status-notifier trays (D-Bus) report only single clicks; a notification area that reports double
    // clicks reports the first click of one as a single click too. So a single click brings the window
    // back once the double-click time has passed without a double click, and a double click at once.
    singleClickTimer_ = new QTimer(this);
    singleClickTimer_->setSingleShot(true);
    connect(singleClickTimer_, &QTimer::timeout, this, [this] {
        if (trayIcon_->isVisible()) guardedHandler([this] { restoreFromTray(); });
    });
    connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            singleClickTimer_->start(QApplication::doubleClickInterval());
        } else if (reason == QSystemTrayIcon::DoubleClick) {
            singleClickTimer_->stop();
            guardedHandler([this] { restoreFromTray(); });
        }
    });

    notifier_ = new QtNotifier(*trayIcon_, this);
}

bool MainWindow::trayAvailable() const
{
    return trayAvailable_ ? trayAvailable_() : QSystemTrayIcon::isSystemTrayAvailable();
}

void MainWindow::moveToTray()
{
    if (!trayAvailable()) {
        // No notification area to come back from: an ordinary minimised window instead of a lost one.
        showMinimized();
        return;
    }
    trayIcon_->show();
    hide();
}

void MainWindow::hideMinimizedWindow()
{
    if (!trayAvailable()) return; // stays an ordinary minimised window
    trayIcon_->show();
    // After the window system has finished minimising. The minimised state stays until the window
    // comes back: clearing it now would map the window again on X11.
    QTimer::singleShot(0, this, [this] {
        if (trayIcon_->isVisible() && !shutdownRequested_) hide();
    });
}

void MainWindow::restoreFromTray()
{
    singleClickTimer_->stop(); // the window is back: a click still pending brings nothing more
    trayIcon_->hide();
    setWindowState(windowState() & ~Qt::WindowMinimized); // back as it was before, not minimised
    show();                                               // the show handler runs a tick
    raise();
    activateWindow();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && isVisible())
        hideMinimizedWindow();
}

} // namespace quintor::ui
