#include "reference/filtermatches.h"

namespace quintor {

std::string FilterMatches::text() const
{
    std::string text;
    for (const std::uint32_t place : passed) {
        if (!text.empty()) text += '\n';
        text += (*lines)[place];
    }
    return text;
}

} // namespace quintor
