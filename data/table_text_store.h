#pragma once
// The loading pass of a table text: stores every cell of the counted lines
// into a table grown for them and typed by the analysis pass. On two cores
// the pieces the analysis pass cut are stored at once, each thread taking
// the next piece as it comes free; the table is the one storing line after
// line gives (values, ranges, and the text pool and time table in the order
// of their first appearance).
#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "data/data_table.h"
#include "data/table_text_reader.h"
#include "data/text_region.h"
#include "platform/regional_settings.h"

namespace vlm {

struct TextStoreInput {
  std::string_view text;
  size_t bodyStart = 0;
  TableTextFormat format = TableTextFormat::TabFile;
  const std::atomic<int32_t>* abort = nullptr;
  const platform::RegionalSettings* regional = nullptr;
  int32_t count = 0;  // the samples the analysis pass counted
  // The pieces the analysis pass cut (fewer than two: store line after line).
  std::vector<TextRegionStart> regions;
  std::function<void(int32_t samplesStored)> progress;  // may be empty
};

struct TextStore {
  RecordStatus status = RecordStatus::End;  // End: every line was read
  int32_t stored = 0;
};

TextStore storeTableText(DataTable& table, const TextStoreInput& in);

}  // namespace vlm
