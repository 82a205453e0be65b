// The value clean-up done the slow, literal way: every round searches the text from its start and rebuilds it.
// Tests and the fuzz target compare the library's cleanvalue and striptags with these.
#pragma once

#include "settings/convert.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quintor::oracle {

inline std::string striptags(std::string text, bool tagparse)
{
    if (!tagparse) return text;
    for (;;) {
        const std::size_t open = text.find('<');
        const std::size_t close = text.find('>');
        if (open == std::string::npos || close == std::string::npos || close < open) return text;
        text.erase(open, close - open + 1);
    }
}

// Replaces every occurrence of `pattern`, found left to right in the text as it was, like a replace-all does.
inline std::string replaceAll(const std::string& text, const std::string& pattern, const std::string& by)
{
    std::string result;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(pattern, from)) != std::string::npos; from = at + pattern.size()) {
        result.append(text, from, at - from).append(by);
    }
    return result.append(text, from, std::string::npos);
}

inline std::string decodeEscapes(std::string text)
{
    for (;;) {
        const std::size_t backslash = text.find('\\');
        // 1-based position p of the backslash: go on while p + 4 < length.
        if (backslash == std::string::npos || !(backslash + 1 + 4 < text.size())) return text;
        const std::string code = text.substr(backslash + 1, 3);
        if (parseInt(code)) {
            std::int64_t value = 0;
            for (char c : code)
                value = value * 8 + (static_cast<unsigned char>(c) - '0');
            const auto byte = static_cast<char>(((value % 256) + 256) % 256);
            text = replaceAll(text, "\\" + code, std::string(1, byte));
        } else {
            text[backslash] = '/';
        }
    }
}

inline std::string cleanvalue(std::string_view input, bool tagparse)
{
    std::string text(input);
    if (!text.empty() && (text.front() == '"' || text.front() == '\'')) text.erase(0, 1);
    if (!text.empty() && (text.back() == '"' || text.back() == '\'')) text.pop_back();
    return striptags(decodeEscapes(text), tagparse);
}

} // namespace quintor::oracle
