#include "settings/storedlines.h"

namespace quintor {

void appendLogEntry(TextList& loglines, std::string_view entry)
{
    loglines.Add(oneLine(entry));
    keepNewestLogEntries(loglines);
}

void keepNewestLogEntries(TextList& loglines)
{
    const int excess = loglines.Count() - kMaxLogEntries;
    if (excess > 0) loglines.DeleteFirst(excess);
}

std::string aliasLine(std::string_view text, std::string_view alias)
{
    return oneLine(text) + "=" + oneLine(alias);
}

} // namespace quintor
