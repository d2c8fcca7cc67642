#pragma once
// Storing the cells of a loading pass, row after row.
#include <cstdint>
#include <string_view>

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
    int32_t bytes = 0;  // a size cell's byte count
  };
  void complete(const Pending& pending, int32_t index);

  bool insideSource(std::string_view text) const;

  DataTable& table_;
  const platform::RegionalSettings regional_;  // a copy: callers may pass a temporary
  std::string_view source_;
  TextInternQueue<Pending> texts_;
  TimeInternQueue<Pending> times_;
};

}  // namespace vlm
