#pragma once
// The analysis pass of a table text: types every field from its non-empty
// cells, counts the samples and sketches how many distinct values each text
// or date field holds. On two cores the text after its first lines is cut
// into pieces that both threads read in stretches (stretch_schedule.h); the
// result is that of reading it line after line.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "data/data_table.h"
#include "data/distinct_estimate.h"
#include "data/table_text_reader.h"
#include "data/text_region.h"
#include "platform/regional_settings.h"

namespace vlm {

// Below this a body is read in one piece: a second thread would not pay.
constexpr size_t kSplitBytes = size_t{1} << 20;
// Pieces are at least this long, and a body is cut into at most
// kMostRegions of them: enough for the threads to even out, few enough that
// what each piece keeps of its own costs nothing.
constexpr size_t kRegionBytes = size_t{1} << 20;
constexpr size_t kMostRegions = 64;

struct TextAnalysis {
  RecordStatus status = RecordStatus::End;  // End: the whole text was read
  int64_t samples = 0;
  // When the text was read in pieces: the body's start (its first lines),
  // then where each piece starts, in text order; empty when it was read in
  // one piece. The loading pass shares the same pieces between the threads
  // as each comes free.
  std::vector<TextRegionStart> regions;
};

struct TextAnalysisInput {
  std::string_view text;
  size_t bodyStart = 0;  // the first line after the header
  TableTextFormat format = TableTextFormat::TabFile;
  const std::atomic<int32_t>* abort = nullptr;
  const platform::RegionalSettings* regional = nullptr;
  bool parallel = true;  // false reads line after line whatever the size
  size_t splitFrom = kSplitBytes;  // bodies smaller than this are read in one piece
  size_t regionBytes = kRegionBytes;  // the least length of a piece
  // Told how far the pass got, as a byte position in the text (may be empty).
  std::function<void(size_t position)> progress;
};

// Leaves the fields' analysis classes and analysis values as the pass leaves
// them (the caller applies them); `sketches` has one entry per field.
TextAnalysis analyseTableText(DataTable& table, const TextAnalysisInput& in, std::vector<DistinctSketch>& sketches);

// Where a text's body is cut in two for the passes: the start of the first
// line at or after the middle of [from, text.size()), or 0 when the body is
// smaller than `minBytes` or cannot be cut (one long line, quoted CSV). Lines
// end as the format says.
size_t splitPoint(std::string_view text, size_t from, TableTextFormat format, size_t minBytes = kSplitBytes);

}  // namespace vlm
