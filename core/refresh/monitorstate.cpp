#include "refresh/monitorstate.h"

#include "settings/convert.h"
#include "settings/errors.h"
#include "settings/fileio.h"
#include "settings/keys.h"
#include "settings/ownfiles.h"
#include "settings/storedlines.h"

#include <exception>

namespace quintor {

namespace {

// Each failure on a line of its own.
void noteFailure(std::string& failures, const std::exception& error)
{
    failures += failures.empty() ? "" : "\r\n";
    failures += error.what();
}

// Loads one list when its file exists; a file that cannot be read is kept by the save guard. So is one whose text a
// NUL byte ends (a list saved as UTF-16 by an editor): what stands behind it was never read, and saving the list
// would leave only what came before. False when there is no file.
template <typename List> bool loadList(MonitorState& state, List& list, std::string_view name, std::string& failures)
{
    list.clear();
    const std::string path = state.file(name);
    if (!fileExists(path)) return false;
    try {
        const std::string bytes = readWholeFile(path);
        list.setText(bytes);
        refuseTextCutByNul(path, bytes);
    } catch (const std::exception& error) {
        state.saveGuard.keep(path);
        noteFailure(failures, error);
    }
    return true;
}

template <typename List>
void saveList(const MonitorState& state, const List& list, std::string_view name, std::string& failures)
{
    try {
        state.saveGuard.save(list, state.file(name));
    } catch (const std::exception& error) {
        noteFailure(failures, error);
    }
}

} // namespace

void loadLists(MonitorState& state)
{
    removeLeftoverSaveFiles(state.appFolder);
    std::string failures;
    loadList(state, state.servers, files::server, failures);
    loadList(state, state.aliases, files::aliases, failures);
    // A first start: a new user sees the hosts' colours instead of their tags. The setting is saved with the
    // others, so from then on the file decides (a missing key there still means off).
    if (!loadList(state, state.config, files::config, failures)) state.config.setValue(keys::tagparse, boolToStr(true));
    loadList(state, state.logLines, files::log, failures);
    loadList(state, state.friends, files::friends, failures);
    if (!failures.empty()) throw FileError(failures);
}

void saveLists(const MonitorState& state)
{
    std::string failures;
    saveList(state, state.aliases, files::aliases, failures);
    saveList(state, state.config, files::config, failures);
    saveList(state, state.servers, files::server, failures);
    saveList(state, state.logLines, files::log, failures);
    saveList(state, state.friends, files::friends, failures);
    if (!failures.empty()) throw FileError(failures);
}

} // namespace quintor
