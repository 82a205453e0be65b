// What the tree editor does to the filter store's files when filters and groups go or move. The files
// follow the filters' positions; nothing here touches a file that is not a filter's own.
#pragma once

#include "settings/textlist.h"

#include <string>
#include <vector>

namespace quintor {

// Deletes both files of filter `filter` of group `group`, then moves the files of the later filters of
// that group (up to `filterCount` - 1) one number down. A deletion or rename that fails is skipped;
// a rename never replaces a file.
void deleteFilterFiles(const std::string& appFolder, int group, int filter, int filterCount);

// Deletes both files of every filter of group `group`, then moves the files of the filters of every
// later group one group number down. `filterCounts` holds each group's number of filters, in order.
void deleteGroupFiles(const std::string& appFolder, const std::vector<int>& filterCounts, int group);

// Swaps filter `filter` of group `group` with the filter before it: their files change keys and
// their lines in `filters` change names, the two lines going to the end. Returns the new list, which
// is also written as "filter.txt". FileError when a file cannot be read (nothing is changed then) or
// written (whatever was already written is put back as it was).
TextList moveFilterUp(const std::string& appFolder, const TextList& filters, int group, int filter);

} // namespace quintor
