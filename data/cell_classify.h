#pragma once
// The type analysis pass: every non-empty cell of a field moves the field's
// analysis class (AC_NONE, AC_TEXT, AC_INTEGER, AC_REAL, AC_DATETIME).
#include <cstdint>
#include <string_view>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm {

// Returns the field's new analysis class after seeing the cell text; the
// caller stores it in field.analysisClass. Also raises the field's number
// format class, date order state and date component maxima.
//
// Text is final. An integer cell whose value does not fit 32 bits (such as
// 4915112345678) makes the field real, so its numbers never wrap. Missing
// values ("-", "null", "n/a", "#num!") leave the class as it is.
uint8_t classifyCell(DataField& field, std::string_view text, const platform::RegionalSettings& regional);

// The same by every rule in turn; classifyCell reads plain numbers in number
// fields more directly, to the same result.
uint8_t classifyCellInFull(DataField& field, std::string_view text, const platform::RegionalSettings& regional);

}  // namespace vlm
