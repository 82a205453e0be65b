#include "launch/gamefolder.h"
#include "settings/translate.h"

#include "settings/fileio.h"

namespace quintor {
namespace {

std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool isHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == ':' || c == '[' || c == ']';
}

} // namespace

bool isGameFolder(const std::string& folder)
{
    const std::string path = withSlash(folder);
    return fileExists(path + "Clonk.exe") || fileExists(path + "clonk.exe");
}

std::vector<CandidateFolder> defaultCandidates(const std::string& home)
{
    const std::string prefix = withSlash(home) + ".wine/";
    return {{prefix + "drive_c/Programme/Clonk Rage/", tr("Clonk Rage in C:\\Programme\\Clonk Rage gefunden!")},
            {prefix + "dosdevices/d:/Programme/Clonk Rage/", tr("Clonk Rage in D:\\Programme\\Clonk Rage gefunden!")}};
}

std::optional<std::string> findGameFolder(const GameFolderSearch& search)
{
    const std::string stored = search.config.value("crdir");
    if (!stored.empty() && isGameFolder(stored)) return stored;
    if (isGameFolder(search.appFolder)) return search.appFolder;
    for (const auto& candidate : search.candidates) {
        if (isGameFolder(candidate.folder)) {
            search.dialogs.message(candidate.foundMessage);
            return candidate.folder;
        }
    }
    for (;;) {
        const auto chosen = search.dialogs.chooseFolder(tr("Clonkpfad ausw\xE4hlen"));
        if (!chosen) return std::nullopt;
        if (isGameFolder(*chosen)) return chosen;
    }
}

ProcessCommand gameExecutable(const std::string& gameFolder, const std::string& joinParameter)
{
    // A folder is valid with "clonk.exe" in lower case too; on a file system that tells the two apart,
    // starting "Clonk.exe" there would do nothing, so the file that is there is started.
    const std::string folder = withSlash(gameFolder);
    const bool onlyLowerCase = !fileExists(folder + "Clonk.exe") && fileExists(folder + "clonk.exe");
    return {folder + (onlyLowerCase ? "clonk.exe" : "Clonk.exe"), {"/fullscreen", joinParameter}, gameFolder};
}

bool isSafeHost(const std::string& host)
{
    if (host.empty()) return false;
    for (char c : host) {
        if (!isHostCharacter(c)) return false;
    }
    return true;
}

void joinGameOfRow(const std::vector<GameRecord>& games, RowHandle row, const GameFolderSearch& search,
                   ProcessStarter& starter)
{
    if (const GameRecord* game = findGameOfRow(games, row)) joinGame(*game, search, starter);
}

bool hasHostToJoin(const GameRecord& game)
{
    return !game.IPs.empty() && !game.IPs.front().empty();
}

std::optional<std::string> joinOffer(const GameRecord& game)
{
    if (!hasHostToJoin(game)) return std::nullopt;
    return gameIdentity(game);
}

void joinGame(const GameRecord& game, const GameFolderSearch& search, ProcessStarter& starter)
{
    if (!hasHostToJoin(game)) return;
    const std::string host(game.IPs.front());
    if (!isSafeHost(host)) {
        search.dialogs.error(tr("Die Adresse \"") + host +
                             tr("\" ist keine g\xFCltige Host-Adresse. Das Spiel wird nicht "
                                "gestartet."));
        return;
    }
    const auto folder = findGameFolder(search);
    if (!folder) return;
    starter.start(gameExecutable(*folder, "/join:" + host));
}

} // namespace quintor
