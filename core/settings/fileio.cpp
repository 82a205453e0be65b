#include "settings/fileio.h"
#include "settings/translate.h"

#include "settings/errors.h"
#include "settings/fileport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__linux__)
#include <sys/syscall.h>
#endif

namespace quintor {
namespace {

constexpr std::string_view kTempMarker = ".tmp-";
constexpr std::size_t kTempUniqueLength = 6; // mkstemp's XXXXXX

std::string osReason(int error)
{
    return std::strerror(error);
}

[[noreturn]] void failSave(const std::string& path, int error)
{
    throw FileError(tr("Die Datei \"") + path + tr("\" kann nicht gespeichert werden: ") + osReason(error));
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

class FdCloser {
public:
    explicit FdCloser(int fd) : fd_(fd) {}
    ~FdCloser()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

} // namespace

bool fileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

namespace {

// How long a file must have stood unchanged before a stamp is trusted to show its next change: the coarsest clock of
// the file systems the folder may be on (FAT keeps times to two seconds), and a second to spare.
constexpr std::int64_t kSettledNs = 3'000'000'000;

std::int64_t nanoseconds(const struct timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

FileStamp stampOf(const struct stat& info)
{
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size), nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)};
}

[[noreturn]] void failOpen(const std::string& path, int error)
{
    throw FileError(tr("Die Datei \"") + path +
                    tr("\" kann nicht ge\xF6"
                       "ffnet werden: ") +
                    osReason(error));
}

// Reads the open file to its end.
std::string readAll(int fd, const std::string& path, std::size_t sizeHint)
{
    std::string bytes;
    bytes.reserve(sizeHint);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            throw FileError(tr("Die Datei \"") + path + tr("\" kann nicht gelesen werden: ") + osReason(error));
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

} // namespace

std::string readWholeFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) failOpen(path, errno);
    FdCloser closer(fd);
    return readAll(fd, path, 0);
}

void refuseTextCutByNul(const std::string& path, std::string_view bytes)
{
    if (bytes.find('\0') == std::string_view::npos) return;
    throw FileError(tr("Die Datei \"") + path +
                    tr("\" enth\xE4lt ein NUL-Byte: Was dahinter steht, wurde nicht gelesen, und die Datei "
                       "wird nicht \xFC"
                       "berschrieben."));
}

std::optional<FileStamp> fileStamp(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return stampOf(info);
}

StampedFile readStampedFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) failOpen(path, errno);
    FdCloser closer(fd);
    StampedFile file;
    struct stat info {};
    // Stamped before the bytes are read: a change while they are read shows in a later stamp.
    if (::fstat(fd, &info) == 0) {
        file.stamp = stampOf(info);
        struct timespec now {};
        ::clock_gettime(CLOCK_REALTIME, &now);
        const std::int64_t changed = std::max(file.stamp.modifiedNs, file.stamp.changedNs);
        file.settled = S_ISREG(info.st_mode) && nanoseconds(now) - changed > kSettledNs;
    }
    file.bytes = readAll(fd, path, static_cast<std::size_t>(std::min<std::uint64_t>(file.stamp.size, 1u << 20)));
    return file;
}

void saveWholeFile(const std::string& path, std::string_view bytes)
{
    const std::string folder = folderOf(path);
    const auto slash = path.find_last_of('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string tempName = folder + "/." + base + std::string(kTempMarker) + std::string(kTempUniqueLength, 'X');

    // The rename would replace a file that its owner marked read-only as readily as any other; writing it in place
    // would fail. So it is not saved, as it would not be written to.
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISREG(existing.st_mode) && (existing.st_mode & 0222) == 0) failSave(path, EACCES);

    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0) failSave(path, errno);
    FdCloser closer(fd);
    auto failAndClean = [&](int error) {
        ::close(closer.release());
        ::unlink(tempName.c_str());
        failSave(path, error);
    };

    // mkstemp makes the file private; give it the target's mode, or the usual one for a new file.
    mode_t mode;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) failAndClean(errno);

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            failAndClean(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) failAndClean(errno);
    if (::close(closer.release()) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        failSave(path, error);
    }
    if (::rename(tempName.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        failSave(path, error);
    }
}

std::optional<std::string> targetOfSaveTemp(std::string_view fileName)
{
    const std::size_t fixed = 1 + kTempMarker.size() + kTempUniqueLength;
    if (fileName.size() <= fixed || fileName.front() != '.') return std::nullopt;
    const std::string_view unique = fileName.substr(fileName.size() - kTempUniqueLength);
    for (const char c : unique) {
        const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit) return std::nullopt;
    }
    const std::string_view rest = fileName.substr(1, fileName.size() - 1 - kTempUniqueLength);
    if (rest.size() <= kTempMarker.size() || rest.substr(rest.size() - kTempMarker.size()) != kTempMarker)
        return std::nullopt;
    return std::string(rest.substr(0, rest.size() - kTempMarker.size()));
}

bool deleteFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool renameNoReplace(const std::string& from, const std::string& to)
{
#if defined(__linux__) && defined(SYS_renameat2)
    constexpr unsigned int noReplace = 1; // RENAME_NOREPLACE
    if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), noReplace) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // Fallback for file systems without renameat2: link then unlink never replaces either.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    return ::unlink(from.c_str()) == 0;
}

namespace {

class LocalFiles final : public FilePort {
public:
    bool exists(const std::string& path) override { return fileExists(path); }
    std::string read(const std::string& path) override { return readWholeFile(path); }
    void save(const std::string& path, std::string_view bytes) override
    {
        saveWholeFile(path, bytes);
        // The rename itself reaches the disk only with its folder: a later step must not overtake it.
        const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0) return;
        ::fsync(folder);
        ::close(folder);
    }
    void remove(const std::string& path) override
    {
        if (::unlink(path.c_str()) == 0 || errno == ENOENT) return;
        const int error = errno;
        throw FileError(tr("Die Datei \"") + path + tr("\" kann nicht gel\xF6scht werden: ") + osReason(error));
    }
};

} // namespace

FilePort& localFiles()
{
    static LocalFiles files;
    return files;
}

} // namespace quintor
