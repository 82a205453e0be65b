// Quintor: creates the main window and runs the event loop until it ends.
#include "app/shutdownsignals.h"
#include "net/httpclient.h"
#include "quintor/buildconfig.h"
#include "settings/appfolder.h"
#include "settings/appinfo.h"
#include "ui/tmform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The application title; the main window keeps its own caption "Quintor".
    QApplication::setApplicationName(
        QString::fromLatin1(quintor::appinfo::title.data(), static_cast<qsizetype>(quintor::appinfo::title.size())));
    QApplication::setQuitOnLastWindowClosed(false);

    quintor::ui::Tmform mform({quintor::apdir(), quintor::makeCurlHttpClient(), quintor::buildconfig::masterserverUrl});
    QObject::connect(&mform, &quintor::ui::Tmform::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // However the loop ends (the desktop session, a signal), the lists are written.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &mform, [&mform] {
        if (!mform.shutDown()) mform.requestShutdown();
    });
    quintor::ShutdownSignals shutdownSignals([&mform] { mform.requestShutdown(); });

    mform.show();
    return QApplication::exec();
}
