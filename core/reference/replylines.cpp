#include "reference/replylines.h"

#include <cstring>
#include <iterator>

namespace quintor {

void splitReplyLines(std::string_view reply, std::vector<std::string_view>& lines)
{
    lines.clear();
    // Reply lines average about twenty bytes; room for that many saves most of the growing.
    lines.reserve(reply.size() / 16 + 1);
    std::string_view batch[64];
    for (ReplyLineCutter cutter(reply); !cutter.done();) {
        const std::size_t count = cutter.cut(batch, std::size(batch));
        lines.insert(lines.end(), batch, batch + count);
    }
}

} // namespace quintor
