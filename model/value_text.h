#pragma once
// Texts of values as the colour model and the legend show them. These follow the
// engine's number texts and grouping so that texts written to a model file read
// back to the same values.
#include <cstdint>
#include <string>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm {

constexpr const char* kEmptyValueText = "(empty)";

// Number texts as the data layer writes them (data/number_text.h): the
// shortest text of the value, with the regional decimal separator, grouped
// in threes with the other mark ("1,234.5", or "1.234,5" where ',' is the
// decimal separator) so the text always reads back as the same value.
std::string integerValueText(int64_t value, bool group, const platform::RegionalSettings& regional);
std::string realValueText(float value, bool group, const platform::RegionalSettings& regional);
std::string timeEntryText(const TimeEntry& entry, const platform::RegionalSettings& regional);
// Text of category `index` of a field's distinct-value list; "(empty)" for the empty
// value and for an index outside the list.
std::string categoryText(const DataTable& table, const DataField& field, int32_t index,
                         const platform::RegionalSettings& regional);
inline const char* booleanText(bool value) { return value ? "TRUE" : "FALSE"; }

}  // namespace vlm
