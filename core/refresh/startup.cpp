#include "refresh/startup.h"
#include "settings/translate.h"

#include "platform/prompts.h"
#include "settings/appinfo.h"
#include "settings/convert.h"
#include "settings/keys.h"

namespace quintor {
namespace {

std::string normalised(std::string_view text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    std::string out(text.substr(begin, end - begin));
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

} // namespace

bool updateCheckEnabled(const TextList& config)
{
    return config.value(keys::noupdater) != "true";
}

bool versionIsCurrent(std::string_view published)
{
    return normalised(published) == normalised(appinfo::versionWord);
}

std::string updateWarningText(std::string_view published)
{
    std::string text =
        tr("Die von dir verwendete Version von Quintor ist nicht aktuell. Bitte aktualisiere doch!\r\n\r\n"
           "Installiert: ");
    text += appinfo::versionWord;
    text += "\r\nEmpfohlen: ";
    text += published;
    return shortened(text, kMaxPromptTextLength, kMaxPromptTextLines);
}

WindowBounds storedWindowBounds(const TextList& config)
{
    auto read = [&](std::string_view key) -> std::optional<int> { return parseInt(config.value(key)); };
    return {read(keys::width), read(keys::height), read(keys::left), read(keys::top)};
}

void storeWindowBounds(TextList& config, int width, int height, int top, int left)
{
    config.setValue(keys::width, std::to_string(width));
    config.setValue(keys::height, std::to_string(height));
    config.setValue(keys::top, std::to_string(top));
    config.setValue(keys::left, std::to_string(left));
}

} // namespace quintor
