#pragma once
// Integer fields that meet a value an int32 cannot hold.
#include <cstdint>
#include <string_view>

#include "data/data_table.h"

namespace vlm {

// True when the cell text is an integer outside the int32 range (it would be
// held at the limit if stored as an integer).
bool integerTextOverflows(std::string_view text);

// Turns an integer field into a real one: its first `rows` present cells and
// its range become reals. Later cells are stored as reals.
void widenToReal(DataField& field, int32_t rows);

}  // namespace vlm
