#include "settings/translate.h"

#include "settings/encoding.h"
#include "settings/errors.h"
#include "settings/keys.h"
#include "settings/textlist.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <unordered_map>

namespace quintor {
namespace {

// Message id (the singular's text for a counted one) to its translation; a counted translation holds
// its forms separated by NUL bytes, as the catalog file does.
using Catalog = std::unordered_map<std::string, std::string>;

std::unique_ptr<const Catalog> activeCatalog;
Language activeLanguageValue = Language::german;
// Raised whenever the catalog changes, so every thread's cache of looked-up texts starts again.
std::atomic<std::uint64_t> catalogGeneration{0};

std::uint32_t readWord(std::string_view data, std::size_t at, bool swapped)
{
    std::uint32_t word = 0;
    std::memcpy(&word, data.data() + at, 4);
    if (swapped) word = __builtin_bswap32(word);
    return word;
}

// The entries of a .mo file; nullptr when the bytes are not one.
std::unique_ptr<Catalog> parseCatalog(std::string_view data)
{
    constexpr std::uint32_t magic = 0x950412de;
    if (data.size() < 28) return nullptr;
    bool swapped = false;
    if (readWord(data, 0, false) != magic) {
        if (readWord(data, 0, true) != magic) return nullptr;
        swapped = true;
    }
    const std::uint64_t count = readWord(data, 8, swapped);
    const std::uint64_t originals = readWord(data, 12, swapped);
    const std::uint64_t translations = readWord(data, 16, swapped);
    if (originals + count * 8 > data.size() || translations + count * 8 > data.size()) return nullptr;
    auto entry = [&](std::uint64_t table, std::uint64_t index, std::string_view& out) {
        const std::uint64_t length = readWord(data, table + index * 8, swapped);
        const std::uint64_t offset = readWord(data, table + index * 8 + 4, swapped);
        if (offset + length > data.size()) return false;
        out = data.substr(offset, length);
        return true;
    };
    auto catalog = std::make_unique<Catalog>();
    for (std::uint64_t i = 0; i < count; ++i) {
        std::string_view id;
        std::string_view text;
        if (!entry(originals, i, id) || !entry(translations, i, text)) return nullptr;
        if (id.empty()) continue; // the header
        catalog->emplace(std::string(id.substr(0, id.find('\0'))), std::string(text));
    }
    return catalog;
}

std::unique_ptr<Catalog> readCatalog(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parseCatalog(data);
}

void setCatalog(std::unique_ptr<const Catalog> catalog, Language language)
{
    activeCatalog = std::move(catalog);
    activeLanguageValue = activeCatalog ? language : Language::german;
    catalogGeneration.fetch_add(1);
}

// The form of a translation for a count; German and English share the rule "one, else other".
std::string_view pluralForm(std::string_view forms, long long count)
{
    const std::size_t end = forms.find('\0');
    if (count == 1 || end == std::string_view::npos) return forms.substr(0, end);
    const std::string_view rest = forms.substr(end + 1);
    return rest.substr(0, rest.find('\0'));
}

// The translation (UTF-8) of a UTF-8 message id with its forms, or nullptr.
const std::string* lookUp(const std::string& id)
{
    if (!activeCatalog) return nullptr;
    const auto found = activeCatalog->find(id);
    return found == activeCatalog->end() ? nullptr : &found->second;
}

std::string withCount(std::string text, long long count)
{
    const std::size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(count));
    return text;
}

bool asksForEnglish(std::string_view value)
{
    return value.size() >= 2 && value.substr(0, 2) == "en" &&
           (value.size() == 2 || value[2] == '_' || value[2] == '.' || value[2] == '@');
}

bool asksForGerman(std::string_view value)
{
    return value.size() >= 2 && value.substr(0, 2) == "de" &&
           (value.size() == 2 || value[2] == '_' || value[2] == '.' || value[2] == '@');
}

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

LocaleEnvironment LocaleEnvironment::current()
{
    return {environmentValue("LANGUAGE"), environmentValue("LC_ALL"), environmentValue("LC_MESSAGES"),
            environmentValue("LANG")};
}

Language chooseLanguage(std::string_view setting, const LocaleEnvironment& environment)
{
    if (sameNameIgnoringCase(setting, "de")) return Language::german;
    if (sameNameIgnoringCase(setting, "en")) return Language::english;
    // LANGUAGE lists languages by preference; the first of ours decides.
    std::string_view list = environment.language;
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        if (asksForEnglish(entry)) return Language::english;
        if (asksForGerman(entry)) return Language::german;
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    for (const std::string* value : {&environment.lcAll, &environment.lcMessages, &environment.lang}) {
        if (!value->empty()) return asksForEnglish(*value) ? Language::english : Language::german;
    }
    return Language::german;
}

std::string storedLanguageSetting(const std::string& appFolder)
{
    TextList config;
    try {
        config.loadFromFile(appFolder + std::string(files::config));
    } catch (const FileError&) {
        return "";
    }
    return config.value(keys::language);
}

std::vector<std::string> catalogCandidates(const std::string& programFolder, Language language,
                                           const std::vector<std::string>& extraLocaleFolders)
{
    if (language == Language::german) return {};
    const std::string tail = "en/LC_MESSAGES/quintor.mo";
    std::vector<std::string> candidates{programFolder + "locale/" + tail, programFolder + "../share/locale/" + tail};
    for (const std::string& folder : extraLocaleFolders)
        candidates.push_back(folder + (folder.ends_with('/') ? "" : "/") + tail);
    return candidates;
}

bool useLanguage(Language language, const std::vector<std::string>& candidates)
{
    if (language == Language::german) {
        useGermanTexts();
        return true;
    }
    for (const std::string& path : candidates) {
        if (useCatalogFile(path)) return true;
    }
    return false;
}

bool useCatalogFile(const std::string& path)
{
    std::unique_ptr<Catalog> catalog = readCatalog(path);
    const bool read = catalog != nullptr;
    setCatalog(std::move(catalog), Language::english);
    return read;
}

void useGermanTexts()
{
    setCatalog(nullptr, Language::german);
}

Language activeLanguage()
{
    return activeLanguageValue;
}

std::string textInLanguage(Language language, const std::vector<std::string>& candidates, const char* german)
{
    if (language == Language::german) return german;
    for (const std::string& path : candidates) {
        const std::unique_ptr<Catalog> catalog = readCatalog(path);
        if (!catalog) continue;
        const auto found = catalog->find(windows1252ToUtf8(german));
        if (found == catalog->end()) break;
        return utf8ToWindows1252(found->second.substr(0, found->second.find('\0')));
    }
    return german;
}

const std::string& tr(const char* german)
{
    // Keyed by the literal's address: a literal is looked up once per thread, not at every use.
    thread_local std::unordered_map<const char*, std::string> cache;
    thread_local std::uint64_t cacheGeneration = 0;
    const std::uint64_t generation = catalogGeneration.load(std::memory_order_relaxed);
    if (generation != cacheGeneration) {
        cache.clear();
        cacheGeneration = generation;
    }
    const auto cached = cache.find(german);
    if (cached != cache.end()) return cached->second;
    const std::string* translation = lookUp(windows1252ToUtf8(german));
    std::string text =
        translation ? utf8ToWindows1252(translation->substr(0, translation->find('\0'))) : std::string(german);
    return cache.emplace(german, std::move(text)).first->second;
}

std::string translateText(std::string_view german)
{
    const std::string* translation = lookUp(windows1252ToUtf8(german));
    return translation ? utf8ToWindows1252(translation->substr(0, translation->find('\0'))) : std::string(german);
}

std::string trn(const char* singular, const char* plural, long long count)
{
    const std::string* translation = lookUp(windows1252ToUtf8(singular));
    if (translation) return withCount(utf8ToWindows1252(pluralForm(*translation, count)), count);
    return withCount(count == 1 ? singular : plural, count);
}

std::string translateUtf8(const char* german)
{
    const std::string* translation = lookUp(german);
    return translation ? translation->substr(0, translation->find('\0')) : std::string(german);
}

std::string translateUtf8Plural(const char* singular, const char* plural, long long count)
{
    const std::string* translation = lookUp(singular);
    if (translation) return withCount(std::string(pluralForm(*translation, count)), count);
    return withCount(count == 1 ? singular : plural, count);
}

} // namespace quintor
