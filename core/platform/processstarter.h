// Starting another program: a plain value, never a command line for a shell.
#pragma once

#include <string>
#include <vector>

namespace quintor {

struct ProcessCommand {
    std::string program;
    std::vector<std::string> arguments; // each one argument, passed on as it is
    std::string workingFolder;
};

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // Starts the program detached; the result is not examined.
    virtual void start(const ProcessCommand& command) = 0;
};

} // namespace quintor
