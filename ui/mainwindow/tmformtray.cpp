// The tray icon `ticon` with its menu `tpop`, putting the window away into it and bringing it back.
#include "ui/platform/qtnotifier.h"
#include "ui/mainwindow/tmform.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>

namespace quintor::ui {

void Tmform::createTray()
{
    QIcon icon(QStringLiteral(":/quintor/quintor.svg"));
    if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_ComputerIcon); // a build without the resources
    setWindowIcon(icon);

    ticon = new QSystemTrayIcon(icon, this);
    ticon->setObjectName(QStringLiteral("ticon"));
    ticon->setToolTip(QStringLiteral("Quintor"));

    tpop = new QMenu(this);
    tpop->setObjectName(QStringLiteral("tpop"));
    Quintorffnen1 = tpop->addAction(QStringLiteral("Quintor \u00F6ffnen"));
    Quintorffnen1->setObjectName(QStringLiteral("Quintorffnen1"));
    tpop->addSeparator();
    QuintorBeenden1 = tpop->addAction(QStringLiteral("Quintor Beenden"));
    QuintorBeenden1->setObjectName(QStringLiteral("QuintorBeenden1"));
    ticon->setContextMenu(tpop);

    connect(Quintorffnen1, &QAction::triggered, this, [this] { guardedHandler([this] { Quintorffnen1Click(); }); });
    connect(QuintorBeenden1, &QAction::triggered, this, [this] { guardedHandler([this] { QuintorBeenden1Click(); }); });
    connect(ticon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) guardedHandler([this] { ticonDblClick(); });
    });

    notifier_ = new QtNotifier(*ticon, this);
}

bool Tmform::trayAvailable() const
{
    return trayAvailable_ ? trayAvailable_() : QSystemTrayIcon::isSystemTrayAvailable();
}

void Tmform::totray()
{
    if (!trayAvailable()) {
        // No notification area to come back from: an ordinary minimised window instead of a lost one.
        showMinimized();
        return;
    }
    ticon->show();
    hide();
}

void Tmform::Minimieren1Click()
{
    totray();
}

void Tmform::miniz()
{
    if (!trayAvailable()) return; // stays an ordinary minimised window
    ticon->show();
    // After the window system has finished minimising. The minimised state stays until the window
    // comes back: clearing it now would map the window again on X11.
    QTimer::singleShot(0, this, [this] {
        if (ticon->isVisible() && !shutdownRequested_) hide();
    });
}

void Tmform::ticonDblClick()
{
    ticon->hide();
    setWindowState(windowState() & ~Qt::WindowMinimized); // back as it was before, not minimised
    show();                                               // the show handler runs a tick
    raise();
    activateWindow();
}

void Tmform::Quintorffnen1Click()
{
    ticonDblClick();
}

void Tmform::QuintorBeenden1Click()
{
    requestShutdown();
}

void Tmform::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && isVisible()) miniz();
}

} // namespace quintor::ui
