// Fetching one masterserver's reference list: what counts as a list, and the built-in server's fallback.
#pragma once

#include "net/httpclient.h"

#include <optional>
#include <string>
#include <string_view>

namespace quintor {

// The longest piece of a reply that stands in a failure reason.
inline constexpr std::size_t kMaxReplyReasonLength = 200;

struct ReplyShape {
    int references = 0; // "[Reference]" lines: the games the reader will complete or skip
    // Why the reply is no reference list: one with text but neither a "[Clonk Rage]" nor a "[Reference]"
    // line (the league's flood protection, an error page) fails with its first line of text, cut to
    // kMaxReplyReasonLength and with control characters as spaces. A reply without any text is an empty list.
    std::optional<std::string> notAList;
};

// Lines are read as the reference reader reads them (trimmed, up to a NUL).
ReplyShape inspectReply(std::string_view reply);

struct FetchOutcome {
    std::string reply;                  // the list, when there is no failure
    std::optional<std::string> failure; // the reason, in the user's words
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
