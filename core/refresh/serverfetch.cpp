#include "refresh/serverfetch.h"

#include "reference/replylines.h"

#include <vector>

namespace quintor {

ReplyShape inspectReply(std::string_view reply)
{
    std::vector<std::string_view> lines;
    splitReplyLines(reply, lines);
    ReplyShape shape;
    bool headed = false;
    std::string_view firstText;
    for (std::string_view line : lines) {
        if (line == "[Reference]") ++shape.references;
        headed = headed || line == "[Reference]" || line == "[Clonk Rage]";
        if (firstText.empty()) firstText = line;
    }
    if (headed || firstText.empty()) return shape;
    std::string reason(firstText.substr(0, kMaxReplyReasonLength));
    for (char& c : reason) {
        if (static_cast<unsigned char>(c) < 32 || c == '\x7F') c = ' ';
    }
    shape.notAList = std::move(reason);
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
    return second.failure ? outcome : second;
}

} // namespace quintor
