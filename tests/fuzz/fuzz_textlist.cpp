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
    list.setText(bytes);

    // Look up every line's own name and a few settings keys; the index found must name a line
    // whose name matches, and its value must be what Value gives.
    for (int i = 0; i < list.count(); ++i) {
        const std::string& line = list.line(i);
        const auto eq = line.find('=');
        const std::string value = list.valueAt(i);
        if (eq == std::string::npos) continue;
        const std::string name = line.substr(0, eq);
        const int found = list.indexOfName(name);
        if (found < 0 || found > i) std::abort();
        if (list.value(name) != list.valueAt(found)) std::abort();
    }
    for (const char* key : {"width", "tagparse", "Column1", "ColumnWidth0", "feed"})
        (void)list.value(key);

    TextList again;
    again.setText(list.text());
    if (!(again == list)) {
        // Only a line holding a line break or NUL could change, and SetText never makes one.
        std::abort();
    }

    // Setting and clearing a value keeps every other line.
    TextList edited = list;
    edited.setValue("fuzzkey", "1");
    edited.setValue("fuzzkey", "");
    if (list.indexOfName("fuzzkey") < 0 && !(edited == list)) std::abort();
    return 0;
}
