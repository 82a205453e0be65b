// Fetching one masterserver's reference list: what counts as a list, and the built-in server's fallback.
#pragma once

#include "net/httpclient.h"
#include "settings/translate.h"

#include <optional>
#include <string>
#include <string_view>

namespace quintor {

// The longest piece of a reply that stands in a failure reason.
inline constexpr std::size_t kMaxReplyReasonLength = 200;
// How far into a reply a reason is looked for when the reader sees no text in it.
inline constexpr std::size_t kReplyReasonScan = 4096;
// The reason for a reply without a list and without a line of text (blanks or NUL bytes only).
inline constexpr std::string_view kNoListReason = untranslated("Die Antwort ist keine Spieleliste");

struct ReplyShape {
    // Why the reply is no reference list: any non-empty reply without a "[Clonk Rage]" or "[Reference]" line
    // (the league's flood protection, an error page, blanks, NUL bytes) fails with its first line of text, cut
    // to kMaxReplyReasonLength and with control characters as spaces, or kNoListReason when it has none.
    // Only a reply of no bytes at all is an empty list.
    std::optional<std::string> notAList;
};

// Lines are read as the reference reader reads them (trimmed, up to a NUL), and only up to the first header: a list
// is not read twice.
ReplyShape inspectReply(std::string_view reply);

struct FetchOutcome {
    std::string reply;                  // the list, when there is no failure
    std::optional<std::string> failure; // the reason, in the user's words
    bool fromFallback = false;          // the built-in server failed and the fallback gave the list
};

struct MasterserverAddresses {
    std::string builtIn;  // the build's default masterserver
    std::string fallback; // tried once when the built-in one fails; empty: none
};

// One GET of `url` that only a 200 reply with a list (or nothing) passes. When `url` is the built-in
// address and it fails, the fallback is asked once; if that fails too, the reason is the built-in one's.
// Errors other than HttpError (an abandoned tick) escape.
FetchOutcome fetchReferenceList(HttpClient& http, const std::string& url, const MasterserverAddresses& addresses,
                                std::chrono::milliseconds connectTimeout);

} // namespace quintor
