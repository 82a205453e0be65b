#include "settings/ownfiles.h"

#include "settings/fileio.h"
#include "settings/keys.h"

#include <filesystem>

namespace quintor {
namespace {

// Takes decimal digits without a leading zero ("0" itself is fine) from the front of `text`.
bool takeNumber(std::string_view& text)
{
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0 || (digits > 1 && text[0] == '0')) return false;
    text.remove_prefix(digits);
    return true;
}

bool takePrefix(std::string_view& text, std::string_view prefix)
{
    if (text.substr(0, prefix.size()) != prefix) return false;
    text.remove_prefix(prefix.size());
    return true;
}

} // namespace

bool isFilterFileBase(std::string_view base)
{
    if (base == "filter") return true;
    if (!takePrefix(base, "grp") || !takeNumber(base) || !takePrefix(base, "fil") || !takeNumber(base)) return false;
    return base.empty() || base == "_act";
}

bool isOwnFileName(std::string_view fileName)
{
    for (std::string_view list : {files::server, files::aliases, files::config, files::log, files::friends,
                                  files::index, files::history, files::filterJournal}) {
        if (fileName == list) return true;
    }
    constexpr std::string_view extension = ".txt";
    if (fileName.size() <= extension.size() || fileName.substr(fileName.size() - extension.size()) != extension)
        return false;
    return isFilterFileBase(fileName.substr(0, fileName.size() - extension.size()));
}

std::vector<std::string> removeLeftoverSaveFiles(const std::string& appFolder)
{
    namespace fs = std::filesystem;
    std::vector<std::string> removed;
    std::error_code error;
    for (fs::directory_iterator it(appFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const auto target = targetOfSaveTemp(name);
        if (!target || !isOwnFileName(*target)) continue;
        std::error_code typeError;
        if (it->is_symlink(typeError) || !it->is_regular_file(typeError)) continue;
        if (deleteFile(appFolder + name)) removed.push_back(name);
    }
    return removed;
}

} // namespace quintor
