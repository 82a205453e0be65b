// The notice board "Pinnwand": which notices of the notice file are shown, and dismissing one.
#pragma once

#include "net/httpclient.h"
#include "refresh/monitorstate.h"
#include "settings/textlist.h"

#include <string>
#include <string_view>
#include <vector>

namespace quintor {

struct Notice {
    int number;
    std::string text;
};

// More would only grow the board past any window; a long history of dismissed notices costs nothing.
inline constexpr std::size_t kMaxNoticesShown = 50;
// Notices are short; a longer text (a broken or hostile notice server) is cut (see shortened), as the board lays each
// one out again at every refresh and would stand the window still for seconds with megabytes.
inline constexpr std::size_t kMaxNoticeLength = 1000;

// The notices to show, in order: numbers 1, 2, ... until the first without a line or with an empty
// text; the first line of a number counts; a notice whose "ClipBoardDisable" + n is "true" in any
// letter case is skipped; at most the first kMaxNoticesShown that are left, each cut to kMaxNoticeLength. The
// file's lines are not trimmed. Takes time in proportion to the lengths of the file and the settings.
std::vector<Notice> noticesToShow(std::string_view noticeFile, const TextList& config);

// Fetches the notice file and gives the notices to show. Without an address, or when the file cannot
// be fetched, the board is empty and the refresh goes on: an unreachable notice server must not hide
// the games. A cancelled request (the program is ending) leaves with its HttpError.
std::vector<Notice> fetchNotices(HttpClient& http, const std::string& url, const TextList& config);

// The name of notice n's dismiss button ("d" + n), by which tests find it.
std::string dismissButtonName(int number);

// Dismisses notice n for good: "ClipBoardDisable" + n = "true", written to "config.txt" at once unless
// start-up could not read that file (then the dismissal lasts for this run).
void storeDismissedNotice(MonitorState& state, int number);

} // namespace quintor
