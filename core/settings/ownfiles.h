// The files the program itself keeps in the application folder, known by their names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// The base name (without ".txt") of a file of the filter store: "filter", or "grp" N "fil" M with or
// without "_act", N and M decimal without leading zeros.
bool isFilterFileBase(std::string_view base);

// One of the list files (the friends' included), "index.txt", "history.txt", the filter store's journal, or a file of
// the filter store.
bool isOwnFileName(std::string_view fileName);

// Removes the temporary files that saves of the program's own files left behind when the program was
// killed during them (each one can be a full copy of the log). Nothing else in the folder is touched.
// Gives the names removed.
std::vector<std::string> removeLeftoverSaveFiles(const std::string& appFolder);

} // namespace quintor
