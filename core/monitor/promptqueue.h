// The prompts of the refreshes, one on the screen at a time, in the order they were raised.
#pragma once

#include "platform/prompts.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace quintor {

class PromptQueue final : public Prompts {
public:
    // More would only bury the user in boxes (the one on the screen counts too); the last one waiting says
    // how many were left out.
    static constexpr std::size_t kMaxWaiting = 50;
    // Left-out prompts counted for that line: while nobody answers for weeks, ever new games raise ever new
    // keys; beyond this many the count stops instead of memory growing.
    static constexpr std::size_t kMaxLeftOutCounted = 100000;

    // Prompts raised before there is a presenter wait for it.
    void setPresenter(PromptPresenter& presenter);

    void raise(Prompt prompt, std::string key, Answer answer = {}) override;

    // While held (a refresh runs), nothing is shown and answers wait; release shows the next prompt and
    // runs the answers that came in meanwhile, in their order.
    void hold() { ++holds_; }
    void release();

    // The program is ending: the prompt on the screen goes, the waiting ones are dropped and nothing
    // is shown or answered any more.
    void close();

    std::size_t waiting() const { return waiting_.size(); }
    bool standing() const { return standing_.has_value(); }

    // "… und N weitere Meldungen"
    static std::string moreText(std::size_t count);

private:
    struct Entry {
        Prompt prompt;
        std::string key;
        Answer answer;
    };
    void showNext();
    void answered(bool yes);

    PromptPresenter* presenter_ = nullptr;
    std::deque<Entry> waiting_;
    std::optional<Entry> standing_;
    std::vector<std::function<void()>> answersWaiting_; // answered while held
    // What did not fit, each counted once however often it is raised again: the keys' hashes, since a key
    // holds the prompt's text.
    std::unordered_set<std::size_t> leftOutKeys_;
    std::size_t leftOutWithoutKey_ = 0;
    int holds_ = 0;
    bool closed_ = false;
    bool releasing_ = false;
};

} // namespace quintor
