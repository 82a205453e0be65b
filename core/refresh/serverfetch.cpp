#include "refresh/serverfetch.h"
#include "settings/translate.h"

#include "reference/replylines.h"

#include <vector>

namespace quintor {

namespace {

// The first line with text, cut to kMaxReplyReasonLength, with control characters as spaces; empty for none.
std::string firstTextLine(std::string_view text)
{
    std::vector<std::string_view> lines;
    splitReplyLines(text, lines);
    for (std::string_view line : lines) {
        if (line.empty()) continue;
        std::string reason(line.substr(0, kMaxReplyReasonLength));
        for (char& c : reason) {
            if (static_cast<unsigned char>(c) < 32 || c == '\x7F') c = ' ';
        }
        return reason;
    }
    return {};
}

} // namespace

namespace {

// Whether a line of the reply is "[Reference]" or "[Clonk Rage]"; a list has one within its first lines.
bool hasHeader(std::string_view reply)
{
    std::string_view batch[64];
    for (ReplyLineCutter cutter(reply); !cutter.done();) {
        const std::size_t count = cutter.cut(batch, std::size(batch));
        for (std::size_t i = 0; i < count; ++i) {
            if (batch[i] == "[Reference]" || batch[i] == "[Clonk Rage]") return true;
        }
    }
    return false;
}

} // namespace

ReplyShape inspectReply(std::string_view reply)
{
    ReplyShape shape;
    if (reply.empty() || hasHeader(reply)) return shape;
    // The reader stops at a NUL, so a reply that starts with one would pass as a list without games:
    // its reason is looked for in the bytes behind the NULs.
    std::string reason = firstTextLine(reply);
    if (reason.empty()) {
        std::string visible(reply.substr(0, kReplyReasonScan));
        for (char& c : visible) {
            if (c == '\0') c = '\n';
        }
        reason = firstTextLine(visible);
    }
    shape.notAList = reason.empty() ? translateText(kNoListReason) : std::move(reason);
    return shape;
}

namespace {

FetchOutcome fetchOnce(HttpClient& http, const std::string& url, std::chrono::milliseconds connectTimeout)
{
    HttpOptions options;
    options.connectTimeout = connectTimeout;
    options.onlyStatus200 = true;
    FetchOutcome outcome;
    try {
        outcome.reply = http.get(url, options);
    } catch (const HttpError& error) {
        // Cancelled: the program is ending, so there is nobody left to ask.
        if (error.kind() == HttpError::Kind::Cancelled) throw;
        outcome.failure = error.reason();
        return outcome;
    }
    ReplyShape shape = inspectReply(outcome.reply);
    outcome.failure = std::move(shape.notAList);
    if (outcome.failure) outcome.reply.clear();
    return outcome;
}

} // namespace

FetchOutcome fetchReferenceList(HttpClient& http, const std::string& url, const MasterserverAddresses& addresses,
                                std::chrono::milliseconds connectTimeout)
{
    FetchOutcome outcome = fetchOnce(http, url, connectTimeout);
    if (!outcome.failure || url != addresses.builtIn || addresses.fallback.empty() || addresses.fallback == url)
        return outcome;
    FetchOutcome second = fetchOnce(http, addresses.fallback, connectTimeout);
    if (second.failure) return outcome;
    second.fromFallback = true;
    return second;
}

} // namespace quintor
