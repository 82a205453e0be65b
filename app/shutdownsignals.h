// SIGTERM, SIGINT and SIGHUP end the program in order (the lists are written) instead of killing it.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace quintor {

class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    // `onSignal` runs on the UI thread, once per signal that arrives.
    explicit ShutdownSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~ShutdownSignals() override;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace quintor
