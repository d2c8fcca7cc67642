#pragma once
// Reading the hit records that GL_SELECT leaves in the selection buffer.
#include <cstddef>
#include <cstdint>

namespace vlm::pick {

// The first name of the nearest record: each record is (name count, minimum
// depth, maximum depth, names...). The running best starts at 0xFFFFFFFE and a
// record wins only with a strictly smaller (unsigned) minimum or maximum depth,
// so among equal depths the earliest record keeps it. `hits` is what
// glRenderMode returned; -1 (the buffer overflowed) walks every record that
// fits in the `words` written. Records that run past the buffer are ignored.
// Returns -1 when no record carries a name.
int32_t nearestHitName(const uint32_t* buffer, size_t words, int hits);

// The number of buffer words to hand to glSelectBuffer for `rows` samples:
// 4 per row and 100 more, bounded by what the buffer holds and by INT32_MAX,
// computed without overflow.
int32_t selectionBufferWords(int64_t rows, size_t bufferSize);

}  // namespace vlm::pick
