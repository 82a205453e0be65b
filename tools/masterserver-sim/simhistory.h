// A made-up activity history for the demo and the tests: what "history.txt" would hold after the
// program had watched a lively league for some days.
#pragma once

#include "history/hourtotals.h"

#include <cstdint>
#include <vector>

namespace quintor::sim {

// `days` days of hours, oldest first, ending with the hour `lastHour` (see hourNumber). Evenings
// and weekends are busiest, nights quiet; now and then an hour is missing or only partly watched,
// as when the program was not running. The same seed and hours give the same history.
std::vector<HourEntry> simulatedHistory(std::uint32_t seed, int days, std::int64_t lastHour);

} // namespace quintor::sim
