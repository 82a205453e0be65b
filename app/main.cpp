// Quintor: builds the Monitor (the running program) and the main window that shows it, and runs the event
// loop until it ends.
#include "app/shutdownsignals.h"
#include "launch/gamefolder.h"
#include "monitor/monitor.h"
#include "net/httpclient.h"
#include "quintor/buildconfig.h"
#include "settings/appfolder.h"
#include "settings/appinfo.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/platform/backgroundhttpclient.h"
#include "ui/platform/language.h"
#include "ui/platform/qtclock.h"
#include "ui/platform/qtprocessstarter.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>

#include <cstdlib>
#include <memory>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char* argv[])
{
#if defined(__GLIBC__)
    // A whole reply or list of games is a block of its own, mapped for it and given back as soon as it is freed.
    // Left alone, the allocator raises this bound after the first such block and keeps each later one in its
    // heaps, the reply in the heap of the thread that received it.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
    QApplication app(argc, argv);
    // The application title; the main window keeps its own caption "Quintor".
    QApplication::setApplicationName(
        QString::fromLatin1(quintor::appinfo::title.data(), static_cast<qsizetype>(quintor::appinfo::title.size())));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quintor/quintor.svg")));
    QApplication::setQuitOnLastWindowClosed(false); // the window may be away in the tray
    // Before any text is made: "language" of "config.txt", else the environment.
    quintor::ui::setUpLanguage(app, quintor::applicationFolder(), {});

    std::unique_ptr<quintor::ui::MainWindow> mainWindow;
    // A signal while the window is still being created (its start-up may wait for a server or a
    // box) ends the program at once: nothing of this session is there to be written yet.
    quintor::ShutdownSignals shutdownSignals([&mainWindow] {
        if (mainWindow)
            mainWindow->requestShutdown(quintor::ShutdownCause::session);
        else
            std::_Exit(EXIT_SUCCESS);
    });

    // Requests run on a worker thread while the window goes on painting and answering.
    quintor::ui::BackgroundHttpClient http(quintor::makeCurlHttpClient());
    quintor::ui::QtClock clock;
    quintor::ui::QtProcessStarter starter;
    const char* home = std::getenv("HOME");
    quintor::Monitor monitor({quintor::applicationFolder(), http, clock, starter, quintor::buildconfig::masterserverUrl,
                              quintor::buildconfig::fallbackMasterserverUrl, quintor::buildconfig::updateUrl,
                              quintor::buildconfig::noticeUrl, quintor::defaultCandidates(home ? home : "")});
    mainWindow = std::make_unique<quintor::ui::MainWindow>(monitor);

    QObject::connect(
        mainWindow.get(), &quintor::ui::MainWindow::finished, &app,
        [&mainWindow] { QCoreApplication::exit(mainWindow->exitCode()); }, Qt::QueuedConnection);
    // The desktop session is ending: write everything now, the session may not wait for the loop to end.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, mainWindow.get(), [&mainWindow](QSessionManager&) {
        if (!mainWindow->shutDown()) mainWindow->requestShutdown(quintor::ShutdownCause::session);
    });
    // However else the loop ends, the lists are written; no box can be answered any more.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, mainWindow.get(), [&mainWindow] {
        if (!mainWindow->shutDown()) mainWindow->requestShutdown(quintor::ShutdownCause::session);
    });

    if (mainWindow->shutDown()) return mainWindow->exitCode(); // ended during its start-up
    mainWindow->show();
    const int loopCode = QApplication::exec();
    const int exitCode = loopCode != 0 ? loopCode : mainWindow->exitCode();
    mainWindow.reset(); // before the Monitor whose views it is
    return exitCode;
}
