// quintor-reflist [--appdir DIR] [--previous FILE]... FILE...
// Prints, as JSON, what the monitor would show for these masterserver replies and this
// application folder; with --previous, the replies of the refresh before, so that only the filter
// actions that fire now are listed.
#include "reflistreport.h"

#include "settings/appfolder.h"
#include "settings/errors.h"
#include "settings/fileio.h"
#include "settings/translate.h"

#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

int usage(const std::string& problem)
{
    std::cerr << "quintor-reflist: " << problem
              << "\nusage: quintor-reflist [--appdir DIR] [--previous FILE]... FILE...\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    quintor::InspectionInput input;
    std::vector<std::string> files;
    std::vector<std::string> previousFiles;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--appdir") {
            if (i + 1 >= argc) return usage("--appdir needs a folder");
            input.appFolder = argv[++i];
        } else if (arg == "--previous") {
            if (i + 1 >= argc) return usage("--previous needs a file");
            previousFiles.emplace_back(argv[++i]);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
            return usage("unknown option " + std::string(arg));
        } else if (arg == "--") {
            for (++i; i < argc; ++i)
                files.emplace_back(argv[i]);
        } else {
            files.emplace_back(arg);
        }
    }
    if (files.empty()) return usage("no reply file given");

    // The texts as the program would show them: the language of the folder's "config.txt", else the
    // environment's; the catalog beside the tool or installed with it.
    std::string folder = input.appFolder.value_or("");
    if (!folder.empty() && folder.back() != '/') folder += '/';
    const quintor::Language language = quintor::chooseLanguage(
        folder.empty() ? "" : quintor::storedLanguageSetting(folder), quintor::LocaleEnvironment::current());
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string program = length > 0 ? std::string(self, static_cast<std::size_t>(length)) : std::string(argv[0]);
    quintor::useLanguage(language, quintor::catalogCandidates(quintor::folderOfExecutable(program), language));

    try {
        for (const auto& file : previousFiles)
            input.previous.push_back(quintor::readWholeFile(file));
        for (const auto& file : files)
            input.replies.push_back(quintor::readWholeFile(file));
    } catch (const quintor::FileError& e) {
        std::cerr << "quintor-reflist: " << e.what() << "\n";
        return 2;
    }
    try {
        std::cout << quintor::inspect(input).dump(2) << "\n";
    } catch (const std::exception& e) {
        std::cerr << "quintor-reflist: " << e.what() << "\n";
        return 2;
    }
    return 0;
}
