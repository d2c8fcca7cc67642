#pragma once
// The distinct-value analysis run after every load: each field's sorted list
// of the values its samples take, which the Selector and the labels index.
#include <cstdint>
#include <functional>

#include "data/data_table.h"

namespace vlm {

// Builds the distinct-value list of one field from its rowCount samples.
// Integer, real, text and date/time fields get a list sorted ascending
// (numbers by value, texts byte by byte, dates by time) with one entry per
// value, whose `word` counts its samples; when some sample has no value, an
// empty-value entry (kDistinctEmpty) follows last. Each sample's engine word
// becomes the index of its entry (-1 without a value). Numeric fields take
// their least and greatest value as the selector range, text and date fields
// the first and last entry index. Other types get no list. An allocation
// failure is reported, leaves the field without a list and returns false.
bool buildDistinctValues(DataTable& table, int32_t field);

// Runs buildDistinctValues for every field, two fields at a time on a big
// table; `fieldDone` (may be empty) is called on the calling thread with each
// field's index, in field order, once that field is built.
void buildAllDistinctValues(DataTable& table, const std::function<void(int32_t)>& fieldDone = {});

}  // namespace vlm
