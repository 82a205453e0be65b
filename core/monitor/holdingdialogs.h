// The main window's boxes. While one of them waits for the user the event loop goes on, and a tick
// running then would rebuild the list under the question; so ticks are held back while any box is open
// and run once afterwards.
#pragma once

#include "platform/dialogs.h"

#include <functional>

namespace quintor {

class HoldingDialogs : public Dialogs {
public:
    // `released` runs when the last open box has closed.
    HoldingDialogs(Dialogs& inner, std::function<void()> released) : inner_(inner), released_(std::move(released)) {}

    bool holding() const { return open_ > 0; }

    void message(const std::string& text) override;
    void information(const std::string& text) override;
    void warning(const std::string& text) override;
    void error(const std::string& text) override;
    bool errorYesNo(const std::string& text) override;
    bool errorYesNo(const std::string& text, DefaultButton defaultButton) override;
    bool warningYesNo(const std::string& text) override;
    bool confirmYesNo(const std::string& text) override;
    bool informationYesNo(const std::string& text) override;
    bool warningOkCancel(const std::string& text) override;
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& initialFolder) override;
    std::optional<std::string> chooseFolder(const std::string& title) override;

private:
    template <typename Ask> auto hold(Ask ask);

    Dialogs& inner_;
    std::function<void()> released_;
    int open_ = 0;
};

} // namespace quintor
