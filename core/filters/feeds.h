// The filter feed: a published filter store that every start downloads over the local one.
#pragma once

#include "net/httpclient.h"
#include "platform/dialogs.h"
#include "settings/textlist.h"

#include <optional>
#include <string>
#include <string_view>

namespace quintor {

// Why an index line may not name a file of the application folder, or nothing when it may. Refused:
// an empty line, and any line with "/", "\", ":" or ".." (a path, a drive, or a way out of the folder).
std::optional<std::string> unsafeIndexLine(std::string_view line);

class FilterFeed {
public:
    // `config` is the settings list, saved as "config.txt" in `appFolder` (ending with the separator).
    FilterFeed(TextList& config, std::string appFolder, Dialogs& dialogs, HttpClient& http)
        : config_(config), appFolder_(std::move(appFolder)), dialogs_(dialogs), http_(http)
    {
    }

    // "Abonnieren": asks for the address, warns, then stores it as "feed" (empty removes it) and saves
    // the settings at once. Cancelling either box changes nothing. Nothing is downloaded now.
    void subscribe();

    // At start-up: fetches address + "index.txt" and then each listed file L as address + L + ".txt", saved
    // as L + ".txt". An index that cannot be fetched removes the subscription (with a message, settings
    // saved at once). An index with a line that is no plain file name is refused with a message before
    // anything is written; the subscription stays. A listed file that cannot be fetched ends the download
    // with its HttpError; files written before it stay. A cancelled request (the program is ending)
    // leaves with its HttpError and changes nothing.
    void fetchfeed();

private:
    void saveConfig();

    TextList& config_;
    std::string appFolder_;
    Dialogs& dialogs_;
    HttpClient& http_;
};

} // namespace quintor
