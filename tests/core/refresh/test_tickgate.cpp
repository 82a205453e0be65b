#include "refresh/tickgate.h"

#include <gtest/gtest.h>
#include <stdexcept>

using quintor::TickGate;

TEST(TickGate, ATickDueWhileOneRunsRunsOnceAfterwardsNeverNested)
{
    TickGate gate(nullptr);
    int depth = 0, maxDepth = 0, runs = 0;
    std::function<void()> tick = [&] {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        ++runs;
        if (runs == 1) {
            // The timer and a show event fall due while the first tick waits.
            gate.request(tick);
            gate.request(tick);
            gate.request(tick);
        }
        --depth;
    };
    gate.request(tick);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_FALSE(gate.running());
}

TEST(TickGate, ErrorsAreReportedInsideTheTickAndTheGateOpensAgain)
{
    std::vector<std::string> reports;
    TickGate* gatePtr = nullptr;
    int runs = 0;
    std::function<void()> tick = [&] {
        ++runs;
        throw std::runtime_error("kaputt");
    };
    TickGate gate([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            reports.push_back(e.what());
        }
        // A tick falling due while the report's box is open waits as well.
        EXPECT_TRUE(gatePtr->running());
        if (reports.size() == 1) gatePtr->request(tick);
    });
    gatePtr = &gate;
    gate.request(tick);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(reports, (std::vector<std::string>{"kaputt", "kaputt"}));
    gate.request([&] { ++runs; });
    EXPECT_EQ(runs, 3);
}

TEST(TickGate, QuitWhileATickWaitsHappensWhenItLetsGo)
{
    TickGate gate(nullptr);
    bool quit = false;
    int runs = 0;
    std::function<void()> tick = [&] {
        ++runs;
        gate.request(tick); // due, but dropped because the program ends
        gate.requestQuit([&] { quit = true; });
        EXPECT_FALSE(quit);
    };
    gate.request(tick);
    EXPECT_TRUE(quit);
    EXPECT_EQ(runs, 1);
    gate.request(tick); // nothing runs after the end was asked for
    EXPECT_EQ(runs, 1);

    TickGate idle(nullptr);
    bool idleQuit = false;
    idle.requestQuit([&] { idleQuit = true; });
    EXPECT_TRUE(idleQuit);
}
