// The state the main window owns: its four lists, the current games and the pending file load.
#pragma once

#include "reference/gamestore.h"
#include "settings/textlist.h"

#include <string>

namespace quintor {

struct MonitorState {
    std::string appFolder; // ends with "/"
    TextList servers;
    TextList config;
    TextList syno;
    TextList loglines;
    GameStore games;
    std::string loadfile;
    bool online = true;

    std::string file(std::string_view name) const { return appFolder + std::string(name); }
};

// Creates the lists from the files of the application folder, each only when it exists.
void loadLists(MonitorState& state);
// Saves "syno.txt", "config.txt", "server.txt" and "log.txt", in this order. Every file is
// attempted, so one that cannot be written costs no other; the first failure is raised afterwards.
void saveLists(const MonitorState& state);

} // namespace quintor
