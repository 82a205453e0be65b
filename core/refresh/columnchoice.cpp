#include "refresh/columnchoice.h"

#include "refresh/rowtexts.h"
#include "settings/keys.h"

namespace quintor {

std::vector<bool> chosenColumns(const TextList& config)
{
    std::vector<std::string> chosen;
    for (int n = 1;; ++n) {
        std::string caption = columnCaption(config, n);
        if (caption.empty()) break;
        chosen.push_back(std::move(caption));
    }
    std::vector<bool> flags;
    for (std::string_view caption : columnCaptions) {
        bool found = false;
        for (const auto& c : chosen) {
            if (c == caption) {
                found = true;
                break;
            }
        }
        flags.push_back(found);
    }
    return flags;
}

void storeColumnChoice(TextList& config, const std::vector<std::string>& captions)
{
    for (int i = config.count() - 1; i >= 0; --i) {
        const std::string& line = config.line(i);
        if (line.starts_with(keys::column) && line.find("Width") == std::string::npos) config.remove(i);
    }
    int n = 0;
    for (const auto& caption : captions)
        config.setValue(keys::numbered(keys::column, ++n), caption);
}

} // namespace quintor
