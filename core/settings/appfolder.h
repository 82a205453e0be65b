// The application folder: where every list, settings and filter file lives.
#pragma once

#include <string>

namespace quintor {

// The folder of the running executable, ending with "/". When that folder cannot be written to,
// or is a system program folder (an installed program), the per-user data folder takes its place
// ($XDG_DATA_HOME/quintor/ or ~/.local/share/quintor/), created when missing.
std::string applicationFolder();

// The rule behind apdir, for a given executable path and environment.
struct AppFolderInputs {
    std::string executablePath;
    std::string xdgDataHome; // empty when unset
    std::string home;        // empty when unset
};
std::string appFolderFor(const AppFolderInputs& inputs);

// The executable's folder with a trailing "/": the path up to and including its last "/".
std::string folderOfExecutable(const std::string& executablePath);

// True for the folders a package manager installs programs into (…/usr/bin/, …/usr/games/, …).
bool isSystemProgramFolder(const std::string& folder);

// Creates a folder and its parents; false when it does not exist afterwards.
bool ensureFolder(const std::string& folder);

} // namespace quintor
