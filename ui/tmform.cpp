#include "ui/tmform.h"

#include "settings/convert.h"
#include "settings/keys.h"
#include "ui/backgroundhttpclient.h"
#include "ui/errorreport.h"
#include "ui/gamelistmodel.h"
#include "ui/qtclock.h"
#include "ui/qtdialogs.h"
#include "ui/text.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

namespace quintor::ui {

Tmform::Tmform(TmformSetup setup, QWidget* parent)
    : QMainWindow(parent), gate_([this](std::exception_ptr error) { reportError(error, *dialogs_); }),
      defaultServer_(std::move(setup.defaultServer))
{
    if (setup.dialogs) {
        dialogs_ = setup.dialogs;
    } else {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    if (setup.clock) {
        clock_ = setup.clock;
    } else {
        ownClock_ = std::make_unique<QtClock>();
        clock_ = ownClock_.get();
    }
    http_ = new BackgroundHttpClient(std::move(setup.http), this);
    model_ = new GameListModel(state_.games, this);
    state_.appFolder = std::move(setup.appFolder);

    createControls();
    createMenus();
    createListMenu();

    refresh_ = std::make_unique<RefreshCycle>(
        state_, RefreshPorts{*model_, *this, *dialogs_, *http_, *clock_, defaultServer_, {}, nullptr});

    refetch = new QTimer(this);
    refetch->setObjectName(QStringLiteral("refetch"));
    refetch->setInterval(refetchIntervalMs);
    connect(refetch, &QTimer::timeout, this, &Tmform::runTick);

    FormCreate();
    refetch->start();
}

Tmform::~Tmform()
{
    // Child widgets would otherwise go only after the members: the list and its model read the
    // records, and an edit the list still commits while it goes would reach the alias list.
    delete dlist;
    dlist = nullptr;
    delete model_;
    model_ = nullptr;
}

void Tmform::FormCreate()
{
    refresh_->setcap("");
    try {
        loadLists(state_);
        listsLoaded_ = true;
    } catch (...) {
        // A list that exists but cannot be read is not overwritten at the end with what little was read.
        reportError(std::current_exception(), *dialogs_);
    }
    state_.online = true;
    guardedHandler([this] {
        const std::string tagparse = state_.config.Value(keys::tagparse);
        if (!tagparse.empty()) agsherausfarsen1->setChecked(strToBool(tagparse));
    });
    restoreBounds();
}

void Tmform::guardedHandler(const std::function<void()>& handler)
{
    guarded(*dialogs_, handler);
}

void Tmform::runTick()
{
    gate_.request([this] { tick(); });
}

void Tmform::tick()
{
    setTickRunning(true);
    try {
        refresh_->refetchTimer();
    } catch (...) {
        setTickRunning(false);
        emit tickFinished();
        throw;
    }
    setTickRunning(false);
    emit tickFinished();
}

void Tmform::setTickRunning(bool running)
{
    for (QAction* command : listCommands_)
        command->setEnabled(!running);
    model_->setEditable(!running);
}

void Tmform::requestShutdown()
{
    if (shutdownRequested_) return;
    shutdownRequested_ = true;
    refetch->stop();
    http_->cancelForQuit();
    if (ownDialogs_) ownDialogs_->closeForQuit();
    gate_.requestQuit([this] { shutdown(); });
}

void Tmform::shutdown()
{
    if (ownDialogs_) ownDialogs_->reopen();
    model_->clearRows();
    state_.games.clear();
    state_.config.SetValue(keys::width, std::to_string(width()));
    state_.config.SetValue(keys::height, std::to_string(height()));
    state_.config.SetValue(keys::top, std::to_string(y()));
    state_.config.SetValue(keys::left, std::to_string(x()));
    if (listsLoaded_) guardedHandler([this] { saveLists(state_); });
    shutdownDone_ = true;
    close(); // does nothing when called from the window's own close event, which then accepts
    emit finished();
}

void Tmform::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // FormShow: every time the window becomes visible, once it is on the screen.
    if (!event->spontaneous()) QTimer::singleShot(0, this, &Tmform::runTick);
}

void Tmform::closeEvent(QCloseEvent* event)
{
    if (!shutdownDone_) requestShutdown();
    if (shutdownDone_)
        event->accept();
    else
        event->ignore(); // closes once the running tick has let go
}

bool Tmform::windowOrTrayVisible() const
{
    return isVisible();
}

void Tmform::setLabel(Label label, const std::string& text)
{
    QLabel* target = nullptr;
    switch (label) {
    case Label::aka:
        target = aka;
        break;
    case Label::crver:
        target = crver;
        break;
    case Label::gamecount:
        target = gamecount;
        break;
    case Label::pcount:
        target = pcount;
        break;
    case Label::empcount:
        target = empcount;
        break;
    }
    target->setText(toQt(text));
}

void Tmform::setStatusText(const std::string& text)
{
    statbarText->setText(toQt(text));
    if (statbarText->isVisible()) statbarText->repaint();
}

void Tmform::stopRefetchTimer()
{
    refetch->stop();
}

} // namespace quintor::ui
