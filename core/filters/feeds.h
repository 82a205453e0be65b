// The filter feed: a published filter store that every start downloads over the local one.
#pragma once

#include "net/httpclient.h"
#include "platform/dialogs.h"
#include "settings/saveguard.h"
#include "settings/textlist.h"

#include <optional>
#include <string>
#include <string_view>

namespace quintor {

// Why an index line may not name a file of the application folder, or nothing when it may. A feed
// replaces filter files and nothing else: every line must be the base name of one (isFilterFileBase).
std::optional<std::string> refusedIndexLine(std::string_view line);

class FilterFeed {
public:
    // `config` is the settings list, saved as "config.txt" in `appFolder` (ending with the separator)
    // unless start-up could not read that file (`guard`).
    FilterFeed(TextList& config, std::string appFolder, const SaveGuard& guard, Dialogs& dialogs, HttpClient& http)
        : config_(config), appFolder_(std::move(appFolder)), guard_(guard), dialogs_(dialogs), http_(http)
    {
    }

    // "Abonnieren": asks for the address, warns, then stores it as "feed" (empty removes it) and saves
    // the settings at once. Cancelling either box changes nothing. Nothing is downloaded now.
    void subscribe();

    // At start-up: fetches address + "index.txt" and then each listed file L as address + L + ".txt", saved
    // as L + ".txt". An index that cannot be fetched removes the subscription (with a message, settings
    // saved at once). An index with a line that names no filter file is refused with a message before
    // anything is fetched; the subscription stays. The files are written only once every one has arrived,
    // and all or none: a listed file that cannot be fetched ends the download with its HttpError, a file
    // that cannot be written with its FileError, and the old filter files stay as they were.
    // A cancelled request (the program is ending) leaves with its HttpError and changes nothing.
    void fetchFeed();

private:
    void saveConfig();

    TextList& config_;
    std::string appFolder_;
    const SaveGuard& guard_;
    Dialogs& dialogs_;
    HttpClient& http_;
};

} // namespace quintor
