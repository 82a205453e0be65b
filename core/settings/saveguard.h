// Which files of the application folder this run may replace.
#pragma once

#include "settings/textlist.h"

#include <functional>
#include <set>
#include <string>

namespace quintor {

// A list file that exists but could not be read at start holds settings the program never saw. Writing
// the list would replace them with what little was read, so no save of this run touches such a file:
// every writer of a list file asks here first.
class SaveGuard {
public:
    // Start-up could not read this file: keep it as it is.
    void keep(const std::string& path) { kept_.insert(path); }
    bool mayReplace(const std::string& path) const { return kept_.find(path) == kept_.end(); }

    // Saves the list (a TextList, or anything else with saveToFile) to its file unless the file is kept;
    // false when it was kept.
    template <typename List> bool save(const List& list, const std::string& path) const
    {
        if (!mayReplace(path)) return false;
        list.saveToFile(path);
        return true;
    }

private:
    std::set<std::string, std::less<>> kept_;
};

} // namespace quintor
