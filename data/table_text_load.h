#pragma once
// Turning a table text into the data table: the header line gives the field
// names, the analysis pass types every field and counts the samples, the
// table grows once, and the loading pass stores every cell.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>

#include "data/data_table.h"
#include "data/table_text_reader.h"
#include "platform/regional_settings.h"

namespace vlm {

// Where the passes report their progress (any member may be empty).
struct ProgressSink {
  std::function<void(const char* text, int32_t first, int32_t last)> begin;
  std::function<void(int32_t position)> step;
  std::function<void()> end;
};

enum class TextLoadStatus {
  Loaded,
  NoFields,       // no text, or an empty header line
  HeaderTooLong,  // the header line is longer than kMaxLineLength
  NoSamples,      // no line after the header has a non-empty cell
  LineTooLong,    // a data line is longer than kMaxLineLength
  BadQuote,       // a quoted CSV cell is never closed
  Aborted,        // the abort flag was set during a pass
  GrowthFailed,   // the table could not grow (growRows reported why)
  NothingStored,  // the loading pass found no sample
};

struct TextLoadResult {
  TextLoadStatus status = TextLoadStatus::NoFields;
  int32_t rows = 0;
};

// The progress range of both passes.
constexpr int32_t kPassProgressFirst = 1;
constexpr int32_t kPassProgressLast = 10000;

// Loads `text` into a cleared table. On success the fields are named and
// typed, rowCount and sourceRowCount hold the sample count and every cell is
// stored. On failure the table holds whatever the passes got to; the caller
// clears it. The source description (name, kind, path) is the caller's.
//
// A line counts as a sample when one of its cells under a header name is
// non-empty; empty lines and lines of tabs only are passed over. Cells past
// the header's columns are ignored, missing trailing cells are empty.
//
// A big text is read on both cores (see table_text_analysis.h and
// table_text_store.h); `threads` One reads it line after line, to the same
// table, and BothAtAnySize splits even a small text, and into pieces as small
// as a line (to compare the two).
enum class LoadThreads { Both, One, BothAtAnySize };
TextLoadResult loadTableText(DataTable& table, std::string_view text, TableTextFormat format,
                             const platform::RegionalSettings& regional, const std::atomic<int32_t>* abort,
                             const ProgressSink& progress, LoadThreads threads = LoadThreads::Both);

}  // namespace vlm
