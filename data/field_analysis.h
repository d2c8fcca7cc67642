#pragma once
#include "data/data_table.h"

namespace vlm {

// Sets min, max, the selector range, the value class and the working values
// to their start values for the field's type, so that loading can lower min
// and raise max with every value stored. Types above FT_TEXT2 are untouched.
void resetFieldAnalysis(DataField& field);

// Ends the analysis pass of a field: its analysis class gives its type
// (2 text, 3 integer, 4 real, 6 date/time, else no type) and the analysis
// values are reset for that type.
void applyAnalysisClass(DataField& field);

}  // namespace vlm
