// Keeps refresh ticks from nesting. A tick may wait (for a server, or for the user in one of its
// message boxes) while the event loop goes on; a tick that falls due then is deferred and runs once
// when the running one lets go, and ending the program then waits for the same moment.
#pragma once

#include <exception>
#include <functional>

namespace quintor {

class TickGate {
public:
    using ErrorReport = std::function<void(std::exception_ptr)>;

    // `report` receives whatever a tick raises; it may itself wait (a message box) and is
    // still counted as part of the tick.
    explicit TickGate(ErrorReport report) : report_(std::move(report)) {}

    // Runs the tick now, or marks one as due when a tick is running. Due ticks run once, not
    // once per request.
    void request(const std::function<void()>& tick);

    // Ends the program now, or as soon as the running tick lets go; deferred ticks are dropped.
    void requestQuit(std::function<void()> quit);

    bool running() const { return running_; }
    bool quitRequested() const { return quitRequested_; }

private:
    ErrorReport report_;
    bool running_ = false;
    bool due_ = false;
    bool quitRequested_ = false;
    std::function<void()> quit_;
};

} // namespace quintor
