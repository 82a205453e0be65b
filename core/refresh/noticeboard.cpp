#include "refresh/noticeboard.h"

#include "settings/convert.h"
#include "settings/keys.h"

#include <algorithm>
#include <optional>

namespace quintor {
namespace {

std::string lowerAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

// The number n of a name written as std::to_string(n) for n from 1 to `limit`, or 0: a sign, a leading zero
// or a blank make another name, which the lookup by number never matches.
std::size_t numberNamed(std::string_view name, std::size_t limit)
{
    if (name.empty() || name.size() > 9 || name[0] == '0') return 0;
    std::size_t number = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') return 0;
        number = number * 10 + static_cast<std::size_t>(c - '0');
    }
    return number <= limit ? number : 0;
}

// For every number from 1 to `limit`, the value of its first line in `lines` whose name is `prefix` (letter
// case ignored) followed by the number, as Value would give it; one pass over the lines.
template <typename Lines>
std::vector<std::optional<std::string_view>> firstValuesByNumber(const Lines& lines, std::string_view prefix,
                                                                 std::size_t limit)
{
    std::vector<std::optional<std::string_view>> values(limit + 1);
    for (const std::string_view line : lines) {
        const auto eq = line.find('=');
        if (eq == std::string::npos || eq < prefix.size()) continue;
        const std::string_view name = line.substr(0, eq);
        if (!sameNameIgnoringCase(name.substr(0, prefix.size()), prefix)) continue;
        const std::size_t number = numberNamed(name.substr(prefix.size()), limit);
        if (number != 0 && !values[number]) values[number] = line.substr(eq + 1);
    }
    return values;
}

} // namespace

std::vector<Notice> noticesToShow(std::string_view noticeFile, const TextList& config)
{
    const std::vector<std::string_view> lines = splitLines(noticeFile);
    // Numbers run without gaps from 1, so none beyond the count of lines can be reached.
    const std::size_t limit = lines.size();
    const auto texts = firstValuesByNumber(lines, "", limit);
    const auto dismissals = firstValuesByNumber(config.lines(), keys::clipBoardDisable, limit);
    std::vector<Notice> notices;
    for (std::size_t n = 1; n <= limit && notices.size() < kMaxNoticesShown; ++n) {
        if (!texts[n] || texts[n]->empty()) break;
        if (dismissals[n] && lowerAscii(std::string(*dismissals[n])) == "true") continue;
        notices.push_back({static_cast<int>(n), shortened(*texts[n], kMaxNoticeLength)});
    }
    return notices;
}

std::vector<Notice> fetchNotices(HttpClient& http, const std::string& url, const TextList& config)
{
    if (url.empty()) return {};
    try {
        return noticesToShow(http.get(url), config);
    } catch (const HttpError& error) {
        // Cancelled: the program is ending, and the tick that asked ends with it.
        if (error.kind() == HttpError::Kind::Cancelled) throw;
        return {};
    }
}

std::string dismissButtonName(int number)
{
    std::string name = "d";
    name += std::to_string(number);
    return name;
}

void storeDismissedNotice(MonitorState& state, int number)
{
    state.config.setValue(keys::numbered(keys::clipBoardDisable, number), "true");
    state.saveGuard.save(state.config, state.file(files::config));
}

} // namespace quintor
