#pragma once
// The loading pass: turning a cell text into the stored value of its field's type.
#include <cstdint>
#include <string_view>

#include "data/data_table.h"
#include "platform/regional_settings.h"

namespace vlm {

// Stores the cell of sample `sample` in field `field` from its text and marks
// it present; returns 1 when a value was stored, else 0 (empty texts, missing
// values, texts from which no value can be read, types that take no text,
// indexes outside the table). Lowers min and raises max of numeric fields.
//
// Integers are read in 64 bits and held at the int32 limits; sizes ("4k",
// "2 MB") likewise, so a size from 2 GB on is 2147483647 bytes.
int storeCell(DataTable& table, int32_t field, int32_t sample, std::string_view text,
              const platform::RegionalSettings& regional);

// The least and greatest value of a run of number cells.
struct NumberRange {
  IntOrFloat min;
  IntOrFloat max;
};

// Stores a cell of an integer or real field as storeCell does, lowering and
// raising `range` instead of the field's min and max, so that parts of a
// column can be stored at once and their ranges joined in row order.
int storeNumberCell(const DataField& field, Cell& cell, std::string_view text,
                    const platform::RegionalSettings& regional, NumberRange& range);

// The cell text without blanks at either end, as text and size cells are read.
std::string_view trimCellBlanks(std::string_view text);

// The byte count of a size text ("4k", "2 MB": k counts 1024, m 1048576),
// held at the int32 limits; false when the text holds no number.
bool readSizeBytes(std::string_view trimmed, int32_t& bytes);

}  // namespace vlm
