// A change of several files of the application folder that a crash cannot leave half-done: the whole change
// (the final bytes of every file it writes, and the files it deletes) is first saved as a journal, then
// carried out, then the journal is removed. A journal found later is carried out again before anything reads
// the files, so every reader sees either the old set of files or the new one.
#pragma once

#include "settings/errors.h"
#include "settings/fileport.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

struct FileWrite {
    std::string name; // bare file name in the folder
    std::string bytes;
    bool operator==(const FileWrite&) const = default;
};

struct FileSetChange {
    std::vector<FileWrite> writes;    // in this order
    std::vector<std::string> deletes; // bare file names, after the writes
    bool empty() const { return writes.empty() && deletes.empty(); }
    bool operator==(const FileSetChange&) const = default;
};

// A change whose journal was saved but which could not be carried out whole: the journal stays, and the next
// replayJournal finishes it. Until then the change counts as made.
class UnfinishedChange : public FileError {
public:
    using FileError::FileError;
};

// The journal's file form; parseJournal gives nothing for bytes that are not a whole journal.
std::string journalBytes(const FileSetChange& change);
std::optional<FileSetChange> parseJournal(std::string_view bytes);

// Saves `change` as the journal `journalName` in `folder` (ending with the separator), carries it out and
// removes the journal. When the journal cannot be saved, FileError and nothing has changed. When a step after
// it fails, the change is tried once more from the start; failing again, UnfinishedChange with the journal
// left in place, so that the next replayJournal finishes the change.
void applyJournaled(FilePort& files, const std::string& folder, std::string_view journalName,
                    const FileSetChange& change);

enum class JournalReplay { none, finished };

// Finishes the change of a journal left by a crash (or by a failed applyJournaled) and removes it; `none`
// when there is no journal. FileError when the journal cannot be read, is not whole, names a file that
// `mayChange` refuses, or a step fails: then no file was touched that the journal does not name, and the
// journal stays.
JournalReplay replayJournal(FilePort& files, const std::string& folder, std::string_view journalName,
                            const std::function<bool(std::string_view)>& mayChange);

} // namespace quintor
