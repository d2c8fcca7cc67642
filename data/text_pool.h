#pragma once
// The table-wide pool of distinct texts shared by every text field.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/data_table.h"

namespace vlm {

// Returns the pool index of the cleaned text, or -1 for a text that is empty
// once cleaned or when the pool cannot grow ("Unable to store all the text
// information!"). Cleaning skips leading blanks and tabs, turns every later
// line break character into ';' and every later tab into a blank, and trims
// blanks at both ends. The first identical text (byte-wise) keeps its index.
int32_t internText(TextPool& pool, std::string_view text);

// internText in two steps, for callers that prepare texts ahead of interning
// them. prepareText cleans and hashes a text and asks the processor for the
// hash bucket where it will be looked up. The cleaned text lies in `text`, or
// in `scratch` when line breaks or tabs had to be rewritten.
struct PreparedText {
  std::string_view clean;
  uint32_t hash = 0;
};
PreparedText prepareText(const TextPool& pool, std::string_view text, std::string& scratch);
// Interns a text that prepareText cleaned and hashed (-1 when it is empty).
int32_t internPrepared(TextPool& pool, const PreparedText& text);

// Readies the pool for about `texts` more texts of `bytes` bytes in all, so
// that a load of that many grows neither the index nor the buffers. False
// when there is no room for it; interning then grows the pool as it goes.
bool reserveTextPool(TextPool& pool, size_t texts, size_t bytes);

// The number of texts in the pool.
int32_t poolSize(const TextPool& pool);

// The text at a pool index, or nothing when the index is outside the pool. The
// view is valid until the next text is interned.
std::optional<std::string_view> poolText(const TextPool& pool, int32_t index);

// Frees every text and the index.
void clearTextPool(TextPool& pool);

}  // namespace vlm
