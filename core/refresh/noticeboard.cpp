#include "refresh/noticeboard.h"

#include "settings/convert.h"
#include "settings/keys.h"

#include <algorithm>

namespace quintor {
namespace {

std::string lowerAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

} // namespace

std::vector<Notice> noticesToShow(std::string_view noticeFile, const TextList& config)
{
    TextList lines;
    lines.SetText(noticeFile);
    std::vector<Notice> notices;
    for (int n = 1;; ++n) {
        std::string text = lines.Value(std::to_string(n));
        if (text.empty()) break;
        if (lowerAscii(config.Value(keys::numbered(keys::clipBoardDisable, n))) == "true") continue;
        notices.push_back({n, std::move(text)});
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

NoticePlace noticePlace(int k, int boardWidth)
{
    const int labelTop = k * 60 + 20;
    const int labelHeight = 35;
    return {10, labelTop, boardWidth - 20, labelHeight, boardWidth - 45, labelTop + labelHeight - 10, 30, 25};
}

std::string dismissButtonName(int number)
{
    std::string name = "d";
    name += std::to_string(number);
    return name;
}

int noticeNumberOfButton(std::string_view buttonName)
{
    return buttonName.empty() ? 0 : strToInt(buttonName.substr(1));
}

void delclipbrd(TextList& config, int number, const std::string& configPath)
{
    config.SetValue(keys::numbered(keys::clipBoardDisable, number), "true");
    config.SaveToFile(configPath);
}

} // namespace quintor
