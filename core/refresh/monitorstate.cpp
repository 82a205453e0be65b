#include "refresh/monitorstate.h"

#include "settings/fileio.h"
#include "settings/keys.h"

#include <exception>

namespace quintor {

void loadLists(MonitorState& state)
{
    const std::pair<TextList*, std::string_view> lists[] = {
        {&state.servers, files::server}, {&state.syno, files::syno},
        {&state.config, files::config},  {&state.loglines, files::log}};
    for (auto [list, name] : lists) {
        list->Clear();
        if (fileExists(state.file(name))) list->LoadFromFile(state.file(name));
    }
}

void saveLists(const MonitorState& state)
{
    const std::pair<const TextList*, std::string_view> lists[] = {
        {&state.syno, files::syno}, {&state.config, files::config},
        {&state.servers, files::server}, {&state.loglines, files::log}};
    std::exception_ptr firstFailure;
    for (auto [list, name] : lists) {
        try {
            list->SaveToFile(state.file(name));
        } catch (...) {
            if (!firstFailure) firstFailure = std::current_exception();
        }
    }
    if (firstFailure) std::rethrow_exception(firstFailure);
}

} // namespace quintor
