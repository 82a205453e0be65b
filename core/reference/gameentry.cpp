#include "reference/gameentry.h"
#include "reference/textwords.h"
#include "settings/translate.h"

#include <cstring>
#include <string_view>

namespace quintor {

const SharedText& unsetText()
{
    static const SharedText text = SharedText::permanent("ERR");
    return text;
}

const SharedText& noLeagueText()
{
    static const SharedText text = SharedText::permanent(untranslated("Keine"));
    return text;
}

const TextSpans& RecordSpans::none() noexcept
{
    static const TextSpans none;
    return none;
}

const GameRecord* findGameOfRow(const std::vector<GameRecord>& games, RowHandle row)
{
    // From the back: the last record of the row wins.
    for (std::size_t i = games.size(); i-- > 0;) {
        if (games[i].Item == row) return &games[i];
    }
    return nullptr;
}

std::string gameIdentity(const GameRecord& game)
{
    return game.Title + '\n' + game.Hoster + '\n' + (game.StartTime ? *game.StartTime : game.Address);
}

namespace {

std::uint64_t mixed(std::uint64_t h, std::uint64_t word)
{
    h = (h ^ word) * 0xBF58476D1CE4E5B9u;
    return h ^ (h >> 31);
}

// Each text with its length, eight bytes at a time; the bytes after the last whole eight as the text's last eight,
// shifted, or for a shorter text as its shortTextWord.
std::uint64_t hashed(std::uint64_t h, std::string_view text)
{
    const char* const data = text.data();
    const std::size_t size = text.size();
    h = mixed(h, size);
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        h = mixed(h, word);
    }
    const std::size_t rest = size - i;
    if (rest == 0) return h;
    if (size < 8) return mixed(h, shortTextWord(data, size));
    std::uint64_t word;
    std::memcpy(&word, data + size - 8, 8);
    return mixed(h, word >> 8 * (8 - rest));
}

} // namespace

std::uint64_t gameIdentityHash(const GameRecord& game)
{
    std::uint64_t h = 0x9E3779B97F4A7C15u;
    h = hashed(h, game.Title);
    h = hashed(h, game.Hoster);
    h = hashed(h, game.StartTime ? *game.StartTime : game.Address);
    // The final mix of splitmix64: every bit of the input reaches every bit of the hash.
    h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9u;
    h = (h ^ (h >> 27)) * 0x94D049BB133111EBu;
    h ^= h >> 31;
    return h != 0 ? h : 1;
}

} // namespace quintor
