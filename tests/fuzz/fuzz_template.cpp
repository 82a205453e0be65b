// The action text template over arbitrary bytes: it either compiles or raises TemplateError, and a
// compiled one formats any value without touching memory it does not own.
#include "filters/actiontemplate.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The first part is the template, the part after the first NUL (if any) the value.
    const std::size_t split = bytes.find('\0');
    const std::string_view text = bytes.substr(0, split);
    const std::string_view value = split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);
    try {
        const quintor::ActionTemplate compiled = quintor::ActionTemplate::compile(text);
        const std::string formatted = compiled.format(value);
        if (text.find('%') == std::string_view::npos && formatted != text) std::abort();
        // Nothing but the one value and its padding is ever added to the text.
        if (formatted.size() > text.size() + value.size() + quintor::ActionTemplate::kMaxWidth) std::abort();
    } catch (const quintor::TemplateError&) {
    }
    return 0;
}
