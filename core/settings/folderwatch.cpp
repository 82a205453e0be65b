#include "settings/folderwatch.h"

#include <algorithm>
#include <cctype>

#if defined(__linux__)
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#endif

namespace quintor {
namespace {

std::string folded(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

#if defined(__linux__)
// File systems whose files change only through this machine's kernel, which tells of every change.
bool localFileSystem(const std::string& folder)
{
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0) return false;
    constexpr unsigned long kZfs = 0x2FC12FC1;
    switch (static_cast<unsigned long>(info.f_type)) {
    case EXT4_SUPER_MAGIC: // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
    case kZfs:
        return true;
    default:
        return false;
    }
}
#endif

} // namespace

bool FolderWatch::Changes::mayHaveChanged(const std::string& name) const
{
    return everything || names.count(folded(name)) != 0;
}

FolderWatch::FolderWatch(const std::string& folder) : folder_(folder)
{
#if defined(__linux__)
    if (folder_.empty() || !localFileSystem(folder_)) return;
    descriptor_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor_ < 0) return;
    constexpr std::uint32_t kWatched = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO |
                                       IN_CREATE | IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    if (::inotify_add_watch(descriptor_, folder_.c_str(), kWatched) < 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
#endif
}

FolderWatch::~FolderWatch()
{
#if defined(__linux__)
    if (descriptor_ >= 0) ::close(descriptor_);
#endif
}

FolderWatch::Changes FolderWatch::changes()
{
    Changes changes;
#if defined(__linux__)
    if (descriptor_ < 0) {
        changes.everything = true;
        return changes;
    }
    alignas(inotify_event) char buffer[4096];
    bool watchEnded = false;
    for (;;) {
        const ssize_t got = ::read(descriptor_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break; // nothing more to tell
        if (got <= 0) {
            watchEnded = true;
            break;
        }
        for (std::size_t at = 0; at + sizeof(inotify_event) <= static_cast<std::size_t>(got);) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* const name = buffer + at + sizeof(inotify_event);
            at += sizeof(inotify_event) + event.len;
            if (event.mask & IN_Q_OVERFLOW) changes.everything = true; // notices were lost
            // The folder itself is gone, moved or unmounted: the watch no longer follows its path.
            if (event.mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) watchEnded = true;
            if (event.len > 0) changes.names.insert(folded(std::string(name, ::strnlen(name, event.len))));
        }
    }
    if (watchEnded) {
        ::close(descriptor_);
        descriptor_ = -1;
        changes.everything = true;
    }
#else
    changes.everything = true;
#endif
    return changes;
}

bool FolderWatch::covers(const std::string& name) const
{
#if defined(__linux__)
    if (descriptor_ < 0 || name.empty() || name.find('/') != std::string::npos) return false;
    struct stat info {};
    return ::lstat((folder_ + name).c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1;
#else
    (void)name;
    return false;
#endif
}

} // namespace quintor
