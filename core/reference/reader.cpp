#include "reference/reader.h"

#include "reference/escapes.h"
#include "reference/replylines.h"
#include "reference/textroutines.h"
#include "settings/convert.h"
#include "settings/errors.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quintor {
namespace {

// The value of a line, cut to the longest value a record keeps.
std::string_view valueOf(std::string_view line)
{
    return lineValue(line).substr(0, kMaxValueLength);
}

// An ID that must not fail: a whole number gives its value, any other text the value of its leading decimal
// digits (0 without any). Digits beyond the 32-bit range stay at its top.
std::int32_t lenientInt(std::string_view text)
{
    if (auto value = parseInt(text)) return *value;
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

// Whether `line` begins with `key`. The key's length is known when compiled, so the test takes a few loads.
template <std::size_t N> bool beginsWith(std::string_view line, const char (&key)[N])
{
    return line.size() >= N - 1 && std::memcmp(line.data(), key, N - 1) == 0;
}

// Strips `key` off the front of `line` into `value` (cut like every value) when the line begins with it.
template <std::size_t N> bool keyValue(std::string_view line, const char (&key)[N], std::string_view& value)
{
    if (!beginsWith(line, key)) return false;
    value = line.substr(N - 1, kMaxValueLength);
    return true;
}

// Whether the clean-up has more to do with `text` than take its quotes off: an escape, a control character, or with
// tag stripping on a "<". Looked through sixteen bytes at a time; the short values most lines hold are looked at
// with two loads that overlap, rather than a byte at a time.
bool needsDecoding(std::string_view text, bool tagparse)
{
    const char* const data = text.data();
    const std::size_t size = text.size();
#if defined(__SSE2__)
    const char tagOpen = tagparse ? '<' : '\\';
    const auto marked = [tagOpen](__m128i chunk) { return bytesToDecode(chunk, tagOpen); };
    const auto load16 = [](const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
    if (size >= 16) {
        std::size_t i = 0;
        for (; i + 16 <= size; i += 16) {
            if (marked(load16(data + i))) return true;
        }
        return i < size && marked(load16(data + size - 16)); // the rest, as the last sixteen bytes
    }
    // Shorter: the first and the last eight (or four) bytes. The loads fill the rest of the register with NULs, which
    // would count as control characters, so only the bits of the bytes loaded count.
    if (size >= 8) {
        const auto load8 = [](const char* at) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)); };
        return ((marked(load8(data)) | marked(load8(data + size - 8))) & 0xFFu) != 0;
    }
    if (size >= 4) {
        const auto load4 = [](const char* at) {
            std::int32_t bytes;
            std::memcpy(&bytes, at, sizeof bytes);
            return _mm_cvtsi32_si128(bytes);
        };
        return ((marked(load4(data)) | marked(load4(data + size - 4))) & 0xFu) != 0;
    }
#endif
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (static_cast<unsigned char>(c) < 32 || c == '\\' || (tagparse && c == '<')) return true;
    }
    return false;
}

// The value without the one leading and one trailing quote that decodeValue takes off.
std::string_view unquoted(std::string_view value)
{
    if (!value.empty() && (value.front() == '"' || value.front() == '\'')) value.remove_prefix(1);
    if (!value.empty() && (value.back() == '"' || value.back() == '\'')) value.remove_suffix(1);
    return value;
}

// decodeValue. Most values hold no escape, control character or tag: then the clean-up only takes the quotes off,
// and the value is copied once.
std::string cleanValue(std::string_view value, bool tagparse)
{
    const std::string_view inner = unquoted(value);
    return needsDecoding(inner, tagparse) ? decodeValue(value, tagparse) : std::string(inner);
}

// cleanValue, also giving the markup's colour and italic runs (none while tags are kept): for the texts whose
// colours the list draws. A value without "<" has none, and takes the quick way.
std::string cleanValue(std::string_view value, bool tagparse, RecordSpans& spans)
{
    spans.clear(); // a later line of the same key replaces the text and its runs
    const std::string_view inner = unquoted(value);
    if (!needsDecoding(inner, tagparse)) return std::string(inner);
    TextSpans collected;
    std::string text = decodeValueWithSpans(value, tagparse, collected);
    spans = std::move(collected);
    return text;
}

// cleanValue for a text that many records hold alike: taken as a shared text straight from the reply when there is
// nothing to decode, without a copy of its own first.
SharedText sharedValue(std::string_view value, bool tagparse)
{
    const std::string_view inner = unquoted(value);
    return needsDecoding(inner, tagparse) ? SharedText(decodeValue(value, tagparse)) : SharedText(inner);
}

// cleanValue for a number or truth value that is only converted: no copy when there is nothing to decode.
std::string_view cleanNumber(std::string_view value, bool tagparse, std::string& decoded)
{
    const std::string_view inner = unquoted(value);
    if (!needsDecoding(inner, tagparse)) return inner;
    decoded = decodeValue(value, tagparse);
    return decoded;
}

// Whether "CUID=" stands anywhere in the line; mostly it begins the line or is not there.
bool containsUserId(std::string_view line)
{
    return beginsWith(line, "CUID=") || line.find("CUID=") != std::string_view::npos;
}

// aliasFor in place: the text stays as it is when it has no alias. An alias drops the text's runs, which were the
// host's for his own text.
void applyAlias(std::string& text, const TextList& aliases, RecordSpans* spans = nullptr)
{
    if (aliases.count() == 0) return;
    const int line = aliasLineIndex(text, aliases);
    if (line < 0) return;
    if (spans) spans->clear();
    text = aliases.valueAt(line);
}

// sharedValue, then applyAlias.
SharedText sharedAliased(std::string_view value, bool tagparse, const TextList& aliases)
{
    if (aliases.count() == 0) return sharedValue(value, tagparse);
    std::string text = cleanValue(value, tagparse);
    applyAlias(text, aliases);
    return SharedText(text);
}

// The flags of a player whose lines hold none.
const SharedText& noFlagsText()
{
    static const SharedText none = SharedText::permanent("Keine");
    return none;
}

// The look-ahead scans of the steps. Each is fed the non-empty lines after its header, in order, up to the line
// that endsAt() names (not included) or the end of the reply, and then finished. The stepwise reader runs a scan
// at its header; the single pass feeds all open scans each line as it passes. Scans that are open together write
// different fields, so both ways give the same record.

// The title and status of a game: on lines +2 and +3 when line +2 holds the title (a host that writes an icon).
// Without one ("Icon=" is left out for icon 0), and with newer hosts that write "Title=" far down, the keys are
// looked for before the first subsection instead; a key not found there stays on its fixed line.
class TitleKeys {
public:
    TitleKeys(std::string_view titleLine, std::string_view stateLine) : titleLine_(titleLine), stateLine_(stateLine) {}
    bool searched() const { return !beginsWith(titleLine_, "Title="); }
    static bool endsAt(std::string_view line) { return line.front() == '['; }
    void read(std::string_view line)
    {
        if (!titleFound_ && beginsWith(line, "Title=")) {
            titleLine_ = line;
            titleFound_ = true;
        } else if (!stateFound_ && beginsWith(line, "State=")) {
            stateLine_ = line;
            stateFound_ = true;
        }
    }
    void finish(GameRecord& entry, bool tagparse) const
    {
        entry.Title = cleanValue(valueOf(titleLine_), tagparse, entry.TitleSpans);
        entry.Status = statusText(valueOf(stateLine_));
    }

private:
    std::string_view titleLine_, stateLine_;
    bool titleFound_ = false, stateFound_ = false;
};

// The keys of a game, up to the next line that begins with "[Reference]", through its subsections; the last
// occurrence wins.
class GameKeys {
public:
    explicit GameKeys(bool tagparse) : tagparse_(tagparse) {}
    void begin(GameRecord& entry)
    {
        entry_ = &entry;
        addressCountMet_ = false;
        uncountedAddresses_.clear();
        lastAddress_ = {};
    }
    static bool endsAt(std::string_view line) { return line.size() >= 11 && beginsWith(line, "[Reference]"); }
    void read(std::string_view line)
    {
        GameRecord& entry = *entry_;
        std::string_view value;
        switch (line.front()) {
        case 'M':
            if (keyValue(line, "MaxPlayers=", value)) entry.MaxPlayers = strToInt(value);
            break;
        case 'C':
            if (keyValue(line, "ControlRate=", value)) {
                entry.ControlRate = SharedText(value);
            } else if (keyValue(line, "Comment=", value)) {
                entry.Comment = cleanValue(value, tagparse_, entry.CommentSpans);
            }
            break;
        case 'A':
            if (keyValue(line, "AddressCount=", value)) {
                entry.AddressCount = strToInt(value);
                addressCountMet_ = true;
            } else if (keyValue(line, "Address=", value)) {
                entry.Address = cleanValue(value, tagparse_);
                lastAddress_ = value;
                if (addressCountMet_) {
                    parseHosts(entry);
                } else if (uncountedAddresses_.size() < kMaxIPs) {
                    uncountedAddresses_.push_back(value);
                }
            }
            break;
        case 'V':
            if (keyValue(line, "Version=", value)) entry.Version = SharedText(value);
            break;
        case 'G':
            if (keyValue(line, "Game=", value)) entry.Game = sharedValue(value, tagparse_);
            break;
        case 'P':
            if (keyValue(line, "PasswordNeeded=", value))
                entry.PasswordNeeded = strToBool(cleanNumber(value, tagparse_, decoded_));
            break;
        case 'O':
            if (keyValue(line, "OfficialServer=", value))
                entry.OfficialServer = strToBool(cleanNumber(value, tagparse_, decoded_));
            break;
        case 'L':
            if (keyValue(line, "League=", value)) entry.League = sharedValue(value, tagparse_);
            break;
        case 'S':
            // Kept raw: it only tells this game from a later one of the same host and title.
            if (keyValue(line, "StartTime=", value)) entry.StartTime = std::string(value);
            break;
        default:
            break;
        }
    }
    void finish()
    {
        // Newer hosts write no "AddressCount=": then every entry of each "Address=" line counts. Which case holds is
        // known only now, so until a count is met the address lines wait (no more of them than could each still
        // give a host). With a count that came too late they give nothing, as they would have when read.
        if (addressCountMet_) return;
        for (const std::string_view address : uncountedAddresses_) {
            // The last address line's clean value stands in Address already.
            const bool last = address.data() == lastAddress_.data() && address.size() == lastAddress_.size();
            appendHosts(last ? entry_->Address : cleanValue(address, tagparse_), std::nullopt, entry_->IPs);
        }
    }

private:
    bool tagparse_;
    GameRecord* entry_ = nullptr;
    bool addressCountMet_ = false;
    std::vector<std::string_view> uncountedAddresses_; // their raw values: the views point into the reply
    std::string_view lastAddress_;
    std::string decoded_; // a truth value that needed decoding
};

// The keys of one resource. The section has no end of its own: they count up to the next "[Resource]" or
// "[PlayerInfos]", across any other header, so each line is read for at most one resource. Past the limit of
// resources the keys are still read, so a bad number there drops the game as anywhere else.
class ResourceKeys {
public:
    ResourceKeys(Resource* resource, bool tagparse)
        : resource_(resource ? resource : &beyondLimit_), tagparse_(tagparse)
    {
        // The game writes "Loadable=" only for a resource that cannot be loaded.
        resource_->Loadable = true;
    }
    ResourceKeys(const ResourceKeys&) = delete; // resource_ may point at beyondLimit_
    ResourceKeys& operator=(const ResourceKeys&) = delete;
    static bool endsAt(std::string_view line) { return line == "[Resource]" || line == "[PlayerInfos]"; }
    void read(std::string_view line)
    {
        Resource& resource = *resource_;
        std::string_view value;
        switch (line.front()) {
        case 'T':
            if (keyValue(line, "Type=", value)) resource.Type = sharedValue(value, tagparse_);
            break;
        case 'F':
            if (keyValue(line, "Filename=", value)) {
                resource.Filename = sharedValue(value, tagparse_);
            } else if (keyValue(line, "FileSize=", value)) {
                resource.FileSize = strToInt(cleanNumber(value, tagparse_, decoded_));
            }
            break;
        case 'A':
            if (keyValue(line, "Author=", value)) resource.Author = sharedValue(value, tagparse_);
            break;
        case 'L':
            if (keyValue(line, "Loadable=", value))
                resource.Loadable = strToBool(cleanNumber(value, tagparse_, decoded_));
            break;
        default:
            break;
        }
    }

private:
    Resource beyondLimit_;
    Resource* resource_;
    bool tagparse_;
    std::string decoded_; // a number or truth value that needed decoding
};

// A player whose lines are moved (a "ForcedName=" line after a name clash, or a computer player without a file):
// its name still stands first, the rest is found by its key among the player's own lines, up to the next line that
// begins with "[", never with an error.
class MovedPlayerKeys {
public:
    explicit MovedPlayerKeys(Player& player) : player_(&player) {}
    static bool endsAt(std::string_view line) { return line.front() == '['; }
    void read(std::string_view line)
    {
        // The first line with each key counts.
        if (beginsWith(line, "Filename=")) {
            if (filename_.empty()) filename_ = line;
        } else if (beginsWith(line, "Flags=")) {
            if (flags_.empty()) flags_ = line;
        } else if (beginsWith(line, "ID=")) {
            if (id_.empty()) id_ = line;
        }
    }
    void finish(bool tagparse, const TextList& aliases) const
    {
        player_->Filename = cleanValue(valueOf(filename_), tagparse);
        applyAlias(player_->Filename, aliases);
        player_->Flags = flags_.empty() ? noFlagsText() : sharedAliased(valueOf(flags_), tagparse, aliases);
        player_->ID = lenientInt(valueOf(id_));
    }

private:
    Player* player_;
    std::string_view filename_, flags_, id_; // the lines found, empty while none is
};

// The lines of a reply one at a time, cut as splitReplyLines cuts them, with a few lines of look-ahead for the
// steps that read fixed lines after their header. Lines are cut in batches, apart from the work on them, into a
// window that keeps the few not yet passed when the next batch comes.
class LineCursor {
public:
    LineCursor(std::string_view text, std::size_t offset, std::size_t index)
        : cutter_(text, offset), windowIndex_(index)
    {
    }
    bool valid() { return current_ < filled_ || fill(1); }
    std::string_view current() const { return window_[current_]; }
    std::size_t index() const { return windowIndex_ + current_; }
    // The line `distance` lines after the current one; past the end an empty line.
    std::string_view ahead(std::size_t distance)
    {
        if (current_ + distance < filled_) return window_[current_ + distance];
        return fill(distance + 1) ? window_[current_ + distance] : std::string_view();
    }
    void advance() { ++current_; }

private:
    // Far more than the furthest look-ahead (a client's line +5), so that lines are cut in long runs.
    static constexpr std::size_t kWindow = 256;

    // Makes `count` lines from the current one on stand in the window, if the reply has them. Seldom needed: kept
    // apart from the look-ups that can do without it.
    [[gnu::noinline]] bool fill(std::size_t count)
    {
        std::copy(window_.begin() + static_cast<std::ptrdiff_t>(current_),
                  window_.begin() + static_cast<std::ptrdiff_t>(filled_), window_.begin());
        filled_ -= current_;
        windowIndex_ += current_;
        current_ = 0;
        filled_ += cutter_.cut(window_.data() + filled_, kWindow - filled_);
        return filled_ >= count;
    }

    ReplyLineCutter cutter_;
    std::size_t windowIndex_; // the index in the reply of the window's first line
    std::array<std::string_view, kWindow> window_{};
    std::size_t current_ = 0, filled_ = 0;
};

// The headers the reader has a step for.
enum class Header { Other, ClonkRage, Client, Resource, Reference, Player, PlayerInfos };

// The header a line that begins with "[" is; by its length first, as most such lines are not one.
Header headerOf(std::string_view line)
{
    switch (line.size()) {
    case 8:
        return line == "[Client]" ? Header::Client : line == "[Player]" ? Header::Player : Header::Other;
    case 10:
        return line == "[Resource]" ? Header::Resource : Header::Other;
    case 11:
        return line == "[Reference]" ? Header::Reference : Header::Other;
    case 12:
        return line == "[Clonk Rage]" ? Header::ClonkRage : Header::Other;
    case 13:
        return line == "[PlayerInfos]" ? Header::PlayerInfos : Header::Other;
    default:
        return Header::Other;
    }
}

// For each pair of first characters (their low six bits), the scans that have a key beginning with them, and whether
// the line may be a header: most lines begin with a pair no open scan has a key for, and are passed over with one
// look-up.
constexpr unsigned kGameScan = 1, kTitleScan = 2, kResourceScan = 4, kMovedPlayerScan = 8, kHeaderLine = 16;
constexpr std::string_view kGameKeyNames[] = {"MaxPlayers",     "ControlRate", "Comment",  "AddressCount",
                                              "Address",        "Version",     "Game",     "PasswordNeeded",
                                              "OfficialServer", "League",      "StartTime"};
constexpr std::string_view kTitleKeyNames[] = {"Title", "State"};
constexpr std::string_view kResourceKeyNames[] = {"Type", "Filename", "FileSize", "Author", "Loadable"};
constexpr std::string_view kMovedPlayerKeyNames[] = {"Filename", "Flags", "ID"};

constexpr std::size_t keyStart(char first, char second)
{
    return (static_cast<std::size_t>(static_cast<unsigned char>(first) & 63) << 6) |
           (static_cast<unsigned char>(second) & 63);
}

using KeyStarts = std::array<unsigned char, 64 * 64>;
constexpr KeyStarts makeKeyStarts()
{
    KeyStarts starts{};
    const auto mark = [&starts](const auto& names, unsigned scan) {
        for (const std::string_view name : names)
            starts[keyStart(name[0], name[1])] |= static_cast<unsigned char>(scan);
    };
    mark(kGameKeyNames, kGameScan);
    mark(kTitleKeyNames, kTitleScan);
    mark(kResourceKeyNames, kResourceScan);
    mark(kMovedPlayerKeyNames, kMovedPlayerScan);
    for (std::size_t second = 0; second < 64; ++second)
        starts[keyStart('[', 0) | second] |= kHeaderLine;
    return starts;
}
constexpr KeyStarts kKeyStarts = makeKeyStarts();

// Runs `step`; false when a value in it did not convert. Steps that call no callback only: an error a callback
// throws is not the reply's.
template <typename Step> bool converted(Step step)
{
    try {
        step();
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

} // namespace

// One pass over the lines of a reply: every line is cut and visited once, and the look-ahead scans that the
// stepwise reader runs at their headers are kept open while the pass feeds them the lines that follow. That gives
// the stepwise reader's results for every game that holds nothing unusual. At anything else the pass undoes the
// game it is in and names the line from which the stepwise reader takes over: a value that does not convert (the
// stepwise order of the steps decides which error counts), a "[Clonk Rage]" inside a game (its callback would see
// a game not yet complete), a resource whose keys read on into the next game, a section of a game from an earlier
// reply.
class ReferenceReader::SinglePass {
public:
    SinglePass(ReferenceReader& reader, std::string_view text, std::size_t offset, std::size_t index)
        : reader_(reader), lines_(text, offset, index), gameKeys_(reader.tagparse_)
    {
    }

    // Reads to the end of the text, or gives the index of the line the stepwise reader has to go on from.
    std::optional<std::size_t> run()
    {
        for (; lines_.valid(); lines_.advance()) {
            const std::string_view line = lines_.current();
            // The first two characters, without a branch: an empty line points at NULs, and a line of one character
            // reads its first twice and drops the second.
            const char* const text = line.data();
            const bool two = line.size() > 1;
            const char second = static_cast<char>(text[two] & (two ? 0xFF : 0));
            const unsigned wanted = kKeyStarts[keyStart(text[0], second)] & open_;
            if (!wanted) continue;
            if (text[0] == '[') {
                if (!readBracketLine(line)) return takeOver();
                open_ = openScans();
            } else if (inGame_ && (wanted & ~kHeaderLine) && !converted([&] { readKeys(line, wanted); })) {
                return takeOver();
            }
        }
        closeScans(); // the end of the reply ends every scan
        return std::nullopt;
    }

private:
    bool readBracketLine(std::string_view line)
    {
        const Header header = headerOf(line);
        // The scans that end at this line end before its step runs.
        if (title_) closeTitle();             // at any line that begins with "["
        if (movedPlayer_) closeMovedPlayer(); // likewise
        if (gameKeysOpen_ && GameKeys::endsAt(line)) closeGameKeys();
        if (resource_ && (header == Header::Resource || header == Header::PlayerInfos)) resource_.reset();

        const auto lineAt = [this](std::size_t distance) { return lines_.ahead(distance); };
        switch (header) {
        case Header::Reference:
            if (resource_) return false;
            inGame_ = false;
            reader_.complete();
            beginGame();
            return true;
        case Header::ClonkRage:
            if (inGame_) return false;
            reader_.readVersion(lineAt);
            return true;
        case Header::Client:
        case Header::Resource:
        case Header::Player:
            if (!reader_.pending_) return true; // before the first game: no record to count for
            if (!inGame_) return false;
            if (header == Header::Client) {
                reader_.countClient(lineAt);
            } else if (header == Header::Resource) {
                resource_.emplace(reader_.beginResource(), reader_.tagparse_);
            } else {
                return converted([&] {
                    if (Player* moved = reader_.countPlayer(lineAt)) movedPlayer_.emplace(*moved);
                });
            }
            return true;
        default:
            return true;
        }
    }

    // The look-up's bits of the lines that may be a header or a key of an open scan.
    unsigned openScans() const
    {
        return kHeaderLine | (gameKeysOpen_ ? kGameScan : 0u) | (title_ ? kTitleScan : 0u) |
               (resource_ ? kResourceScan : 0u) | (movedPlayer_ ? kMovedPlayerScan : 0u);
    }

    // Offers the line to the open scans that have a key beginning as it does (`wanted`).
    void readKeys(std::string_view line, unsigned wanted)
    {
        if (wanted & kGameScan) gameKeys_.read(line);
        if (wanted & kTitleScan) title_->read(line);
        if (wanted & kResourceScan) resource_->read(line);
        if (wanted & kMovedPlayerScan) movedPlayer_->read(line);
    }

    void beginGame()
    {
        GameRecord& entry = reader_.beginGame();
        inGame_ = true;
        gameHeader_ = lines_.index();
        title_.emplace(lines_.ahead(2), lines_.ahead(3));
        if (!title_->searched()) closeTitle();
        gameKeys_.begin(entry);
        gameKeysOpen_ = true;
    }

    void closeTitle()
    {
        title_->finish(*reader_.pending_, reader_.tagparse_);
        title_.reset();
    }

    void closeMovedPlayer()
    {
        movedPlayer_->finish(reader_.tagparse_, reader_.aliases_);
        movedPlayer_.reset();
    }

    void closeGameKeys()
    {
        gameKeys_.finish();
        gameKeysOpen_ = false;
    }

    void closeScans()
    {
        if (title_) closeTitle();
        if (movedPlayer_) closeMovedPlayer();
        if (gameKeysOpen_) closeGameKeys();
        resource_.reset();
        inGame_ = false;
    }

    std::size_t takeOver()
    {
        if (!inGame_) return lines_.index(); // nothing read yet that the stepwise reader would read again
        // Back to how things stood at the game's header, after the game before it was completed.
        reader_.dropPending();
        reader_.hostOpen_ = false;
        reader_.counters_ = reader_.countersBeforePending_;
        return gameHeader_;
    }

    ReferenceReader& reader_;
    LineCursor lines_;
    bool inGame_ = false; // a game of this pass is pending, its scans maybe still open
    std::size_t gameHeader_ = 0;
    std::optional<TitleKeys> title_;
    GameKeys gameKeys_;
    bool gameKeysOpen_ = false;
    std::optional<ResourceKeys> resource_;
    std::optional<MovedPlayerKeys> movedPlayer_;
    unsigned open_ = kHeaderLine; // openScans(), kept up to date at every header
};

ReferenceReader::ReferenceReader(bool tagparse, const TextList& aliases, Callbacks callbacks)
    : tagparse_(tagparse), aliases_(aliases), callbacks_(std::move(callbacks))
{
}

void ReferenceReader::read(std::string_view reply, std::string_view server)
{
    if (abandoned_) return;
    server_ = SharedText(server);
    try {
        // The reply ends at its first NUL: its lines are cut so.
        if (stepwiseOnly_) {
            splitReplyLines(reply, lines_);
            readStepwise(0, false);
        } else {
            readInOnePass(reply);
        }
    } catch (...) {
        abandoned_ = true;
        dropPending();
        lines_.clear();
        throw;
    }
    lines_.clear(); // the views point into the caller's reply
}

void ReferenceReader::readInOnePass(std::string_view text)
{
    std::size_t offset = 0, index = 0;
    bool split = false;
    for (;;) {
        const std::optional<std::size_t> takeOver = SinglePass(*this, text, offset, index).run();
        if (!takeOver) return;
        // The stepwise reader reads the game the pass gave up on, then the pass goes on from the next game's
        // header; the lines are cut once per reply, at the first such game.
        if (!split) splitReplyLines(text, lines_);
        split = true;
        index = readStepwise(*takeOver, true);
        if (index >= lines_.size()) return;
        offset = static_cast<std::size_t>(lines_[index].data() - text.data());
    }
}

void ReferenceReader::finish()
{
    if (abandoned_) return;
    try {
        complete();
    } catch (...) {
        abandoned_ = true;
        dropPending(); // what the callback left of the record
        throw;
    }
}

void ReferenceReader::complete()
{
    if (!pending_) return;
    GameRecord& entry = *pending_;
    entry.Players.assign(std::make_move_iterator(pendingPlayers_.begin()),
                         std::make_move_iterator(pendingPlayers_.end()));
    entry.Resources.assign(std::make_move_iterator(pendingResources_.begin()),
                           std::make_move_iterator(pendingResources_.end()));
    hostOpen_ = false;
    // The callback takes the record over as it stands, without a copy; the parse state lets go of what is left
    // afterwards, or when the callback throws (read() and finish() drop the pending record then).
    if (callbacks_.completed) callbacks_.completed(std::move(entry));
    dropPending();
}

void ReferenceReader::dropPending()
{
    pending_.reset();
    pendingPlayers_.clear();
    pendingResources_.clear();
}

GameRecord& ReferenceReader::beginGame()
{
    countersBeforePending_ = counters_;
    GameRecord& entry = pending_.emplace();
    entry.Server = server_;
    hostOpen_ = true;
    ++counters_.references;
    return entry;
}

Resource* ReferenceReader::beginResource()
{
    return pendingResources_.size() < kMaxResources ? &pendingResources_.emplace_back() : nullptr;
}

template <typename LineAt> void ReferenceReader::readVersion(LineAt lineAt)
{
    version_ = std::string(valueOf(lineAt(1)));
    if (callbacks_.version) callbacks_.version(*version_);
}

template <typename LineAt> void ReferenceReader::countClient(LineAt lineAt)
{
    // Clients before the first game have no record to count for.
    if (!pending_ || !beginsWith(lineAt(2), "Activated")) return;
    GameRecord& entry = *pending_;

    // An observing host (the official server's) writes "Observer=" before its name, which moves the name and the
    // user ID one line down.
    const std::size_t nameLine = beginsWith(lineAt(3), "Observer=") ? 4 : 3;
    if (!containsUserId(lineAt(nameLine + 1))) {
        ++entry.Emptys;
        ++counters_.emptys;
    }
    ++entry.Clients;
    ++counters_.clients;
    if (hostOpen_) {
        hostOpen_ = false;
        entry.Hoster = cleanValue(valueOf(lineAt(nameLine)), tagparse_, entry.HosterSpans);
    }
}

template <typename LineAt> Player* ReferenceReader::countPlayer(LineAt lineAt)
{
    // Players before the first game have no record to belong to.
    if (!pending_) return nullptr;
    ++counters_.players;
    ++pending_->PlayerCount;
    const bool kept = pendingPlayers_.size() < kMaxPlayers;

    if (!beginsWith(lineAt(2), "Filename=")) {
        if (!kept) return nullptr;
        Player& player = pendingPlayers_.emplace_back();
        player.Name = cleanValue(valueOf(lineAt(1)), tagparse_, player.NameSpans);
        applyAlias(player.Name, aliases_, &player.NameSpans);
        return &player;
    }
    // The layout every host writes for a player with a file: name, file name, then the ID or the flags.
    std::string_view id;
    const bool idOnThirdLine = keyValue(lineAt(3), "ID=", id);
    // Converted even past the limit: a bad ID drops the game wherever it stands.
    const std::int32_t idValue = idOnThirdLine ? strToInt(id) : lenientInt(valueOf(lineAt(4)));
    if (!kept) return nullptr;
    Player& player = pendingPlayers_.emplace_back();
    player.Name = cleanValue(valueOf(lineAt(1)), tagparse_, player.NameSpans);
    applyAlias(player.Name, aliases_, &player.NameSpans);
    player.Filename = cleanValue(valueOf(lineAt(2)), tagparse_);
    applyAlias(player.Filename, aliases_);
    player.Flags = idOnThirdLine ? noFlagsText() : sharedAliased(valueOf(lineAt(3)), tagparse_, aliases_);
    player.ID = idValue;
    return nullptr;
}

std::size_t ReferenceReader::readStepwise(std::size_t first, bool untilNextGame)
{
    for (std::size_t i = first; i < lines_.size(); ++i) {
        const std::string_view current = lines_[i];
        // Headers are whole lines; most lines are keys and are passed over on their first character.
        if (current.empty() || current.front() != '[') continue;
        const auto lineAt = [this, i](std::size_t distance) { return line(i + distance); };
        switch (headerOf(current)) {
        case Header::ClonkRage:
            readVersion(lineAt);
            break;
        case Header::Client:
            countClient(lineAt);
            break;
        case Header::Resource:
            guarded(&ReferenceReader::readResource, i);
            break;
        case Header::Reference:
            if (untilNextGame && i > first) return i;
            complete();
            guarded(&ReferenceReader::readReference, i);
            break;
        case Header::Player:
            guarded(&ReferenceReader::readPlayer, i);
            break;
        default:
            break;
        }
    }
    return lines_.size();
}

std::string_view ReferenceReader::line(std::size_t index) const
{
    return index < lines_.size() ? lines_[index] : std::string_view();
}

template <typename Keys> void ReferenceReader::scanKeys(std::size_t header, Keys& keys) const
{
    for (std::size_t j = header + 1; j < lines_.size() && !(!lines_[j].empty() && Keys::endsAt(lines_[j])); ++j) {
        if (!lines_[j].empty()) keys.read(lines_[j]);
    }
}

void ReferenceReader::guarded(void (ReferenceReader::*step)(std::size_t), std::size_t header)
{
    try {
        (this->*step)(header);
    } catch (const ConversionError& error) {
        skipPending(error.what());
    }
}

void ReferenceReader::skipPending(const std::string& message)
{
    // Only a pending game's steps convert numbers, so there always is one here. Its remaining sections find no
    // record and count nowhere, up to the next "[Reference]".
    const std::string title = pending_ ? std::move(pending_->Title) : std::string();
    dropPending();
    hostOpen_ = false;
    counters_ = countersBeforePending_;
    if (callbacks_.skipped) callbacks_.skipped(title, message);
}

void ReferenceReader::readResource(std::size_t header)
{
    if (!pending_) return;
    ResourceKeys keys(beginResource(), tagparse_);
    scanKeys(header, keys);
}

void ReferenceReader::readReference(std::size_t header)
{
    GameRecord& entry = beginGame();
    // Title first, so that a game dropped for a bad value can still be named.
    TitleKeys title(line(header + 2), line(header + 3));
    if (title.searched()) scanKeys(header, title);
    title.finish(entry, tagparse_);

    GameKeys keys(tagparse_);
    keys.begin(entry);
    scanKeys(header, keys);
    keys.finish();
}

void ReferenceReader::readPlayer(std::size_t header)
{
    Player* moved = countPlayer([this, header](std::size_t distance) { return line(header + distance); });
    if (!moved) return;
    MovedPlayerKeys keys(*moved);
    scanKeys(header, keys);
    keys.finish(tagparse_, aliases_);
}

} // namespace quintor
