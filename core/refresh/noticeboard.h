// The notice board "Pinnwand": which notices of the notice file are shown, where, and dismissing one.
#pragma once

#include "net/httpclient.h"
#include "settings/textlist.h"

#include <string>
#include <string_view>
#include <vector>

namespace quintor {

struct Notice {
    int number;
    std::string text;
};

// The notices to show, in order: numbers 1, 2, ... until the first without a line or with an empty
// text; the first line of a number counts; a notice whose "ClipBoardDisable" + n is "true" in any
// letter case is skipped. The file's lines are not trimmed.
std::vector<Notice> noticesToShow(std::string_view noticeFile, const TextList& config);

// Fetches the notice file and gives the notices to show. Without an address, or when the file cannot
// be fetched, the board is empty and the refresh goes on: an unreachable notice server must not hide
// the games. A cancelled request (the program is ending) leaves with its HttpError.
std::vector<Notice> fetchNotices(HttpClient& http, const std::string& url, const TextList& config);

struct NoticePlace {
    int labelLeft, labelTop, labelWidth, labelHeight;
    int buttonLeft, buttonTop, buttonWidth, buttonHeight;
};

// Where the k-th shown notice (from 0) and its "-" button stand on a board of this width.
NoticePlace noticePlace(int k, int boardWidth);

// The name of notice n's dismiss button, and the notice number back from a button's name.
std::string dismissButtonName(int number);
int noticeNumberOfButton(std::string_view buttonName);

// Dismisses notice n for good: "ClipBoardDisable" + n = "true", written to "config.txt" at once.
void delclipbrd(TextList& config, int number, const std::string& configPath);

} // namespace quintor
