#pragma once
// Storing the cells of a loading pass, row after row.
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/data_table.h"
#include "data/text_intern_queue.h"
#include "data/time_intern_queue.h"
#include "platform/regional_settings.h"

namespace vlm {

// Stores cells as storeCell does, but the texts of text and size fields and
// the entries of date fields go through queues that fetch hash buckets ahead
// (TextInternQueue, TimeInternQueue), so that a column of many distinct
// values loads about as fast as one of few. Such a cell is complete (its
// value and its present flag set) once its queue interned it; finish()
// completes them all. The text pool and the time table receive their values
// in the order they were stored, as with storeCell.
class CellLoader {
 public:
  // Cell texts that lie inside `source` (the whole text being loaded) stay
  // valid for the whole pass and are queued without a copy.
  CellLoader(DataTable& table, const platform::RegionalSettings& regional, std::string_view source = {});
  ~CellLoader();  // forgets cells not finished
  CellLoader(const CellLoader&) = delete;
  CellLoader& operator=(const CellLoader&) = delete;

  void store(int32_t field, int32_t sample, std::string_view text);
  void finish();

 private:
  struct Pending {
    int32_t field = 0;
    int32_t sample = 0;
    int32_t bytes = 0;           // a size cell's byte count
    uint32_t rawLength = 0;      // with `raw`: the cell's text as it stood
    uint32_t generation = 0;     // the field's memo when the text was read
    const char* raw = nullptr;   // in the source, to remember once stored
  };
  // A raw cell text met before in a text or date field and the index it was
  // stored at. A column of few values meets the same texts again and again:
  // a match skips the missing-value check, the cleaning or the date's parse,
  // and the probe. Only texts inside the source are remembered (they stay).
  // A text of up to 16 bytes is held whole in `head` and `tail` (two
  // overlapping loads), so a match reads no text but the cell's own; a longer
  // one keeps its first bytes in `head` and where it lies in `tail`.
  struct Remembered {
    uint64_t head = 0, tail = 0;
    uint32_t length = 0;  // 0: nothing remembered (an empty cell never asks)
    int32_t index = -1;
  };
  struct Memo {
    std::vector<Remembered> slots;  // empty until the field's first text
    uint32_t looks = 0, hits = 0;
    bool off = false;  // a column of mostly new texts stops looking
    // A date is read by the field's date order and maxima: when they change,
    // what was remembered under them is forgotten, and texts read before
    // the change are not remembered.
    int32_t dateState[4] = {};
    uint32_t generation = 0;
  };
  void complete(const Pending& pending, int32_t index);
  int32_t recall(int32_t field, std::string_view text, uint32_t& generation);
  void remember(const Pending& pending, int32_t index);

  bool insideSource(std::string_view text) const;

  DataTable& table_;
  const platform::RegionalSettings regional_;  // a copy: callers may pass a temporary
  std::string_view source_;
  TextInternQueue<Pending> texts_;
  TimeInternQueue<Pending> times_;
  std::vector<Memo> memos_;  // by field
  int32_t memoFields_ = 0;   // fields with slots
};

}  // namespace vlm
