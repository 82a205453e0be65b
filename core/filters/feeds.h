// The filter feed: a published filter store that every start downloads over the local one.
#pragma once

#include "net/httpclient.h"
#include "platform/dialogs.h"
#include "settings/errors.h"
#include "settings/fileport.h"
#include "settings/saveguard.h"
#include "settings/textlist.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quintor {

// Why an index line may not name a file of the application folder, or nothing when it may. A feed
// replaces filter files and nothing else: every line must be the base name of one (isFilterFileBase).
std::optional<std::string> refusedIndexLine(std::string_view line);

// A feed whose files could not be fetched or written, or that is over a bound; the text says it in German.
class FeedError : public QuintorError {
public:
    using QuintorError::QuintorError;
};

// What a feed may bring: a feed over one of them is refused whole, with the bound named.
struct FeedLimits {
    int maxFiles = 1000;                          // lines of the index
    std::size_t maxFileBytes = 1024 * 1024;       // each file, the index too; a longer body is cut off
    std::size_t maxTotalBytes = 16 * 1024 * 1024; // all listed files together
};

// The status-bar text while the feed is fetched at start: "Filter-Feed wird geholt..." and, once the index is
// in, how many of its files have arrived.
std::string feedStatusText(int filesFetched, int filesListed);

class FilterFeed {
public:
    // `config` is the settings list, saved as "config.txt" in `appFolder` (ending with the separator)
    // unless start-up could not read that file (`guard`). Filter files are written through `files`.
    FilterFeed(TextList& config, std::string appFolder, const SaveGuard& guard, Dialogs& dialogs, HttpClient& http,
               FilePort& files = localFiles(), FeedLimits limits = {})
        : config_(config), appFolder_(std::move(appFolder)), guard_(guard), dialogs_(dialogs), http_(http),
          files_(files), limits_(limits)
    {
    }

    // Called with feedStatusText while fetchFeed works, and with "" when it is done: the window shows it in
    // its status bar.
    void setStatusReport(std::function<void(const std::string&)> report) { statusReport_ = std::move(report); }

    // "Abonnieren": asks for the address, warns, then stores it as "feed" (empty removes it) and saves
    // the settings at once. Cancelling either box changes nothing. Nothing is downloaded now.
    void subscribe();

    // At start-up: fetches address + "index.txt" and then each listed file L as address + L + ".txt", saved
    // as L + ".txt". An index that cannot be fetched removes the subscription (with a message, settings
    // saved at once). An index with a line that names no filter file, or with more lines than the limits
    // allow, is refused with a message before anything is fetched; the subscription stays. The files are
    // written only once every one has arrived, and all or none, through the filter store's journal (a crash
    // leaves the old set or the new one): a listed file that cannot be fetched or is over a limit ends the
    // download with a FeedError whose German text names the file and the reason or the bound, and the old
    // filter files stay as they were; so does a file that cannot be written (its FileError's text in it).
    // A cancelled request (the program is ending) leaves with its HttpError and changes nothing.
    void fetchFeed();

private:
    void saveConfig();
    void fetchFiles(const std::string& address, const TextList& index);
    void report(const std::string& status) const;

    TextList& config_;
    std::string appFolder_;
    const SaveGuard& guard_;
    Dialogs& dialogs_;
    HttpClient& http_;
    FilePort& files_;
    FeedLimits limits_;
    std::function<void(const std::string&)> statusReport_;
};

} // namespace quintor
