// The queue of what the ticks raise: one box at a time in the order raised, nothing twice, nothing shown or
// answered while a tick holds it.
#include "monitor/promptqueue.h"
#include "settings/convert.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace quintor;

TEST(PromptQueue, OneAtATimeInOrderAndAKeyNeverTwice)
{
    test::ScriptedPresenter presenter;
    PromptQueue queue;
    queue.setPresenter(presenter);
    std::vector<std::string> answers;
    queue.hold();
    queue.raise({PromptKind::message, "eins"}, "a");
    queue.raise({PromptKind::errorQuestion, "zwei?"}, "b",
                [&](bool yes) { answers.push_back(yes ? "zwei ja" : "zwei nein"); });
    queue.raise({PromptKind::message, "eins nochmal"}, "a");
    EXPECT_TRUE(presenter.presented.empty()); // held
    queue.release();
    ASSERT_EQ(presenter.presented.size(), 1u);
    EXPECT_EQ(presenter.presented[0].text, "eins");
    queue.raise({PromptKind::message, "eins, solange es steht"}, "a");
    presenter.answer(true);
    ASSERT_EQ(presenter.presented.size(), 2u);
    EXPECT_EQ(presenter.presented[1].text, "zwei?");

    // Answered while a tick holds the queue: the answer waits for the tick's end.
    queue.hold();
    presenter.answer(false);
    EXPECT_TRUE(answers.empty());
    queue.release();
    EXPECT_EQ(answers, std::vector<std::string>{"zwei nein"});
    EXPECT_EQ(queue.waiting(), 0u);
    EXPECT_FALSE(queue.standing());
}

TEST(PromptQueue, ATextLongerThanABoxShowsIsCut)
{
    test::ScriptedPresenter presenter;
    PromptQueue queue;
    queue.setPresenter(presenter);
    std::string players;
    for (int n = 0; n < 1000; ++n)
        players += std::string(4000, 'W') + ", ";
    queue.raise({PromptKind::information, "Spieler: " + players}, "a");
    ASSERT_EQ(presenter.presented.size(), 1u);
    EXPECT_EQ(presenter.presented[0].text, shortened("Spieler: " + players, kMaxPromptTextLength));
    EXPECT_EQ(presenter.presented[0].text.size(), kMaxPromptTextLength + 1);
}

TEST(PromptQueue, ClosingWithdrawsTheBoxAndDropsTheRest)
{
    test::ScriptedPresenter presenter;
    PromptQueue queue;
    bool answered = false;
    queue.raise({PromptKind::errorQuestion, "a?"}, "a", [&](bool) { answered = true; });
    queue.raise({PromptKind::message, "b"}, "b");
    queue.setPresenter(presenter); // raised before there was a presenter: shown now
    ASSERT_TRUE(presenter.standing());
    queue.close();
    EXPECT_EQ(presenter.withdrawn, 1);
    queue.raise({PromptKind::message, "c"}, "c");
    EXPECT_EQ(presenter.presented.size(), 1u);
    EXPECT_EQ(queue.waiting(), 0u);
    EXPECT_FALSE(answered);
}

// Nobody answers for weeks while ever new games raise ever new prompts: what is left out is counted up to a
// bound, and memory does not grow with it.
TEST(PromptQueue, LeftOutPromptsAreCountedUpToABound)
{
    test::ScriptedPresenter presenter;
    PromptQueue queue;
    queue.setPresenter(presenter);
    for (std::size_t i = 0; i < PromptQueue::kMaxWaiting + PromptQueue::kMaxLeftOutCounted + 10; ++i)
        queue.raise({PromptKind::message, "Spiel " + std::to_string(i)}, "message\n" + std::to_string(i));
    queue.raise({PromptKind::message, "ohne Schl\xFCssel"}, "");
    EXPECT_EQ(queue.waiting(), PromptQueue::kMaxWaiting - 1);
    for (std::size_t i = 1; i < PromptQueue::kMaxWaiting; ++i)
        presenter.answer(true);
    EXPECT_EQ(presenter.presented.back().text,
              "Spiel 49\r\n\r\n" + PromptQueue::moreText(PromptQueue::kMaxLeftOutCounted));
}
