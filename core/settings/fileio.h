// Whole-file reading and the safe save that every file of the application folder goes through.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// True when the path exists and is a file (not a folder).
bool fileExists(const std::string& path);

// The whole file as bytes; FileError with the operating system's reason when it cannot be read.
std::string readWholeFile(const std::string& path);

// Refuses a file that holds a NUL byte (a list saved as UTF-16 by an editor): its text is read up to the first one, so
// saving what was read would lose the rest. Throws FileError then, naming the file.
void refuseTextCutByNul(const std::string& path, std::string_view bytes);

// What tells one state of a file from the next: which file it is, its size and its change times.
struct FileStamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modifiedNs = 0, changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The file's stamp now; nothing when it is no file or cannot be looked at.
std::optional<FileStamp> fileStamp(const std::string& path);

// A file read whole, with the stamp it had when it was read. `settled`: it had not changed for a while before (a
// change in the same tick of the file system's clock could keep its stamp), so any later change shows in its stamp.
struct StampedFile {
    std::string bytes;
    FileStamp stamp;
    bool settled = false;
};
// As readWholeFile.
StampedFile readStampedFile(const std::string& path);

// Writes a temporary file in the target's folder, flushes it to disk and renames it over the
// target. On any failure the temporary file is removed, the old file stays as it was, and a
// FileError carries the operating system's reason. A new file gets the usual permissions (umask);
// a replaced one keeps its own. A file that no one may write to (marked read-only) is not replaced.
void saveWholeFile(const std::string& path, std::string_view bytes);

// The file a safe save's temporary file stands beside: for "." + name + ".tmp-" and six letters or digits
// (what a save interrupted by a crash leaves behind) the name; for anything else nothing.
std::optional<std::string> targetOfSaveTemp(std::string_view fileName);

// Deletes a file; false when it could not be deleted.
bool deleteFile(const std::string& path);

// Renames a file without ever replacing an existing one; false on any failure.
bool renameNoReplace(const std::string& from, const std::string& to);

} // namespace quintor
