// The few file operations that changes of several files go through, behind an interface so that a test can
// make any one of them fail and see what a crash at that point would leave.
#pragma once

#include <string>
#include <string_view>

namespace quintor {

class FilePort {
public:
    virtual ~FilePort() = default;
    // True when the path exists and is a file.
    virtual bool exists(const std::string& path) = 0;
    // The whole file; FileError when it cannot be read.
    virtual std::string read(const std::string& path) = 0;
    // Replaces the file whole: afterwards it holds either its old bytes or all the new ones, also after a
    // crash, and the new ones are on the disk when this returns. FileError when that fails.
    virtual void save(const std::string& path, std::string_view bytes) = 0;
    // Deletes the file; a file that is not there is fine. FileError when it stays.
    virtual void remove(const std::string& path) = 0;
};

// The files of the local file system, through the safe save.
FilePort& localFiles();

} // namespace quintor
