#include "filters/feeds.h"

#include "settings/fileio.h"
#include "settings/keys.h"
#include "settings/ownfiles.h"

namespace quintor {
namespace {

const std::string kPrompt = "URL des zu abonnierenden Feeds:";
const std::string kWarning = "ACHTUNG! Du bist dabei, einen Feed zu abonnieren. Derzeit unterst\xFCtzt Quintor nur "
                             "vollst\xE4ndige Feeds (d. h., alle pers\xF6hnlichen Filter werden \xFC"
                             "berschrieben). Der Feed wird anschlie\xDF"
                             "end bei jedem Start von Quintor neu aktualisiert.";
const std::string kIndexFailed = "Feed kann nicht geholt werden. Adresse wird zur\xFC"
                                 "ckgesetzt.";

} // namespace

std::optional<std::string> refusedIndexLine(std::string_view line)
{
    if (line.empty()) return "eine leere Zeile";
    if (isFilterFileBase(line)) return std::nullopt;
    std::string reason(1, '"');
    reason.append(line).append("\" ist keine Filterdatei");
    return reason;
}

void FilterFeed::saveConfig()
{
    const std::string path = appFolder_ + std::string(files::config);
    guard_.save(config_, path);
}

void FilterFeed::subscribe()
{
    const std::optional<std::string> address = dialogs_.input("URL", kPrompt, "");
    if (!address) return;
    if (!dialogs_.warningOkCancel(kWarning)) return;
    config_.setValue(keys::feed, *address);
    saveConfig();
}

void FilterFeed::fetchFeed()
{
    const std::string address = config_.value(keys::feed);
    if (address.empty()) return;

    TextList index;
    try {
        index.setText(http_.get(address + std::string(files::index)));
    } catch (const HttpError& error) {
        // Cancelled: the program is ending; the subscription is not the feed's fault and stays.
        if (error.kind() == HttpError::Kind::Cancelled) throw;
        dialogs_.message(kIndexFailed);
        config_.setValue(keys::feed, "");
        saveConfig();
        return;
    }

    // Every name is checked before the first file is fetched, and every file fetched before the first is
    // written: a feed is taken whole or not at all.
    for (const auto& line : index.lines()) {
        if (const auto reason = refusedIndexLine(line)) {
            dialogs_.message("Der Feed wird nicht geholt: sein Index nennt keinen g\xFCltigen Dateinamen (" + *reason +
                             "). Die Filter bleiben unver\xE4ndert.");
            return;
        }
    }

    std::vector<FileReplacement> files;
    for (const auto& line : index.lines()) {
        TextList file;
        file.setText(http_.get(address + line + ".txt"));
        files.push_back({appFolder_ + line + ".txt", file.text()});
    }
    saveAllOrRestore(files);
}

} // namespace quintor
