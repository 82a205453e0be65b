// The main window's start-up decisions that need no window: the update check and the bounds.
#pragma once

#include "settings/textlist.h"

#include <optional>
#include <string>
#include <string_view>

namespace quintor {

// The update check is off only when "noupdater" is exactly "true".
bool updateCheckEnabled(const TextList& config);

// The published version word equals ours after lower-casing A to Z and trimming codes 0 to 32.
bool versionIsCurrent(std::string_view published);

// The warning shown for another version; the published text is appended as received, as far as a box shows it (see
// kMaxPromptTextLength): a broken update server may answer with megabytes.
std::string updateWarningText(std::string_view published);

struct WindowBounds {
    std::optional<int> width, height, left, top; // nothing: keep the window's own value
};

// "width", "height", "left", "top" as decimal integers; a value that is absent or no number is nothing.
WindowBounds storedWindowBounds(const TextList& config);

// Stores the bounds in the order "width", "height", "top", "left".
void storeWindowBounds(TextList& config, int width, int height, int top, int left);

} // namespace quintor
