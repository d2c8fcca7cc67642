#pragma once
// Texts of values as the colour model and the legend show them. These follow the
// engine's number clean-up and grouping so that texts written to a model file read
// back to the same values.
#include <cstdint>
#include <string>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm {

constexpr const char* kEmptyValueText = "(empty)";

// Puts "," between every three digits of the integer part; a sign stays in front.
std::string groupDigits(const std::string& text, char decimalSeparator);
// The engine's clean-up of a number text for a NumberFormatClass (only the decimal
// point survives, as the locale separator; trailing zeros go).
std::string normaliseNumberText(std::string text, int32_t formatClass, char decimalSeparator);
std::string integerValueText(int64_t value, bool group);
std::string realValueText(float value, char decimalSeparator, bool group);
std::string timeEntryText(const TimeEntry& entry, const platform::RegionalSettings& regional);
// Text of category `index` of a field's distinct-value list; "(empty)" for the empty
// value and for an index outside the list.
std::string categoryText(const DataTable& table, const DataField& field, int32_t index,
                         const platform::RegionalSettings& regional);
inline const char* booleanText(bool value) { return value ? "TRUE" : "FALSE"; }

}  // namespace vlm
