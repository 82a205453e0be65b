// Starting the game: the process-start port on the desktop. Never through a shell.
#pragma once

#include "platform/processstarter.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quintor::ui {

struct StartPlan {
    QString program;
    QStringList arguments;
    QString workingFolder;
};

// Away from Windows: how a command is started. A Windows program (its file begins with "MZ") goes
// through `wine` when that is on the path; any other executable file is started itself; anything
// else is not started at all.
std::optional<StartPlan> planStart(const ProcessCommand& command);

class QtProcessStarter : public ProcessStarter {
public:
    // On Windows the shell's "open" with the parameter text and the working folder; elsewhere the
    // plan above, started detached. The result is not examined: a failed start has no effect.
    void start(const ProcessCommand& command) override;
};

} // namespace quintor::ui
