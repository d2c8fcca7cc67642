#pragma once
// Number texts: normalising the separators of a read or printed number,
// grouping digits for display, and the printed forms of stored values.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm {

// Rewrites a number text so that its decimal point (the later of '.' and ','
// when both occur; a lone kind only for the classes 1 and 3) becomes the
// regional decimal separator and every other '.' and ',' is dropped; a
// fraction loses its trailing zeros and blanks, and a fraction of just "0"
// disappears. A '%' ends the number and is put back after it.
void normaliseNumberText(std::string& text, NumberFormatClass numberClass, const platform::RegionalSettings& regional);

// Groups the integer part in threes, leftwards from the regional decimal
// separator (or the end): with ',' between the groups, or '.' where ',' is
// the decimal separator. A leading sign stays in front of the first group.
void groupDigits(std::string& text, const platform::RegionalSettings& regional);

// "%i" of an integer.
std::string integerText(int64_t value);

// The shortest text that reads back as the same float, normalised as a class
// 1 number text and printed with the regional decimal separator: 2.5 -> "2.5",
// 2 -> "2", 100.1f -> "100.1". Values below 1e-4 or from 2^24 on, where a
// float holds no longer every whole number, print in scientific notation
// ("1e-07", "1.2345679e+14").
std::string realText(float value, const platform::RegionalSettings& regional);

// Reads a number text as written with the regional decimal separator (as the
// C library reads a prefix). False when no number can be read there.
bool readRealText(std::string_view text, const platform::RegionalSettings& regional, double& value);

}  // namespace vlm
