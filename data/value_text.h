#pragma once
// Stored values as display text: cells, distinct values, field ranges and
// scene labels. Every function writes into the caller's buffer (size bytes
// with the terminating zero; the API's buffers hold 1024), cutting long texts
// at a UTF-8 character boundary.
#include <cstddef>
#include <cstdint>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm {

// The text of a cell: "%i" for integers, the normalised "%f" for reals (both
// grouped when `group` is set), the pool text for texts and sizes, the time
// text for dates, "TRUE"/"FALSE" for two-valued fields. Returns 1; 0 with the
// empty text for field -1 or a field without cells, and 0 with "N/A" for a
// cell without a value or a type without values.
int valueText(const DataTable& table, int32_t field, int32_t sample, char* dst, size_t size, bool group,
              const platform::RegionalSettings& regional);

// The text of entry `entry` of the field's distinct-value list: "(empty)" for
// the empty value. Returns 1; 0 for an entry outside the list or a text or
// date index that names nothing.
int distinctValueText(const DataTable& table, int32_t field, int32_t entry, char* dst, size_t size,
                      const platform::RegionalSettings& regional);

// The field's range as text for which = 1 min, 2 max, 3 selector low,
// 4 selector high. Numbers print their value and return 1; text and date
// fields print the first, last or selector-indexed distinct value and return
// its text index (1 for dates and for "(empty)"); two-valued fields print
// nothing and return 1. A field without its valid flag, or of another type,
// gives "N/A" and 0.
int fieldRangeText(const DataTable& table, int32_t field, int32_t which, char* dst, size_t size,
                   const platform::RegionalSettings& regional);

// The text of a value drawn as a label in the scene: integers and sizes as the
// truncated "%i", reals as the normalised "%f", both grouped; texts and dates
// as the distinct value that the value indexes, else "(empty)";
// "TRUE"/"FALSE" for two-valued fields. Returns 1, or 0 with "N/A" for other
// types and fields outside the table.
int labelText(const DataTable& table, int32_t field, float value, char* dst, size_t size,
              const platform::RegionalSettings& regional);

}  // namespace vlm
