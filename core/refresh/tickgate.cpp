#include "refresh/tickgate.h"

namespace quintor {

void TickGate::request(const std::function<void()>& tick)
{
    if (quitRequested_) return;
    if (running_) {
        due_ = true;
        return;
    }
    running_ = true;
    do {
        due_ = false;
        try {
            tick();
        } catch (...) {
            if (report_ && !quitRequested_) report_(std::current_exception());
        }
    } while (due_ && !quitRequested_);
    running_ = false;
    due_ = false;
    if (quitRequested_ && quit_) {
        auto quit = std::move(quit_);
        quit_ = nullptr;
        quit();
    }
}

void TickGate::requestQuit(std::function<void()> quit)
{
    if (!running_) {
        quitRequested_ = true;
        quit();
        return;
    }
    quitRequested_ = true;
    quit_ = std::move(quit);
}

} // namespace quintor
