#pragma once
// The table, or its selected rows, as tab-separated text with a header line.
#include <cstdint>
#include <string>
#include <vector>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm {

// The text of samples 0..rows-1, every line (the last included) ended by
// CR LF; a cell without a value is empty. With `selectedOnly`, only samples
// whose selection flag is set are written.
//
// For a DSK_ODBC table the first field is left out, only selected samples are
// written whatever `selectedOnly` says, and the cell form follows the source
// type code kept in the field's analysis class (binary columns give empty
// cells). Tables of other kinds than 1..4 give the empty text.
std::string tableTextForCopy(const DataTable& table, int32_t rows, const std::vector<uint8_t>& selectionFlags,
                             bool selectedOnly, const platform::RegionalSettings& regional);

}  // namespace vlm
