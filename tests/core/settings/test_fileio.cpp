#include "settings/errors.h"
#include "settings/fileio.h"
#include "settings/textlist.h"
#include "support/tempfolder.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace quintor;

namespace {

// Lowers the file size limit for the lifetime of the guard, so that a write fails half-way
// with the operating system's "File too large".
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

std::size_t entriesIn(const std::string& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

} // namespace

TEST(SafeSave, AFailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    test::TempFolder folder;
    folder.write("config.txt", "width=800\r\n");
    TextList big;
    for (int i = 0; i < 1000; ++i)
        big.add("line number " + std::to_string(i));

    try {
        FileSizeLimit limit(100);
        big.saveToFile(folder.file("config.txt"));
        FAIL() << "save reported success";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("config.txt"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(std::strerror(EFBIG)), std::string::npos) << e.what();
    }
    EXPECT_EQ(folder.read("config.txt"), "width=800\r\n");
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST(SafeSave, AMissingFolderIsReportedWithTheReason)
{
    test::TempFolder folder;
    try {
        saveWholeFile(folder.file("no/such/folder/x.txt"), "x");
        FAIL() << "save reported success";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(std::strerror(ENOENT)), std::string::npos) << e.what();
    }
}

// The rename replaced a file its owner had marked read-only, though writing to it would have failed.
TEST(SafeSave, AFileMarkedReadOnlyIsNotReplaced)
{
    test::TempFolder folder;
    folder.write("server.txt", "http://mein.server/\r\n");
    ::chmod(folder.file("server.txt").c_str(), 0444);
    try {
        saveWholeFile(folder.file("server.txt"), "ersetzt");
        FAIL() << "save reported success";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(std::strerror(EACCES)), std::string::npos) << e.what();
    }
    EXPECT_EQ(folder.read("server.txt"), "http://mein.server/\r\n");
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST(SafeSave, ReplacesContentAndKeepsTheFilesMode)
{
    test::TempFolder folder;
    folder.write("a.txt", "old old old");
    ::chmod(folder.file("a.txt").c_str(), 0640);
    saveWholeFile(folder.file("a.txt"), "new");
    EXPECT_EQ(folder.read("a.txt"), "new");
    struct stat info {};
    ::stat(folder.file("a.txt").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // A new file gets the usual mode, not the temporary file's private one.
    const mode_t oldMask = ::umask(022);
    saveWholeFile(folder.file("fresh.txt"), "");
    ::umask(oldMask);
    ::stat(folder.file("fresh.txt").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(FileIo, FileExistsOnlyForFiles)
{
    test::TempFolder folder;
    folder.write("f", "");
    std::filesystem::create_directory(folder.file("d"));
    EXPECT_TRUE(fileExists(folder.file("f")));
    EXPECT_FALSE(fileExists(folder.file("d")));
    EXPECT_FALSE(fileExists(folder.file("none")));
}

TEST(FileIo, AStampedReadGivesTheBytesAndAStampThatAReplacedFileDoesNotHave)
{
    test::TempFolder folder;
    folder.write("f.txt", "eins");
    const StampedFile read = readStampedFile(folder.file("f.txt"));
    EXPECT_EQ(read.bytes, "eins");
    EXPECT_EQ(fileStamp(folder.file("f.txt")), read.stamp);
    // Written just now: a change within the file system's clock tick could keep the stamp.
    EXPECT_FALSE(read.settled);
    saveWholeFile(folder.file("f.txt"), "zwei"); // the same size
    EXPECT_NE(fileStamp(folder.file("f.txt")), read.stamp);
    EXPECT_EQ(fileStamp(folder.file("none")), std::nullopt);
    std::filesystem::create_directory(folder.file("d"));
    EXPECT_EQ(fileStamp(folder.file("d")), std::nullopt);
    EXPECT_THROW(readStampedFile(folder.file("none")), FileError);
}

TEST(FileIo, RenameNeverReplacesAnExistingFile)
{
    test::TempFolder folder;
    folder.write("a.txt", "a");
    folder.write("b.txt", "b");
    EXPECT_FALSE(renameNoReplace(folder.file("a.txt"), folder.file("b.txt")));
    EXPECT_EQ(folder.read("a.txt"), "a");
    EXPECT_EQ(folder.read("b.txt"), "b");
    EXPECT_TRUE(renameNoReplace(folder.file("a.txt"), folder.file("c.txt")));
    EXPECT_FALSE(folder.exists("a.txt"));
    EXPECT_EQ(folder.read("c.txt"), "a");
    EXPECT_FALSE(renameNoReplace(folder.file("none.txt"), folder.file("d.txt")));
    EXPECT_TRUE(deleteFile(folder.file("c.txt")));
    EXPECT_FALSE(deleteFile(folder.file("c.txt")));
}
