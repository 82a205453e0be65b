#include "settings/storedlines.h"

namespace quintor {

void appendLogEntry(TextList& logLines, std::string_view entry)
{
    logLines.add(oneLine(entry));
    keepNewestLogEntries(logLines);
}

void keepNewestLogEntries(TextList& logLines)
{
    const int excess = logLines.count() - kMaxLogEntries;
    if (excess > 0) logLines.removeFirst(excess);
}

std::string aliasLine(std::string_view text, std::string_view alias)
{
    return oneLine(text) + "=" + oneLine(alias);
}

} // namespace quintor
