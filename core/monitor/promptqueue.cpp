#include "monitor/promptqueue.h"
#include "settings/convert.h"
#include "settings/translate.h"

#include <algorithm>

namespace quintor {

std::string PromptQueue::moreText(std::size_t count)
{
    return tr("\x85 und ") + std::to_string(count) + tr(" weitere Meldungen");
}

void PromptQueue::setPresenter(PromptPresenter& presenter)
{
    presenter_ = &presenter;
    if (holds_ == 0) showNext();
}

void PromptQueue::raise(Prompt prompt, std::string key, Answer answer)
{
    if (closed_) return;
    const auto sameKey = [&key](const Entry& entry) { return entry.key == key; };
    if (!key.empty() && ((standing_ && sameKey(*standing_)) || std::any_of(waiting_.begin(), waiting_.end(), sameKey)))
        return;
    if (waiting_.size() + (standing_ ? 1 : 0) >= kMaxWaiting) {
        if (leftOutKeys_.size() + leftOutWithoutKey_ >= kMaxLeftOutCounted) return;
        if (key.empty())
            ++leftOutWithoutKey_;
        else
            leftOutKeys_.insert(std::hash<std::string>{}(key));
        return;
    }
    prompt.text = shortened(prompt.text, kMaxPromptTextLength, kMaxPromptTextLines);
    waiting_.push_back({std::move(prompt), std::move(key), std::move(answer)});
    if (holds_ == 0) showNext();
}

void PromptQueue::release()
{
    if (holds_ > 0) --holds_;
    if (holds_ > 0 || releasing_) return;
    releasing_ = true;
    // An answer may raise prompts or start a refresh of its own (which holds and releases again).
    while (!answersWaiting_.empty() && holds_ == 0 && !closed_) {
        auto run = std::move(answersWaiting_.front());
        answersWaiting_.erase(answersWaiting_.begin());
        run();
    }
    releasing_ = false;
    if (holds_ == 0) showNext();
}

void PromptQueue::close()
{
    closed_ = true;
    waiting_.clear();
    answersWaiting_.clear();
    if (standing_) {
        standing_.reset();
        if (presenter_) presenter_->withdraw();
    }
}

void PromptQueue::showNext()
{
    if (closed_ || !presenter_ || standing_ || waiting_.empty()) return;
    standing_ = std::move(waiting_.front());
    waiting_.pop_front();
    const std::size_t leftOut = leftOutKeys_.size() + leftOutWithoutKey_;
    if (waiting_.empty() && leftOut > 0) {
        standing_->prompt.text += "\r\n\r\n" + moreText(leftOut);
        leftOutKeys_.clear();
        leftOutWithoutKey_ = 0;
    }
    presenter_->present(standing_->prompt, [this](bool yes) { answered(yes); });
}

void PromptQueue::answered(bool yes)
{
    if (closed_ || !standing_) return;
    Entry entry = std::move(*standing_);
    standing_.reset();
    if (entry.answer) {
        auto run = [answer = std::move(entry.answer), yes] { answer(yes); };
        if (holds_ > 0) {
            answersWaiting_.push_back(std::move(run));
        } else {
            run();
        }
    }
    if (holds_ == 0) showNext();
}

} // namespace quintor
