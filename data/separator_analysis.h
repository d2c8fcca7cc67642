#pragma once
#include <string_view>

#include "data/data_table.h"

namespace vlm {

// The NumberFormatClass that a (stripped) number text suggests, first rule
// that applies: both '.' and ',' (or a blank with either) -> 3; a separator
// more than once (or more than one blank) -> 2; the last '.' (or, without one,
// the last ',') followed by exactly three characters -> 0 (a thousands
// separator), by any other count -> 1; no separator -> 0.
NumberFormatClass separatorAnalysis(std::string_view text);

}  // namespace vlm
