// A text list loaded from arbitrary bytes: name look-ups and values never fail, and the file form
// written back loads as the same lines.
#include "settings/textlist.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace quintor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TextList list;
    list.SetText(bytes);

    // Look up every line's own name and a few settings keys; the index found must name a line
    // whose name matches, and its value must be what Value gives.
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& line = list.Line(i);
        const auto eq = line.find('=');
        const std::string value = list.ValueAt(i);
        if (eq == std::string::npos) continue;
        const std::string name = line.substr(0, eq);
        const int found = list.IndexOfName(name);
        if (found < 0 || found > i) std::abort();
        if (list.Value(name) != list.ValueAt(found)) std::abort();
    }
    for (const char* key : {"width", "tagparse", "Column1", "ColumnWidth0", "feed"})
        (void)list.Value(key);

    TextList again;
    again.SetText(list.Text());
    if (!(again == list)) {
        // Only a line holding a line break or NUL could change, and SetText never makes one.
        std::abort();
    }

    // Setting and clearing a value keeps every other line.
    TextList edited = list;
    edited.SetValue("fuzzkey", "1");
    edited.SetValue("fuzzkey", "");
    if (list.IndexOfName("fuzzkey") < 0 && !(edited == list)) std::abort();
    return 0;
}
