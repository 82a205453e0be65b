// The Monitor and its main window over a temporary application folder, scripted dialogs, a fixed clock and
// an HTTP client that the test controls.
#pragma once

#include "monitor/monitor.h"
#include "support/blockinghttpclient.h"
#include "support/fakes.h"
#include "support/tempfolder.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/platform/backgroundhttpclient.h"
#include "ui/platform/qtprocessstarter.h"
#include "ui/platform/qtprompts.h"
#include "ui/uitestsupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace quintor::test {

inline constexpr const char* defaultServerUrl = "http://127.0.0.1:9/league/server";

// What a test may set beyond the defaults.
struct ProgramOptions {
    std::string updateUrl;
    std::string noticeUrl;
    // Where the game may be installed; nothing: the game folder is not looked for at start-up.
    std::optional<std::vector<CandidateFolder>> gameFolderCandidates;
    ProcessStarter* processStarter = nullptr; // null: the platform's own way
    std::ostream* errorOutput = nullptr;
    Dialogs* dialogs = nullptr;         // null: the fixture's scripted dialogs
    PromptPresenter* prompts = nullptr; // null: real boxes that stand while the ticks go on
};

struct MainWindowFixture {
    TempFolder folder;
    ScriptedDialogs dialogs;
    FixedClock clock;
    std::shared_ptr<BlockingHttpClient> http = std::make_shared<BlockingHttpClient>();
    ui::QtProcessStarter platformStarter;
    std::unique_ptr<ui::BackgroundHttpClient> background;
    std::unique_ptr<Monitor> monitor;
    std::unique_ptr<ui::MainWindow> window;
    std::unique_ptr<QSignalSpy> ticks;
    bool trayAvailable = false; // whether the desktop the window sees has a notification area
    bool finishStartUp = true;  // false: as the program, the first show finishes the start-up

    ~MainWindowFixture()
    {
        ticks.reset();
        window.reset(); // the views go before the Monitor
        monitor.reset();
    }

    ui::MainWindow& create(std::shared_ptr<HttpClient> client = nullptr,
                           const std::function<void(ProgramOptions&)>& adjust = {})
    {
        if (!client) client = http;
        ProgramOptions options;
        if (adjust) adjust(options);
        background = std::make_unique<ui::BackgroundHttpClient>(std::move(client));
        monitor = std::make_unique<Monitor>(
            MonitorSetup{folder.path(), *background, clock,
                         options.processStarter ? *options.processStarter : platformStarter, defaultServerUrl, "",
                         options.updateUrl, options.noticeUrl, options.gameFolderCandidates, options.errorOutput});
        ui::MainWindowSetup setup{options.dialogs ? options.dialogs : &dialogs, options.prompts};
        setup.trayAvailable = [this] { return trayAvailable; };
        window = std::make_unique<ui::MainWindow>(*monitor, std::move(setup));
        ticks = std::make_unique<QSignalSpy>(window.get(), &ui::MainWindow::tickFinished);
        // The program finishes its start-up once the window first shows; the tests look at it before that.
        if (finishStartUp) monitor->finishStartUp();
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

    // The box a tick raised, once it stands; null when none comes.
    QMessageBox* standingPrompt() const
    {
        QMessageBox* box = nullptr;
        const bool stands = QTest::qWaitFor(
            [&] {
                box = window->promptPresenter()->standingBox();
                return box && box->isVisible();
            },
            5000);
        return stands ? box : nullptr;
    }
    // Answers the box a tick raised: "&Ja" or "OK" for yes, "&Nein" for no.
    bool answerPrompt(bool yes) const
    {
        QMessageBox* box = standingPrompt();
        if (!box) return false;
        for (QAbstractButton* button : box->buttons()) {
            const QString text = button->text();
            if (yes ? (text == QStringLiteral("&Ja") || text == QStringLiteral("OK"))
                    : text == QStringLiteral("&Nein")) {
                button->click();
                return true;
            }
        }
        return false;
    }

    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QTreeView* gameList() const { return window->findChild<QTreeView*>(QStringLiteral("dlist")); }
};

} // namespace quintor::test
