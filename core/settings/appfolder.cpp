#include "settings/appfolder.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace quintor {
namespace {

bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string executablePath()
{
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return {};
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

bool isWritableFolder(const std::string& folder)
{
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string envOrEmpty(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

std::string folderOfExecutable(const std::string& executablePath)
{
    const auto slash = executablePath.find_last_of('/');
    if (slash == std::string::npos) return "./";
    return executablePath.substr(0, slash + 1);
}

bool isSystemProgramFolder(const std::string& folder)
{
    // ~/.local/bin/ is shared by every program the user installed there: no place for our files either.
    static constexpr std::array<std::string_view, 9> systemFolders = {
        "/usr/bin/",     "/usr/games/",       "/usr/local/bin/", "/usr/local/games/", "/usr/sbin/",
        "/usr/libexec/", "/opt/quintor/bin/", "/snap/bin/",      "/.local/bin/"};
    const std::string withTrailing = withSlash(folder);
    for (auto suffix : systemFolders) {
        if (endsWith(withTrailing, suffix)) return true;
    }
    return withTrailing == "/bin/" || withTrailing == "/sbin/";
}

bool ensureFolder(const std::string& folder)
{
    std::string path;
    for (std::size_t i = 0; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/') {
            if (!path.empty()) ::mkdir(path.c_str(), 0755);
        }
        if (i < folder.size()) path += folder[i];
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string appFolderFor(const AppFolderInputs& inputs)
{
    const std::string exeFolder = folderOfExecutable(inputs.executablePath);
    if (!inputs.executablePath.empty() && !isSystemProgramFolder(exeFolder) && isWritableFolder(exeFolder)) {
        return exeFolder;
    }
    std::string dataHome = inputs.xdgDataHome;
    if (dataHome.empty() || dataHome.front() != '/') {
        dataHome = inputs.home.empty() ? std::string("/tmp") : inputs.home + "/.local/share";
    }
    const std::string folder = withSlash(dataHome) + "quintor/";
    ensureFolder(folder);
    return folder;
}

std::string applicationFolder()
{
    return appFolderFor({executablePath(), envOrEmpty("XDG_DATA_HOME"), envOrEmpty("HOME")});
}

} // namespace quintor
