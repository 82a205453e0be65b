#include "filters/filtertreefiles.h"

#include "filters/filterfiles.h"
#include "settings/errors.h"
#include "settings/fileio.h"
#include "settings/keys.h"

#include <optional>

namespace quintor {
namespace {

void deleteBoth(const std::string& appFolder, const std::string& key)
{
    for (const std::string& name : {conditionsFileName(key), actionsFileName(key)}) {
        const std::string path = appFolder + name;
        if (fileExists(path)) deleteFile(path);
    }
}

void renameBoth(const std::string& appFolder, const std::string& from, const std::string& to)
{
    renameNoReplace(appFolder + conditionsFileName(from), appFolder + conditionsFileName(to));
    renameNoReplace(appFolder + actionsFileName(from), appFolder + actionsFileName(to));
}

// A file to be written, with what stood there before so a failed step can be undone.
struct Replacement {
    std::string path;
    std::string bytes;
    std::optional<std::string> before;
};

void writeAllOrRestore(const std::vector<Replacement>& replacements)
{
    for (std::size_t i = 0; i < replacements.size(); ++i) {
        try {
            saveWholeFile(replacements[i].path, replacements[i].bytes);
        } catch (const FileError&) {
            for (std::size_t j = 0; j < i; ++j) {
                try {
                    if (replacements[j].before)
                        saveWholeFile(replacements[j].path, *replacements[j].before);
                    else
                        deleteFile(replacements[j].path);
                } catch (const FileError&) {
                    // The first failure is the one to report.
                }
            }
            throw;
        }
    }
}

} // namespace

void deleteFilterFiles(const std::string& appFolder, int group, int filter, int filterCount)
{
    deleteBoth(appFolder, filterKey(group, filter));
    for (int f = filter + 1; f < filterCount; ++f)
        renameBoth(appFolder, filterKey(group, f), filterKey(group, f - 1));
}

void deleteGroupFiles(const std::string& appFolder, const std::vector<int>& filterCounts, int group)
{
    const int groups = static_cast<int>(filterCounts.size());
    if (group < 0 || group >= groups) return;
    for (int f = 0; f < filterCounts[static_cast<std::size_t>(group)]; ++f)
        deleteBoth(appFolder, filterKey(group, f));
    for (int g = group + 1; g < groups; ++g)
        for (int f = 0; f < filterCounts[static_cast<std::size_t>(g)]; ++f)
            renameBoth(appFolder, filterKey(g, f), filterKey(g - 1, f));
}

TextList moveFilterUp(const std::string& appFolder, const TextList& filters, int group, int filter)
{
    const std::string moved = filterKey(group, filter);
    const std::string previous = filterKey(group, filter - 1);
    const std::string movedConditions = appFolder + conditionsFileName(moved);
    const std::string movedActions = appFolder + actionsFileName(moved);
    const std::string previousConditions = appFolder + conditionsFileName(previous);
    const std::string previousActions = appFolder + actionsFileName(previous);
    // All four are read before anything changes: a missing one stops the move here.
    const std::string movedConditionsBytes = readWholeFile(movedConditions);
    const std::string movedActionsBytes = readWholeFile(movedActions);
    const std::string previousConditionsBytes = readWholeFile(previousConditions);
    const std::string previousActionsBytes = readWholeFile(previousActions);

    TextList list = filters;
    const std::string movedName = list.value(moved);
    const std::string previousName = list.value(previous);
    for (const std::string& key : {moved, previous}) {
        const int line = list.indexOfName(key);
        if (line >= 0) list.remove(line);
    }
    list.add(previous + "=" + movedName);
    list.add(moved + "=" + previousName);

    const std::string listPath = appFolder + std::string(files::filter);
    std::optional<std::string> listBefore;
    if (fileExists(listPath)) listBefore = readWholeFile(listPath);
    // Each file is replaced whole; there is no moment in which a filter's files are gone.
    writeAllOrRestore({{previousConditions, movedConditionsBytes, previousConditionsBytes},
                       {previousActions, movedActionsBytes, previousActionsBytes},
                       {movedConditions, previousConditionsBytes, movedConditionsBytes},
                       {movedActions, previousActionsBytes, movedActionsBytes},
                       {listPath, list.text(), listBefore}});
    return list;
}

} // namespace quintor
