// Quintor: creates the main window and runs the event loop until it ends.
#include "app/shutdownsignals.h"
#include "launch/gamefolder.h"
#include "net/httpclient.h"
#include "quintor/buildconfig.h"
#include "settings/appfolder.h"
#include "settings/appinfo.h"
#include "ui/mainwindow/tmform.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>

#include <cstdlib>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The application title; the main window keeps its own caption "Quintor".
    QApplication::setApplicationName(
        QString::fromLatin1(quintor::appinfo::title.data(), static_cast<qsizetype>(quintor::appinfo::title.size())));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quintor/quintor.svg")));
    QApplication::setQuitOnLastWindowClosed(false); // the window may be away in the tray

    std::unique_ptr<quintor::ui::Tmform> mform;
    // A signal while the window is still being created (its start-up may wait for a server or a
    // box) ends the program at once: nothing of this session is there to be written yet.
    quintor::ShutdownSignals shutdownSignals([&mform] {
        if (mform)
            mform->requestShutdown();
        else
            std::_Exit(EXIT_SUCCESS);
    });

    const char* home = std::getenv("HOME");
    quintor::ui::TmformSetup setup{quintor::apdir(), quintor::makeCurlHttpClient(),
                                   quintor::buildconfig::masterserverUrl};
    setup.updateUrl = quintor::buildconfig::updateUrl;
    setup.noticeUrl = quintor::buildconfig::noticeUrl;
    setup.gameFolderCandidates = quintor::defaultCandidates(home ? home : "");
    mform = std::make_unique<quintor::ui::Tmform>(std::move(setup));

    QObject::connect(mform.get(), &quintor::ui::Tmform::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // The desktop session is ending: write everything now, the session may not wait for the loop to end.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, mform.get(), [&mform](QSessionManager&) {
        if (!mform->shutDown()) mform->requestShutdown();
    });
    // However else the loop ends, the lists are written.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, mform.get(), [&mform] {
        if (!mform->shutDown()) mform->requestShutdown();
    });

    if (mform->shutDown()) return EXIT_SUCCESS; // ended during its start-up
    mform->show();
    return QApplication::exec();
}
