#pragma once
// Printing date/time entries for display.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm {

// The display text of an entry in the regional date order: "Jan 5-2003"
// (month first), "5-Jan-2003" (day first), "2003-Jan-5" (year first); a date
// without a year as month-day (day-month for day first), one without a day
// as "Jan 2003" ("2003 Jan" for year first). A month outside 1..12 prints
// as its number. A time follows as "13:45:10" with the regional time
// separator and, when there are milliseconds, the regional decimal separator
// and the fraction without trailing zeros ("13:45:10,5"). Every component 0 gives
// the empty text.
std::string timeText(const TimeEntry& entry, const platform::RegionalSettings& regional);

// The text of a time table entry into the caller's buffer (cut at a character
// boundary to size - 1 bytes); an index outside the table gives the empty
// text. Returns the length written.
size_t timeTextAt(const TimeTable& table, int32_t index, const platform::RegionalSettings& regional, char* dst,
                  size_t size);

}  // namespace vlm
