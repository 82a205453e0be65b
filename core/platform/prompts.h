// What the program says or asks while nobody may be watching: a refresh raises it, and it is shown
// after the refresh has ended, without anything waiting for the answer.
#pragma once

#include "platform/dialogs.h"

#include <cstddef>
#include <functional>
#include <string>

namespace quintor {

enum class PromptKind {
    message,             // plain box, the application title as caption, OK
    information,         // "Informationen", OK
    error,               // "Fehler", OK
    errorQuestion,       // "Fehler", "&Ja" and "&Nein"
    informationQuestion, // "Informationen", "&Ja" and "&Nein"
};

// What a prompt's text is cut to (see shortened): what a box shows on one screen. A filter's message may hold a game's
// whole player list, and a box of megabytes would be laid out for seconds while the window stands still.
inline constexpr std::size_t kMaxPromptTextLength = 1000;
inline constexpr std::size_t kMaxPromptTextLines = 25;

struct Prompt {
    PromptKind kind = PromptKind::message;
    std::string text;
    DefaultButton defaultButton = DefaultButton::yes;

    bool isQuestion() const { return kind == PromptKind::errorQuestion || kind == PromptKind::informationQuestion; }
};

// Shows one prompt at a time, without a nested event loop: the call returns at once and the answer
// arrives later through `answered` (true for "&Ja" or OK). A prompt closed without an answer (the
// program ends) never calls it.
class PromptPresenter {
public:
    virtual ~PromptPresenter() = default;
    virtual void present(const Prompt& prompt, std::function<void(bool yes)> answered) = 0;
    // The program is ending: the prompt on the screen goes, unanswered.
    virtual void withdraw() = 0;
};

// Where a refresh puts what it has to say. `key` names what the prompt is about (a server, a filter and a
// game): a prompt whose key is already waiting or on the screen is dropped. `answer` runs when the user
// has answered, long after the refresh that raised it; it must check that the answer still applies.
class Prompts {
public:
    using Answer = std::function<void(bool yes)>;
    virtual ~Prompts() = default;
    virtual void raise(Prompt prompt, std::string key, Answer answer = {}) = 0;
};

} // namespace quintor
