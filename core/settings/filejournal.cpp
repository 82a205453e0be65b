#include "settings/filejournal.h"
#include "settings/translate.h"

#include "settings/errors.h"

#include <charconv>

namespace quintor {
namespace {

constexpr std::string_view kHeader = "Quintor-Journal 1\n";
constexpr std::string_view kEnd = "E\n";

// A bare name of the folder: no separator, no line break, nothing that leaves the folder.
bool isBareName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..") return false;
    for (const char c : name) {
        if (c == '/' || c == '\\' || c == '\n' || c == '\r' || c == '\0') return false;
    }
    return true;
}

// Takes one line (without its "\n") from the front of `rest`.
std::optional<std::string_view> takeLine(std::string_view& rest)
{
    const auto end = rest.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    return line;
}

void carryOut(FilePort& files, const std::string& folder, const FileSetChange& change)
{
    for (const FileWrite& write : change.writes)
        files.save(folder + write.name, write.bytes);
    for (const std::string& name : change.deletes)
        files.remove(folder + name);
}

} // namespace

std::string journalBytes(const FileSetChange& change)
{
    std::string bytes(kHeader);
    for (const FileWrite& write : change.writes) {
        if (!isBareName(write.name)) throw FileError(tr("Kein Dateiname im Programmordner: \"") + write.name + "\"");
        bytes.append("W ").append(std::to_string(write.bytes.size())).append(" ").append(write.name).append("\n");
        bytes.append(write.bytes).append("\n");
    }
    for (const std::string& name : change.deletes) {
        if (!isBareName(name)) throw FileError(tr("Kein Dateiname im Programmordner: \"") + name + "\"");
        bytes.append("D ").append(name).append("\n");
    }
    bytes.append(kEnd);
    return bytes;
}

std::optional<FileSetChange> parseJournal(std::string_view bytes)
{
    if (bytes.substr(0, kHeader.size()) != kHeader) return std::nullopt;
    std::string_view rest = bytes.substr(kHeader.size());
    FileSetChange change;
    for (;;) {
        const auto line = takeLine(rest);
        if (!line) return std::nullopt;
        if (*line == kEnd.substr(0, 1)) return rest.empty() ? std::optional(std::move(change)) : std::nullopt;
        if (line->substr(0, 2) == "D ") {
            const std::string_view name = line->substr(2);
            if (!isBareName(name)) return std::nullopt;
            change.deletes.emplace_back(name);
            continue;
        }
        if (line->substr(0, 2) != "W " || !change.deletes.empty()) return std::nullopt;
        const std::string_view sizeAndName = line->substr(2);
        const auto blank = sizeAndName.find(' ');
        if (blank == std::string_view::npos) return std::nullopt;
        std::size_t size = 0;
        const auto [end, error] = std::from_chars(sizeAndName.data(), sizeAndName.data() + blank, size);
        if (error != std::errc() || end != sizeAndName.data() + blank) return std::nullopt;
        const std::string_view name = sizeAndName.substr(blank + 1);
        if (!isBareName(name) || size >= rest.size() || rest[size] != '\n') return std::nullopt;
        change.writes.push_back({std::string(name), std::string(rest.substr(0, size))});
        rest.remove_prefix(size + 1);
    }
}

void applyJournaled(FilePort& files, const std::string& folder, std::string_view journalName,
                    const FileSetChange& change)
{
    if (change.empty()) return;
    const std::string journal = folder + std::string(journalName);
    files.save(journal, journalBytes(change));
    try {
        try {
            carryOut(files, folder, change);
        } catch (const FileError&) {
            // Every step only puts a file into its final state, so going through it all again is safe.
            carryOut(files, folder, change);
        }
        files.remove(journal);
    } catch (const FileError& error) {
        throw UnfinishedChange(std::string(error.what()) + tr("\r\nDie \xC4nderung wird beim n\xE4"
                                                              "chsten Start abgeschlossen."));
    }
}

JournalReplay replayJournal(FilePort& files, const std::string& folder, std::string_view journalName,
                            const std::function<bool(std::string_view)>& mayChange)
{
    const std::string journal = folder + std::string(journalName);
    if (!files.exists(journal)) return JournalReplay::none;
    const std::optional<FileSetChange> change = parseJournal(files.read(journal));
    const auto refused = [&journal](const std::string& why) {
        return FileError(tr("Die Datei \"") + journal + tr("\" kann nicht ausgef\xFChrt werden: ") + why);
    };
    if (!change) throw refused(tr("sie ist unvollst\xE4ndig"));
    for (const FileWrite& write : change->writes)
        if (!mayChange(write.name)) throw refused(tr("sie nennt \"") + write.name + "\"");
    for (const std::string& name : change->deletes)
        if (!mayChange(name)) throw refused(tr("sie nennt \"") + name + "\"");
    carryOut(files, folder, *change);
    files.remove(journal);
    return JournalReplay::finished;
}

} // namespace quintor
