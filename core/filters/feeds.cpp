#include "filters/feeds.h"
#include "settings/translate.h"

#include "filters/filtertreefiles.h"
#include "settings/convert.h"
#include "settings/filejournal.h"
#include "settings/keys.h"
#include "settings/ownfiles.h"

#include <algorithm>
#include <new>

namespace quintor {
namespace {

const std::string kPrompt = untranslated("URL des zu abonnierenden Feeds:");
const std::string kWarning =
    untranslated("ACHTUNG! Du bist dabei, einen Feed zu abonnieren. Derzeit unterst\xFCtzt Quintor nur "
                 "vollst\xE4ndige Feeds (d. h., alle pers\xF6hnlichen Filter werden \xFC"
                 "berschrieben). Der Feed wird anschlie\xDF"
                 "end bei jedem Start von Quintor neu aktualisiert.");
const std::string kIndexFailed = untranslated("Feed kann nicht geholt werden. Adresse wird zur\xFC"
                                              "ckgesetzt.");
const std::string kRefused = untranslated("Der Feed wird nicht geholt: ");
const std::string kUnchanged = untranslated(" Die Filter bleiben unver\xE4ndert.");

// "1 MiB", "16 MiB"; a bound that is no whole number of MiB (only tests set one) in bytes.
std::string sizeText(std::size_t bytes)
{
    constexpr std::size_t mebibyte = 1024 * 1024;
    if (bytes >= mebibyte && bytes % mebibyte == 0) return std::to_string(bytes / mebibyte) + " MiB";
    return std::to_string(bytes) + tr(" Bytes");
}

// A line of the index as a message quotes it. A filter file's name is a few characters long; a hostile index may hold
// a line of a mebibyte, which the box at start-up laid out for half a minute, wider and higher than any screen.
std::string quotedLine(std::string_view line)
{
    constexpr std::size_t kQuotedLength = 100;
    return shortened(line, kQuotedLength);
}

[[noreturn]] void refuse(const std::string& why)
{
    throw FeedError(translateText(kRefused) + why + "." + translateText(kUnchanged));
}

} // namespace

std::optional<std::string> refusedIndexLine(std::string_view line)
{
    if (line.empty()) return tr("eine leere Zeile");
    // A filter's key is two counts of the tree ("grp2147483647fil2147483647_act" at most): a longer line names no
    // filter file, and one of hundreds of characters is no file the folder could hold, so its change could never be
    // finished.
    constexpr std::size_t kLongestFilterFileBase = 64;
    if (line.size() <= kLongestFilterFileBase && isFilterFileBase(line)) return std::nullopt;
    std::string reason(1, '"');
    reason.append(quotedLine(line)).append(tr("\" ist keine Filterdatei"));
    return reason;
}

void FilterFeed::saveConfig()
{
    const std::string path = appFolder_ + std::string(files::config);
    guard_.save(config_, path);
}

void FilterFeed::subscribe()
{
    const std::optional<std::string> address = dialogs_.input("URL", translateText(translateText(kPrompt)), "");
    if (!address) return;
    if (!dialogs_.warningOkCancel(translateText(kWarning))) return;
    config_.setValue(keys::feed, *address);
    saveConfig();
}

std::string feedStatusText(int filesFetched, int filesListed)
{
    std::string text = tr("Filter-Feed wird geholt...");
    if (filesListed >= 0)
        text += " (" + std::to_string(filesFetched) + tr(" von ") + std::to_string(filesListed) + tr(" Dateien)");
    return text;
}

void FilterFeed::report(const std::string& status) const
{
    if (statusReport_) statusReport_(status);
}

void FilterFeed::fetchFeed()
{
    const std::string address = config_.value(keys::feed);
    if (address.empty()) return;

    struct StatusEnd {
        const FilterFeed& feed;
        ~StatusEnd() { feed.report(""); }
    } statusEnd{*this};
    report(feedStatusText(0, -1));

    TextList index;
    try {
        HttpOptions options;
        options.maxBodyBytes = limits_.maxFileBytes;
        index.setText(http_.get(address + std::string(files::index), options));
    } catch (const HttpError& error) {
        // Cancelled: the program is ending; the subscription is not the feed's fault and stays.
        if (error.kind() == HttpError::Kind::Cancelled) throw;
        if (error.kind() == HttpError::Kind::TooLarge) {
            dialogs_.message(translateText(kRefused) +
                             tr("sein Index ist gr\xF6\xDF"
                                "er als ") +
                             sizeText(limits_.maxFileBytes) + "." + translateText(kUnchanged));
            return;
        }
        dialogs_.message(translateText(kIndexFailed));
        config_.setValue(keys::feed, "");
        saveConfig();
        return;
    } catch (const std::bad_alloc&) {
        dialogs_.message(translateText(kRefused) + tr("zu wenig Speicher.") + translateText(kUnchanged));
        return;
    }

    // Every name is checked before the first file is fetched, and every file fetched before the first is
    // written: a feed is taken whole or not at all.
    for (const auto& line : index.lines()) {
        if (const auto reason = refusedIndexLine(line)) {
            dialogs_.message(tr("Der Feed wird nicht geholt: sein Index nennt keinen g\xFCltigen Dateinamen (") +
                             *reason + tr("). Die Filter bleiben unver\xE4ndert."));
            return;
        }
    }

    // A published store lists at least "filter": an empty body (or one that a NUL byte ends at once) is no feed,
    // and taking it would change nothing at every start without a word.
    if (index.count() == 0) {
        dialogs_.message(translateText(kRefused) + tr("sein Index nennt keine Datei.") + translateText(kUnchanged));
        return;
    }
    if (index.count() > limits_.maxFiles) {
        dialogs_.message(translateText(kRefused) + tr("sein Index nennt mehr als ") + std::to_string(limits_.maxFiles) +
                         tr(" Dateien.") + translateText(kUnchanged));
        return;
    }
    try {
        fetchFiles(address, index);
    } catch (const std::bad_alloc&) {
        refuse(tr("zu wenig Speicher"));
    }
}

void FilterFeed::fetchFiles(const std::string& address, const TextList& index)
{
    const int listed = index.count();
    if (listed > limits_.maxFiles)
        refuse(tr("sein Index nennt mehr als ") + std::to_string(limits_.maxFiles) + tr(" Dateien"));

    FileSetChange change;
    std::size_t total = 0;
    for (const auto& line : index.lines()) {
        report(feedStatusText(static_cast<int>(change.writes.size()), listed));
        const std::string name = line + ".txt";
        HttpOptions options;
        options.maxBodyBytes = std::min(limits_.maxFileBytes, limits_.maxTotalBytes - total);
        std::string body;
        try {
            body = http_.get(address + name, options);
        } catch (const HttpError& error) {
            if (error.kind() == HttpError::Kind::Cancelled) throw;
            if (error.kind() != HttpError::Kind::TooLarge)
                refuse(tr("die Datei \"") + name + tr("\" kann nicht geholt werden (") + error.reason() + ")");
            if (options.maxBodyBytes == limits_.maxFileBytes)
                refuse(tr("die Datei \"") + name +
                       tr("\" ist gr\xF6\xDF"
                          "er als ") +
                       sizeText(limits_.maxFileBytes));
            refuse(tr("seine Dateien sind zusammen gr\xF6\xDF"
                      "er als ") +
                   sizeText(limits_.maxTotalBytes));
        }
        total += body.size();
        TextList file;
        file.setText(body);
        change.writes.push_back({name, file.text()});
    }
    report(feedStatusText(listed, listed));
    try {
        // A change of the tree that a crash left is finished first, so it cannot overwrite the feed later.
        finishFilterChange(files_, appFolder_);
        applyJournaled(files_, appFolder_, files::filterJournal, change);
    } catch (const UnfinishedChange& error) {
        throw FeedError(tr("Der Feed wurde nicht ganz gespeichert: ") + std::string(error.what()));
    } catch (const FileError& error) {
        throw FeedError(tr("Der Feed kann nicht gespeichert werden: ") + std::string(error.what()) +
                        translateText(kUnchanged));
    }
}

} // namespace quintor
