// Tray balloon and sound: the effects of filter actions and friends' news that reach outside the core.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quintor {

class Notifier {
public:
    using JoinHandler = std::function<void(const std::string& game)>;

    virtual ~Notifier() = default;
    // Shows a balloon at the tray icon (only seen while the icon is shown). `joinGame`, the identity
    // (gameIdentity) of the game the balloon is about, asks for a button "Beitreten" where the desktop can show
    // one; a click on it reaches the join handler. Where it cannot, the balloon is shown without it.
    virtual void balloon(const std::string& title, const std::string& text,
                         const std::optional<std::string>& joinGame) = 0;
    // Whether a balloon shown now would be seen (the tray icon is shown).
    virtual bool balloonsSeen() const { return true; }
    // Starts playing a sound file; does not wait and does not report failure.
    virtual void playSound(const std::string& fileName) = 0;

    // Who hears of a click on "Beitreten", with the game the balloon named; none: nobody.
    void setJoinHandler(JoinHandler handler) { joinHandler_ = std::move(handler); }

protected:
    void joinClicked(const std::string& game) const
    {
        if (joinHandler_) joinHandler_(game);
    }

private:
    JoinHandler joinHandler_;
};

} // namespace quintor
