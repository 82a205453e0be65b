// The clean-up that reply values get on their way to the screen: quotes, escapes, tags, aliases.
#pragma once

#include "reference/gameentry.h"
#include "settings/textlist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// Removes one leading and one trailing quote (" or '), decodes the backslash escapes and blanks the control
// characters (see escapes.h) and, when `tagparse` is on, strips tags. Never fails; takes any bytes.
std::string decodeValue(std::string_view text, bool tagparse);

// With `tagparse` on, repeatedly removes the text from the first "<" to the first ">" while that ">" comes after
// that "<"; with it off, returns the text unchanged.
std::string stripTags(std::string_view text, bool tagparse);

// stripTags with tag stripping on, which also gives in `spans` (replaced) the runs of the result that the game's
// markup colours or sets in italics: "<c RRGGBB>" (six hex digits, either letter case) begins a colour, "</c>"
// ends the innermost one; "<i>" and "</i>" do the same for italics, and a colour nested in another wins while it
// lasts. A run still open at the end ends with the text. Every other tag, a closing tag with no opener and a "<c "
// without six hex digits colour nothing; all of them are removed exactly as stripTags removes them.
std::string stripTagsWithSpans(std::string_view text, TextSpans& spans);

// decodeValue that also gives the markup's runs of the result (see stripTagsWithSpans); none with `tagparse` off.
std::string decodeValueWithSpans(std::string_view text, bool tagparse, TextSpans& spans);

// The runs of `spans` that fall into the first `limit` characters of their text, cut there and moved `offset`
// characters on: the runs of a text cut short and shown after a prefix.
TextSpans spansWithin(const TextSpans& spans, std::size_t limit, std::size_t offset = 0);

// The decimal form of `digits` read as octal: value = value * 8 + (code - '0') for every character, so 8 and 9
// count as 8 and 9 and other characters give their distance from '0'. Computed in 64-bit two's complement
// (wrapping on texts far longer than any escape code).
std::string octtodec(std::string_view digits);

// The alias of `text`: the value of the first line of `aliases` that begins with `text` (exact prefix test), or
// `text` itself. An empty text stays empty.
std::string aliasFor(std::string_view text, const TextList& aliases);

// The index of the line of `aliases` that gives the alias of `text`, or -1 when none does (aliasFor's lookup alone).
int aliasLineIndex(std::string_view text, const TextList& aliases);

// "Running" -> "Laufend", "Paused" -> "Pause"; anything else unchanged.
std::string statusText(std::string_view status);

// "Ja" / "Nein".
std::string yesNoText(bool flag);
// A game's fixed value ("Laufend", "Pause", "Lobby", "Kein Kommentar", "Keine") in the language shown; any
// other text as it is.
const std::string& shownFixedValue(const std::string& value);
// The fixed value that the language shown writes as `text` (letter case aside) while filters compare the German
// one: "Laufend" for "running" in English. None for any other text, and always none in German.
std::optional<std::string> fixedValueShownAs(std::string_view text);

// Most host parts one record keeps. A hostile reply could otherwise make a single short "Address=" line append
// billions of empty elements (the count is only bounded by 32 bits).
inline constexpr std::size_t kMaxIPs = 64;

// Appends the hosts of Address to IPs. The list is cut at every ","; for each of the first AddressCount entries
// (all of them when `addressCountGiven` is false, as for newer hosts that write no "AddressCount="; an entry past
// the end counts as empty): everything up to and including its first ":" and every '"' are dropped, then the host
// is the text between "[" and "]" when it begins with "[", otherwise the text before its last ":" (the whole text
// without one). So A:B:C,D:E:F with a count of 2 gives B and E, and TCP:"[2001:db8::5]:11112" gives 2001:db8::5.
// Stops appending once IPs holds kMaxIPs elements.
void parseHosts(GameRecord& entry, bool addressCountGiven = true);

// parseHosts's work on a plain address list: appends the hosts of its first `count` entries to `ips` (all of them
// when `count` is empty), up to kMaxIPs elements in `ips`.
void appendHosts(std::string_view address, std::optional<std::int32_t> count, HostList& ips);

// The setting "tagparse": empty or missing is off, anything else goes through strToBool (ConversionError).
bool tagparseSetting(const TextList& config);

} // namespace quintor
