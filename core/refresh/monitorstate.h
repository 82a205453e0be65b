// The state the main window owns: its lists, the current games and the pending file load.
#pragma once

#include "reference/gamestore.h"
#include "refresh/serveroutages.h"
#include "refresh/statusline.h"
#include "settings/saveguard.h"
#include "settings/storedlines.h"
#include "settings/textlist.h"

#include <string>

namespace quintor {

struct MonitorState {
    std::string appFolder; // ends with "/"
    TextList servers;
    TextList config;
    TextList aliases;
    LogLines logLines;
    TextList friends; // "friends.txt": one name a line
    GameStore games;
    std::string pendingLoadFile;
    bool online = true;
    // Failing masterservers and the last good lists of all of them (memory only).
    ServerOutages outages;
    // The status bar's caption and notes.
    StatusLine status;
    // The list files start-up could not read: no save of this run replaces them.
    SaveGuard saveGuard;

    std::string file(std::string_view name) const { return appFolder + std::string(name); }
};

// Creates the lists from the files of the application folder, each only when it exists, after removing
// what saves interrupted by a crash left behind. Every file is attempted: one that exists but cannot be
// read leaves its list empty and is kept by the save guard; afterwards one FileError names them all.
// The log keeps its newest entries (kMaxLogEntries). Without a "config.txt" (a first start) the settings begin with
// "tagparse" on.
void loadLists(MonitorState& state);
// Saves "syno.txt", "config.txt", "server.txt", "log.txt" and "friends.txt", in this order, each unless start-up could
// not read it. Every file is attempted, so one that cannot be written costs no other; afterwards one
// FileError names every file that failed, one line each.
void saveLists(const MonitorState& state);

} // namespace quintor
