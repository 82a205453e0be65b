// quintor-masterserver-sim: a local stand-in for the league masterserver, the notice server, the
// update server and a filter feed, on 127.0.0.1. Prints "listening on http://127.0.0.1:PORT" once
// it accepts requests, and ends cleanly on SIGINT or SIGTERM.
#include "history/activityhistory.h"
#include "history/civiltime.h"
#include "masterserver-sim/simhistory.h"
#include "masterserver-sim/simserver.h"
#include "settings/keys.h"
#include "settings/textlist.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

const char* const kUsage =
    "usage: quintor-masterserver-sim [options]\n"
    "  --port N            port on 127.0.0.1 (default 0: any free port)\n"
    "  --seed N            seed of the simulated league (default 1)\n"
    "  --games N           number of games at the start (default 12)\n"
    "  --step-seconds N    wall-clock seconds per step of the league (default 20; 0: never)\n"
    "  --file FILE         serve this file at /league/server instead of the simulated league\n"
    "  --flood             answer /league/server with the league's flood-protection text\n"
    "  --flood-after N     answer N requests of /league/server, then the flood-protection text\n"
    "  --fail-after N      answer N requests of /league/server, then close every connection unanswered\n"
    "  --status CODE       answer /league/server with this HTTP status (201 to 599)\n"
    "  --classic-header    write only the [Clonk Rage] header, as older league servers do\n"
    "  --hostile-title     list one more lobby whose title, comment and host name are markup and\n"
    "                      escaped control characters (<img src=/dev/zero>, <c ff0000>Pro</c>, &amp;,\n"
    "                      <b>Zeile</b>, \\012, \\000)\n"
    "  --notice-file FILE  serve this file at /quintor.txt instead of the three built-in notices\n"
    "  --version-word TEXT what /quintor/version.txt answers (default \"Velmar 2.02 Beta [84]\")\n"
    "  --feed-dir DIR      serve the files of DIR under /feed/\n"
    "  --friends FILE      put the names of FILE (one a line, like friends.txt) among the players: the first\n"
    "                      plays from the start, the others come online later and move between games\n"
    "  --history-days N    before serving, write a made-up activity history.txt of N days (1 to 400)\n"
    "                      that ends with the last full hour, into the folder of --history-folder\n"
    "  --history-folder DIR the folder for --history-days\n";

struct Options {
    quintor::sim::SimServerOptions server;
    std::uint32_t seed = 1;
    int games = 12;
    std::optional<std::string> file;
    std::optional<std::string> noticeFile;
    bool flood = false;
    int floodAfter = 0;
    int status = 0;
    bool classicHeader = false;
    int historyDays = 0;
    std::optional<std::string> historyFolder;
    bool hostileTitle = false;
    std::optional<std::string> friendsFile;
};

long number(std::string_view option, const std::string& text, long min, long max)
{
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < min || value > max)
        throw std::invalid_argument(std::string(option) + " needs a number from " + std::to_string(min) + " to " +
                                    std::to_string(max) + ", not '" + text + "'");
    return value;
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    options.server.stepInterval = std::chrono::seconds(20);
    for (int i = 1; i < argc; ++i) {
        std::string_view option = argv[i];
        auto argument = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(std::string(option) + " needs a value");
            return argv[++i];
        };
        if (option == "--port")
            options.server.port = static_cast<int>(number(option, argument(), 0, 65535));
        else if (option == "--seed")
            options.seed = static_cast<std::uint32_t>(number(option, argument(), 0, 4294967295L));
        else if (option == "--games")
            options.games = static_cast<int>(number(option, argument(), 0, 100000));
        else if (option == "--step-seconds")
            options.server.stepInterval = std::chrono::seconds(number(option, argument(), 0, 86400));
        else if (option == "--file")
            options.file = argument();
        else if (option == "--notice-file")
            options.noticeFile = argument();
        else if (option == "--flood")
            options.flood = true;
        else if (option == "--flood-after")
            options.floodAfter = static_cast<int>(number(option, argument(), 1, 1000000));
        else if (option == "--fail-after")
            options.server.failAfter = static_cast<int>(number(option, argument(), 1, 1000000));
        else if (option == "--status")
            options.status = static_cast<int>(number(option, argument(), 201, 599));
        else if (option == "--classic-header")
            options.classicHeader = true;
        else if (option == "--hostile-title")
            options.hostileTitle = true;
        else if (option == "--version-word")
            options.server.versionWord = argument();
        else if (option == "--feed-dir")
            options.server.feedDir = argument();
        else if (option == "--history-days")
            options.historyDays = static_cast<int>(number(option, argument(), 1, quintor::ActivityHistory::keptDays));
        else if (option == "--friends")
            options.friendsFile = argument();
        else if (option == "--history-folder")
            options.historyFolder = argument();
        else
            throw std::invalid_argument("unknown option '" + std::string(option) + "'");
    }
    if ((options.historyDays > 0) != options.historyFolder.has_value())
        throw std::invalid_argument("--history-days and --history-folder go together");
    return options;
}

// The history ends with the hour before the current local one, which the program records itself.
void writeHistory(const Options& options)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const quintor::LocalHour current{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour};
    const std::int64_t lastHour = quintor::hourNumber(current) - 1;
    std::string folder = *options.historyFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    quintor::historyText(quintor::sim::simulatedHistory(options.seed, options.historyDays, lastHour))
        .saveToFile(folder + std::string(quintor::files::history));
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read '" + path + "'");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names of a friends' list: its lines without blanks around them and without a trailing "*", empty lines
// left out.
std::vector<std::string> friendNames(const std::string& text)
{
    std::vector<std::string> names;
    for (std::string_view line : quintor::splitLines(text)) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '*' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (!line.empty()) names.emplace_back(line);
    }
    return names;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    try {
        Options options = parseOptions(argc, argv);
        if (options.historyFolder) writeHistory(options);

        // Every thread inherits the blocked signals; this thread alone takes them with sigwait.
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);

        quintor::sim::SimServer server(options.server);
        quintor::sim::SimWorld world(options.seed, options.games);
        world.setNewerServer(!options.classicHeader);
        if (options.hostileTitle) world.addHostileGame();
        if (options.friendsFile) world.setFriends(friendNames(readFile(*options.friendsFile)));
        server.setWorld(std::move(world));
        if (options.file) server.setReply(readFile(*options.file));
        if (options.noticeFile) server.setNotice(readFile(*options.noticeFile));
        server.setFlood(options.flood);
        server.setFloodAfter(options.floodAfter);
        if (options.status != 0) server.setFailure("/league/server", options.status);

        std::cout << "listening on " << server.baseUrl() << std::endl;
        int received = 0;
        sigwait(&signals, &received);
        server.stop();
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "quintor-masterserver-sim: " << error.what() << "\n" << kUsage;
        return 2;
    }
}
