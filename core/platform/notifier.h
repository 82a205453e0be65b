// Tray balloon and sound: the effects of filter actions that reach outside the core.
#pragma once

#include <string>

namespace quintor {

class Notifier {
public:
    virtual ~Notifier() = default;
    // Shows a balloon at the tray icon (only seen while the icon is shown).
    virtual void balloon(const std::string& title, const std::string& text) = 0;
    // Starts playing a sound file; does not wait and does not report failure.
    virtual void playSound(const std::string& fileName) = 0;
};

} // namespace quintor
