#include "reference/replylines.h"

#include <cstring>

namespace quintor {
namespace {

bool isTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view trim(std::string_view line)
{
    std::size_t begin = 0, end = line.size();
    while (begin < end && isTrimmed(line[begin]))
        ++begin;
    while (end > begin && isTrimmed(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

} // namespace

void splitReplyLines(std::string_view reply, std::vector<std::string_view>& lines)
{
    lines.clear();
    if (reply.empty()) return;
    if (const void* nul = std::memchr(reply.data(), '\0', reply.size())) {
        reply = reply.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - reply.data()));
    }
    const char* const data = reply.data();
    const std::size_t size = reply.size();
    // Reply lines average about twenty bytes; room for that many saves most of the growing.
    lines.reserve(size / 16 + 1);
    std::size_t start = 0;
    if (!std::memchr(data, '\r', size)) {
        // LF only, as the league writes it: memchr finds the ends far faster than a loop over the bytes.
        while (start < size) {
            const void* found = std::memchr(data + start, '\n', size - start);
            const std::size_t end = found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
            lines.push_back(trim(reply.substr(start, end - start)));
            start = end + 1;
        }
        return;
    }
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c != '\n' && c != '\r') continue;
        lines.push_back(trim(reply.substr(start, i - start)));
        if (c == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < size) lines.push_back(trim(reply.substr(start)));
}

} // namespace quintor
