// The stand-alone quintor-masterserver-sim: options, the announced port, and a clean end on
// SIGTERM and SIGINT.
#include "history/civiltime.h"
#include "history/hourtotals.h"
#include "masterserver-sim/replygen.h"
#include "settings/textlist.h"
#include "support/tempfolder.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace quintor::sim {
namespace {

// The simulator as a child process whose standard output the test reads.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), QUINTOR_SIM_EXECUTABLE);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        // The usage text of refused options would only clutter the test log.
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        int failed = posix_spawn(&pid_, QUINTOR_SIM_EXECUTABLE, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        output_ = pipeEnds[0];
        if (failed != 0) throw std::runtime_error("cannot start the simulator");
    }
    ~SimProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(output_);
    }

    // The first line of standard output; blocks until it is there or the process ends.
    std::string firstLine()
    {
        std::string line;
        char c = 0;
        while (::read(output_, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }

    // Sends a signal and waits for the end; the exit status, or -1 when killed by the signal.
    int endWith(int signal)
    {
        ::kill(pid_, signal);
        return wait();
    }
    int wait()
    {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = 0;
    int output_ = -1;
};

std::string baseUrlFrom(const std::string& line)
{
    const std::string prefix = "listening on http://127.0.0.1:";
    if (line.rfind(prefix, 0) != 0) return "";
    return line.substr(std::string("listening on ").size());
}

std::string body(const std::string& baseUrl, const char* path)
{
    httplib::Client client(baseUrl);
    auto result = client.Get(path);
    return result && result->status == 200 ? result->body : "<failed>";
}

TEST(SimExecutable, ServesTheWorldOfItsSeedAndEndsOnSigterm)
{
    test::TempFolder feed;
    feed.write("index.txt", "filter\r\n");
    SimProcess sim({"--port", "0", "--seed", "5", "--games", "4", "--step-seconds", "0", "--version-word",
                    "Velmar 2.03 Beta [85]", "--feed-dir", feed.path()});
    std::string url = baseUrlFrom(sim.firstLine());
    ASSERT_FALSE(url.empty());
    EXPECT_EQ(body(url, "/league/server"), generateReply(SimWorld(5, 4)));
    EXPECT_EQ(body(url, "/quintor/version.txt"), "Velmar 2.03 Beta [85]");
    EXPECT_EQ(body(url, "/feed/index.txt"), "filter\r\n");
    EXPECT_EQ(body(url, "/quintor.txt").rfind("1=", 0), 0u);
    EXPECT_EQ(sim.endWith(SIGTERM), 0);
}

TEST(SimExecutable, ServesAFixedFileOrTheFloodTextAndEndsOnSigint)
{
    test::TempFolder folder;
    const std::string saved = "[Clonk Rage]\r\nVersion=4,9,10,7,330\r\n\r\n[Reference]\r\nIcon=1\r\n";
    folder.write("saved.txt", saved);
    {
        SimProcess sim({"--file", folder.file("saved.txt")});
        std::string url = baseUrlFrom(sim.firstLine());
        ASSERT_FALSE(url.empty());
        EXPECT_EQ(body(url, "/league/server"), saved);
        EXPECT_EQ(sim.endWith(SIGINT), 0);
    }
    {
        SimProcess sim({"--flood", "--classic-header"});
        std::string url = baseUrlFrom(sim.firstLine());
        ASSERT_FALSE(url.empty());
        EXPECT_EQ(body(url, "/league/server"), kFloodReply);
        EXPECT_EQ(sim.endWith(SIGTERM), 0);
    }
    {
        SimProcess sim({"--classic-header", "--games", "2"});
        std::string url = baseUrlFrom(sim.firstLine());
        SimWorld world(1, 2);
        world.setNewerServer(false);
        EXPECT_EQ(body(url, "/league/server"), generateReply(world));
        EXPECT_EQ(sim.endWith(SIGTERM), 0);
    }
    {
        SimProcess sim({"--hostile-title", "--games", "2"});
        std::string url = baseUrlFrom(sim.firstLine());
        SimWorld world(1, 2);
        world.addHostileGame();
        EXPECT_EQ(body(url, "/league/server"), generateReply(world));
        EXPECT_EQ(sim.endWith(SIGTERM), 0);
    }
}

TEST(SimExecutable, OutageOptionsReachTheServer)
{
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> bodies; // of three list requests in a row
    };
    const std::string list = generateReply(SimWorld(1, 2));
    const std::string flood(kFloodReply);
    for (const Case& c :
         {Case{{"--fail-after", "2"}, {list, list, "<failed>"}}, Case{{"--flood-after", "1"}, {list, flood, flood}},
          Case{{"--status", "503"}, {"<failed>", "<failed>", "<failed>"}}}) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--games", "2"});
        SimProcess sim(arguments);
        std::string url = baseUrlFrom(sim.firstLine());
        ASSERT_FALSE(url.empty()) << c.arguments[0];
        for (const std::string& expected : c.bodies)
            EXPECT_EQ(body(url, "/league/server"), expected) << c.arguments[0];
        EXPECT_EQ(sim.endWith(SIGTERM), 0);
    }
}

TEST(SimExecutable, WritesAHistoryUpToTheLastHourBeforeServing)
{
    test::TempFolder folder;
    const std::time_t started = std::time(nullptr);
    SimProcess sim({"--history-days", "3", "--history-folder", folder.path()});
    ASSERT_FALSE(baseUrlFrom(sim.firstLine()).empty());
    TextList file;
    file.loadFromFile(folder.file("history.txt"));
    const ParsedHistory history = parseHistory(file);
    EXPECT_EQ(history.skippedLines, 0);
    ASSERT_GT(history.hours.size(), 50u);
    std::tm local{};
    localtime_r(&started, &local);
    const std::int64_t hourBefore =
        hourNumber(LocalHour{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour}) - 1;
    // The hour may turn between the start of the test and that of the simulator.
    EXPECT_LE(history.hours.back().hour, hourBefore + 1);
    EXPECT_GE(history.hours.front().hour, hourBefore - 3 * 24 + 1);
    EXPECT_EQ(sim.endWith(SIGTERM), 0);
}

TEST(SimExecutable, RefusesBadOptions)
{
    for (std::vector<std::string> arguments :
         std::vector<std::vector<std::string>>{{"--port", "70000"},
                                               {"--games", "x"},
                                               {"--unknown"},
                                               {"--seed"},
                                               {"--file", "/no/such/file"},
                                               {"--history-days", "401", "--history-folder", "/tmp"},
                                               {"--history-days", "3"},
                                               {"--fail-after", "0"},
                                               {"--status", "200"},
                                               {"--flood-after", "x"},
                                               {"--history-days", "3", "--history-folder", "/no/such/folder"}}) {
        SimProcess sim(arguments);
        EXPECT_EQ(sim.firstLine(), "") << arguments[0];
        EXPECT_EQ(sim.wait(), 2) << arguments[0];
    }
}

} // namespace
} // namespace quintor::sim
