#include "reference/hostlist.h"

#include <ostream>

namespace quintor {

std::ostream& operator<<(std::ostream& out, const HostList& list)
{
    out << '{';
    bool first = true;
    for (const std::string_view host : list) {
        out << (first ? "\"" : ", \"") << host << '"';
        first = false;
    }
    return out << '}';
}

} // namespace quintor
