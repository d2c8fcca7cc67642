#pragma once
// Recognising dates and times written in any of the fifteen languages.
#include <cstdint>
#include <string_view>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm {

// Date order states: which number of a date comes first.
constexpr int32_t kDateMonthFirst = 1;
constexpr int32_t kDateDayFirst = 2;
constexpr int32_t kDateYearFirst = 3;

// Parses text as a date, a time or both, starting from a field's date order
// state (0 counts as month first) and its date component maxima. Returns 0
// when the text is no date or time, else the state that the text implies;
// entry then holds the parts found (parts not found are 0).
//
// The maxima are raised by the first three date tokens' numbers and must fit
// the resulting order; they are written back only when the text is accepted,
// so a rejected cell cannot make the field's later dates fail. A text in
// which no date or time part is recognised at all (a word that merely
// contains a month abbreviation, such as "summary") is no date.
int32_t parseDateTimeText(std::string_view text, int32_t state, int32_t (&maxima)[3], int32_t centuryBase,
                          TimeEntry& entry);

// The same, always by the general reading of every token (parseDateTimeText
// reads the commonest shapes more directly, to the same result).
int32_t parseDateTimeWalk(std::string_view text, int32_t state, int32_t (&maxima)[3], int32_t centuryBase,
                          TimeEntry& entry);

// True for "YYYY-MM-DD" shapes: four digits, '-', two digits, '-', two digits.
bool hasIsoDateShape(std::string_view text);

// The same as parseDateTimeText with the field's state and maxima.
int32_t parseDateTime(std::string_view text, DataField& field, const platform::RegionalSettings& regional,
                      TimeEntry& entry);

}  // namespace vlm
