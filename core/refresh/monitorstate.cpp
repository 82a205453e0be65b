#include "refresh/monitorstate.h"

#include "settings/convert.h"
#include "settings/errors.h"
#include "settings/fileio.h"
#include "settings/keys.h"
#include "settings/ownfiles.h"
#include "settings/storedlines.h"

#include <exception>

namespace quintor {

void loadLists(MonitorState& state)
{
    const std::pair<TextList*, std::string_view> lists[] = {{&state.servers, files::server},
                                                            {&state.aliases, files::aliases},
                                                            {&state.config, files::config},
                                                            {&state.logLines, files::log},
                                                            {&state.friends, files::friends}};
    removeLeftoverSaveFiles(state.appFolder);
    std::string failures;
    for (auto [list, name] : lists) {
        list->clear();
        const std::string path = state.file(name);
        if (!fileExists(path)) {
            // A first start: a new user sees the hosts' colours instead of their tags. The setting is saved with
            // the others, so from then on the file decides (a missing key there still means off).
            if (list == &state.config) list->setValue(keys::tagparse, boolToStr(true));
            continue;
        }
        try {
            list->loadFromFile(path);
        } catch (const std::exception& error) {
            state.saveGuard.keep(path);
            failures += failures.empty() ? "" : "\r\n";
            failures += error.what();
        }
    }
    keepNewestLogEntries(state.logLines);
    if (!failures.empty()) throw FileError(failures);
}

void saveLists(const MonitorState& state)
{
    const std::pair<const TextList*, std::string_view> lists[] = {{&state.aliases, files::aliases},
                                                                  {&state.config, files::config},
                                                                  {&state.servers, files::server},
                                                                  {&state.logLines, files::log},
                                                                  {&state.friends, files::friends}};
    std::string failures;
    for (auto [list, name] : lists) {
        try {
            state.saveGuard.save(*list, state.file(name));
        } catch (const std::exception& error) {
            failures += failures.empty() ? "" : "\r\n";
            failures += error.what();
        }
    }
    if (!failures.empty()) throw FileError(failures);
}

} // namespace quintor
