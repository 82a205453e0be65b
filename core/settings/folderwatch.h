// Which files of a folder may have changed since it was last asked, from the kernel's notices of the folder's
// entries: a look at many files every few seconds then costs one read while nothing happened, instead of a look at
// each. Where notices cannot be trusted (no such notices on this system, a network file system whose files other
// machines change, a watch the kernel ended or whose notices overflowed), every file may have changed.
#pragma once

#include <string>
#include <unordered_set>

namespace quintor {

class FolderWatch {
public:
    // `folder` ends with the separator.
    explicit FolderWatch(const std::string& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // The names of the folder's entries that may have changed since the last call, or since the watch began; with
    // `everything`, any of them may have: so at every call once the notices can no longer be trusted.
    struct Changes {
        bool everything = false;
        std::unordered_set<std::string> names; // folded to lower case: a change is never missed for its spelling
        bool mayHaveChanged(const std::string& name) const;
    };
    Changes changes();

    // Whether a change of the file `name` in `folder` shows in the notices: a plain file right in the folder, with
    // no other name (a change made through a link or another name would not show). Asked when the file is read.
    bool covers(const std::string& name) const;

private:
    std::string folder_;
    int descriptor_ = -1; // -1: not watching
};

} // namespace quintor
