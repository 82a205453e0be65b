// A main window over a temporary application folder, scripted dialogs, a fixed clock and an HTTP
// client that the test controls.
#pragma once

#include "support/blockinghttpclient.h"
#include "support/fakes.h"
#include "support/tempfolder.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/uitestsupport.h"

#include <QAction>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <memory>

namespace quintor::test {

inline constexpr const char* defaultServerUrl = "http://127.0.0.1:9/league/server";

struct MainWindowFixture {
    TempFolder folder;
    ScriptedDialogs dialogs;
    FixedClock clock;
    std::shared_ptr<BlockingHttpClient> http = std::make_shared<BlockingHttpClient>();
    std::unique_ptr<ui::MainWindow> window;
    std::unique_ptr<QSignalSpy> ticks;
    bool trayAvailable = false; // whether the desktop the window sees has a notification area

    // `adjust` sets what a test needs beyond the defaults (update and notice address, game folder search).
    ui::MainWindow& create(std::shared_ptr<HttpClient> client = nullptr,
                           const std::function<void(ui::MainWindowSetup&)>& adjust = {})
    {
        if (!client) client = http;
        ui::MainWindowSetup setup{folder.path(), std::move(client), defaultServerUrl, &dialogs, &clock};
        setup.trayAvailable = [this] { return trayAvailable; };
        if (adjust) adjust(setup);
        window = std::make_unique<ui::MainWindow>(std::move(setup));
        ticks = std::make_unique<QSignalSpy>(window.get(), &ui::MainWindow::tickFinished);
        return *window;
    }

    // Runs one tick from the event loop and waits until it (and any deferred one) has ended.
    bool tickAndWait()
    {
        const auto before = ticks->count();
        QTimer::singleShot(0, window.get(), &ui::MainWindow::runTick);
        return QTest::qWaitFor([&] { return ticks->count() > before && !window->tickRunning(); }, 15000);
    }

    // Shows the window and waits until the tick that showing it runs has ended.
    bool showAndWaitForFirstTick()
    {
        window->show();
        return QTest::qWaitFor([this] { return ticks->count() >= 1 && !window->tickRunning(); }, 10000);
    }

    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QTreeView* gameList() const { return window->findChild<QTreeView*>(QStringLiteral("dlist")); }
};

} // namespace quintor::test
