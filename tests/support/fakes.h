// Scripted stand-ins for the window, the dialogs and the clock, so a refresh runs in a test.
#pragma once

#include "net/httpclient.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/processstarter.h"
#include "platform/prompts.h"
#include "refresh/views.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quintor::test {

// Answers questions from a script and records everything that was shown or asked.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        std::string kind;
        std::string text;
        bool noByDefault = false; // a yes/no question that starts on "&Nein"
    };
    std::vector<Shown> shown;
    std::deque<bool> answers;                      // for the yes/no and ok/cancel questions
    std::deque<std::optional<std::string>> inputs; // for input boxes, file and folder choosers

    void message(const std::string& text) override { shown.push_back({"message", text}); }
    void information(const std::string& text) override { shown.push_back({"information", text}); }
    void warning(const std::string& text) override { shown.push_back({"warning", text}); }
    void error(const std::string& text) override { shown.push_back({"error", text}); }
    bool errorYesNo(const std::string& text) override { return ask("errorYesNo", text); }
    bool errorYesNo(const std::string& text, DefaultButton defaultButton) override
    {
        const bool answer = ask("errorYesNo", text);
        shown.back().noByDefault = defaultButton == DefaultButton::no;
        return answer;
    }
    bool warningYesNo(const std::string& text) override { return ask("warningYesNo", text); }
    bool confirmYesNo(const std::string& text) override { return ask("confirmYesNo", text); }
    bool informationYesNo(const std::string& text) override { return ask("informationYesNo", text); }
    bool warningOkCancel(const std::string& text) override { return ask("warningOkCancel", text); }
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override
    {
        return take("input", caption + "|" + prompt + "|" + initial);
    }
    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& folder) override
    {
        return take("openFile", title + "|" + filter + "|" + folder);
    }
    std::optional<std::string> chooseFolder(const std::string& title) override { return take("chooseFolder", title); }

    std::vector<std::string> textsOf(const std::string& kind) const
    {
        std::vector<std::string> texts;
        for (const auto& s : shown)
            if (s.kind == kind) texts.push_back(s.text);
        return texts;
    }

private:
    bool ask(const std::string& kind, const std::string& text)
    {
        shown.push_back({kind, text});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> take(const std::string& kind, const std::string& text)
    {
        shown.push_back({kind, text});
        if (inputs.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << kind << " " << text;
            return std::nullopt;
        }
        auto answer = inputs.front();
        inputs.pop_front();
        return answer;
    }
};

// Keeps what a tick raised, in order, so a test can read it and answer it.
class RecordingPrompts : public Prompts {
public:
    struct Raised {
        Prompt prompt;
        std::string key;
        Answer answer;
    };
    std::vector<Raised> raised;

    void raise(Prompt prompt, std::string key, Answer answer) override
    {
        raised.push_back({std::move(prompt), std::move(key), std::move(answer)});
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& r : raised)
            out.push_back(r.prompt.text);
        return out;
    }
    // Answers the prompt raised at `index`.
    void answer(std::size_t index, bool yes) const
    {
        const Raised& r = raised.at(index);
        if (r.answer) r.answer(yes);
    }
};

// Shows prompts by recording them; the test answers the one on the screen.
class ScriptedPresenter : public PromptPresenter {
public:
    std::vector<Prompt> presented;
    int withdrawn = 0;

    void present(const Prompt& prompt, std::function<void(bool yes)> answered) override
    {
        presented.push_back(prompt);
        answered_ = std::move(answered);
    }
    void withdraw() override
    {
        ++withdrawn;
        answered_ = nullptr;
    }
    bool standing() const { return static_cast<bool>(answered_); }
    // Answers the prompt on the screen.
    void answer(bool yes)
    {
        ASSERT_TRUE(answered_) << "no prompt stands";
        auto answered = std::move(answered_);
        answered_ = nullptr;
        answered(yes);
    }

private:
    std::function<void(bool yes)> answered_;
};

// Cancels every request, as the program's client does once the program is ending.
class CancellingHttpClient : public HttpClient {
public:
    int calls = 0;
    std::string get(const std::string& url, const HttpOptions&) override
    {
        ++calls;
        throw HttpError("HTTP request for " + url + " abandoned: the program is ending", HttpError::Kind::Cancelled);
    }
};

// Records the programs it is asked to start instead of starting them.
class RecordingStarter : public ProcessStarter {
public:
    std::vector<ProcessCommand> started;
    void start(const ProcessCommand& command) override { started.push_back(command); }
};

class FixedClock : public Clock {
public:
    LocalDateTime time{2026, 12, 8, 17, 2, 6, 0};
    // Unless set, the steady clock goes with the wall clock (seconds of `time` since 2000).
    std::optional<std::chrono::milliseconds> steady;
    LocalDateTime now() const override { return time; }
    std::chrono::milliseconds steadyNow() const override
    {
        if (steady) return *steady;
        using namespace std::chrono;
        const sys_days day{year{time.year} / month{static_cast<unsigned>(time.month)} /
                           std::chrono::day{static_cast<unsigned>(time.day)}};
        return duration_cast<milliseconds>(day - sys_days{year{2000} / January / 1} + hours{time.hour} +
                                           minutes{time.minute} + seconds{time.second});
    }
    std::string shortDate(const LocalDateTime& t) const override
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", t.day, t.month, t.year);
        return buffer;
    }
    std::string longTime(const LocalDateTime& t) const override
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, t.second);
        return buffer;
    }
};

// A list view without a window: columns, and rows kept in the order the list shows them.
class RecordingListView : public GameListView {
public:
    struct Column {
        std::string caption;
        int width;
    };
    struct Row {
        RowHandle handle;
        std::string caption;
        std::vector<std::string> subItems;
        std::string toolTip;
        bool friends = false; // marked as a game with a friend in it
    };
    std::vector<Column> columns;
    std::vector<Row> rows; // in the order they were added; the list's own order is the UI's work

    int columnCount() const override { return static_cast<int>(columns.size()); }
    int columnWidth(int column) const override { return columns.at(static_cast<std::size_t>(column)).width; }
    void clearRows() override { rows.clear(); }
    void clearColumns() override { columns.clear(); }
    void addColumn(const std::string& caption, int width) override { columns.push_back({caption, width}); }
    RowHandle addRow() override
    {
        rows.push_back({++lastHandle, "", {}, "", false});
        return lastHandle;
    }
    void removeRow(RowHandle row) override
    {
        std::erase_if(rows, [row](const Row& r) { return r.handle == row; });
    }
    void setRowTexts(RowHandle row, const std::string& caption, const std::vector<std::string>& subItems) override
    {
        Row* r = find(row);
        if (!r) {
            ADD_FAILURE() << "texts for a row that is not in the list";
            return;
        }
        r->caption = caption;
        r->subItems = subItems;
    }
    void markFriendRow(RowHandle row) override
    {
        if (Row* r = find(row)) r->friends = true;
    }
    void setRowToolTip(RowHandle row, RowToolTip toolTip) override
    {
        Row* r = find(row);
        if (!r) {
            ADD_FAILURE() << "tooltip for a row that is not in the list";
            return;
        }
        r->toolTip = toolTip.text();
    }
    // The row of a handle, or null.
    const Row* find(RowHandle row) const
    {
        const auto found = std::find_if(rows.begin(), rows.end(), [row](const Row& r) { return r.handle == row; });
        return found == rows.end() ? nullptr : &*found;
    }
    Row* find(RowHandle row) { return const_cast<Row*>(std::as_const(*this).find(row)); }
    std::vector<std::string> captions() const
    {
        std::vector<std::string> texts;
        for (const auto& r : rows)
            texts.push_back(r.caption);
        return texts;
    }

private:
    RowHandle lastHandle = 0;
};

class RecordingMainView : public MainView {
public:
    bool visible = true;
    bool timerStopped = false;
    bool timerStarted = false;
    std::map<Label, std::string> labels;
    std::vector<std::string> statusTexts;
    std::string trayLine;
    std::function<void()> whileTicking; // runs as a tick begins, as a window's events would

    bool windowOrTrayVisible() const override { return visible; }
    void setLabel(Label label, const std::string& text) override { labels[label] = text; }
    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void stopRefetchTimer() override { timerStopped = true; }
    void startRefetchTimer() override { timerStarted = true; }
    void setTrayLine(const std::string& text) override { trayLine = text; }
    void tickStarted() override
    {
        if (whileTicking) whileTicking();
    }
};

} // namespace quintor::test
