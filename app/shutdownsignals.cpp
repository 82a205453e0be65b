#include "app/shutdownsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace quintor {
namespace {

int signalPipe[2] = {-1, -1};

// Only an async-signal-safe write here; the UI thread does the rest.
void onSignal(int number)
{
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

ShutdownSignals::ShutdownSignals(std::function<void()> handler, QObject* parent)
    : QObject(parent), onSignal_(std::move(handler))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        if (::read(signalPipe[0], &byte, 1) == 1 && onSignal_) onSignal_();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
}

ShutdownSignals::~ShutdownSignals()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
    delete notifier_;
    if (signalPipe[0] >= 0) ::close(signalPipe[0]);
    if (signalPipe[1] >= 0) ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

} // namespace quintor
