#pragma once
// The Selector's part of the main record: the window flags the exports read,
// the rows built for the current table, and the per-sample count of rows a
// sample fails, which lets a query change touch only the samples it changes.
#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/big_allocator.h"

namespace vlm {

struct SelectorRecord {
  std::atomic<int32_t> open{0};     // the window is shown
  std::atomic<int32_t> playing{0};  // an Item row is playing; cleared by any click and by a cancel
  // The row and value the keys act on; changed only under the data lock.
  int32_t currentRow = -1;
  int32_t currentValue = 0;
  // Rows added for the current table (the model file adds them one by one);
  // 0 after the table is cleared, so the next load builds every row.
  int32_t rowsBuilt = 0;
  // For each sample, how many fields' pass bits are clear; a sample is
  // selected by a computation when its count is 0. Kept for `countedRows`
  // samples; any other row count means the counts are rebuilt from the bits.
  // Megabytes on a big table, written whole whenever rebuilt: huge pages.
  std::vector<uint16_t, platform::FilledBigAllocator<uint16_t>> failCounts;
  int32_t countedRows = -1;
  // Samples whose flag became 6 since the last computation (every sample
  // when `allPending`): only they are re-evaluated.
  std::vector<int32_t> pending;
  bool allPending = false;
  // Per field, its samples grouped by their value's entry in the sorted
  // distinct-value list: a row whose test changes for a few values touches
  // only their samples. Made on first use, dropped when rows change.
  struct EntrySamples {
    std::vector<int32_t> starts;   // entry e's samples are samples[starts[e] .. starts[e + 1])
    std::vector<int32_t> samples;
    std::vector<uint8_t> passing;  // entry e's samples have their pass bit set
  };
  std::vector<EntrySamples> entrySamples;
  // Counts the loads whose rows the Selector has taken; a window edit made
  // against an older table is dropped.
  std::atomic<uint32_t> tableGeneration{0};
};

}  // namespace vlm
