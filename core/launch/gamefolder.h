// Finding the game folder (the folder that holds "Clonk.exe") and building the command that joins a game.
#pragma once

#include "platform/dialogs.h"
#include "platform/processstarter.h"
#include "reference/gameentry.h"
#include "settings/textlist.h"

#include <optional>
#include <string>
#include <vector>

namespace quintor {

// True when the folder holds "Clonk.exe" or "clonk.exe" as a file.
bool isGameFolder(const std::string& folder);

struct CandidateFolder {
    std::string folder;       // ends with "/"
    std::string foundMessage; // shown when the game is found there
};

// The two fixed places the game is installed to: inside the user's default wine prefix, the folders
// that are "C:\Programme\Clonk Rage\" and "D:\Programme\Clonk Rage\" to the game.
std::vector<CandidateFolder> defaultCandidates(const std::string& home);

struct GameFolderSearch {
    const TextList& config;
    std::string appFolder;
    std::vector<CandidateFolder> candidates;
    Dialogs& dialogs;
};

// The stored "crdir" when valid, else the application folder, else the first candidate that holds the
// game (with its message), else the folder the user picks in the folder browser "Clonkpfad auswählen",
// asked again until the pick holds the game. Cancelling the browser ends the search without a folder.
std::optional<std::string> findGameFolder(const GameFolderSearch& search);

// The join command: "Clonk.exe" of the game folder ("clonk.exe" where only that one is there) with
// "/fullscreen" and "/join:" + host, working in the game folder.
ProcessCommand gameExecutable(const std::string& gameFolder, const std::string& joinParameter);

// A host from the network must be a plain host name or address before it goes to the game.
bool isSafeHost(const std::string& host);

// Whether the game names a host to join (its first host is not empty), whatever its "AddressCount" says.
bool hasHostToJoin(const GameRecord& game);

// Joins the game: its first host, checked; nothing happens when it has no host, or when no game folder is
// found. An unsafe host is refused with an error message.
void joinGame(const GameRecord& game, const GameFolderSearch& search, ProcessStarter& starter);

// What a balloon about the game offers to join ("Beitreten"): the game's identity, when it has a host to join.
std::optional<std::string> joinOffer(const GameRecord& game);

// Joins the game of the row as joinGame does; nothing happens when the row has no record.
void joinGameOfRow(const std::vector<GameRecord>& games, RowHandle row, const GameFolderSearch& search,
                   ProcessStarter& starter);

} // namespace quintor
