#pragma once
// The table-wide pool of distinct texts shared by every text field.
#include <cstdint>
#include <string_view>

#include "data/data_table.h"

namespace vlm {

// Returns the pool index of the cleaned text, or -1 for a text that is empty
// once cleaned or when the pool cannot grow ("Unable to store all the text
// information!"). Cleaning skips leading blanks and tabs, turns every later
// line break character into ';' and every later tab into a blank, and trims
// blanks at both ends. The first identical text (byte-wise) keeps its index.
int32_t internText(TextPool& pool, std::string_view text);

// The text at a pool index, or nullptr when the index is outside the pool.
const std::string* poolText(const TextPool& pool, int32_t index);

// Frees every text and the index.
void clearTextPool(TextPool& pool);

}  // namespace vlm
