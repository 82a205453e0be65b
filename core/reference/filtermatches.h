// The filters a game passed in one refresh, as its row keeps them: places in that refresh's table of lines, so that
// the text is put together only when the row's tooltip is shown.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quintor {

struct FilterMatches {
    // One line per filter of the refresh's set, in its order: "Farbe von <group> / <filter>" for a filter that
    // colours rows, "Passt zu <group> / <filter>" for the others.
    std::shared_ptr<const std::vector<std::string>> lines;
    std::vector<std::uint32_t> passed; // places in `lines`, in filter order

    bool empty() const { return passed.empty(); }
    // The lines of the filters passed, one per line; "" for none.
    std::string text() const;
};

} // namespace quintor
