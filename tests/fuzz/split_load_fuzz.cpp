// Arbitrary bytes as a table text read twice: line after line, and on two
// threads with the text cut even when small. Both tables must be the same in
// every typed value, analysis value, cell, pool text and time entry, and both
// loads must end the same way.
//
// Input layout: byte 0 picks the text format (clipboard, tab file, CSV) and
// the regional settings; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "data/distinct_values.h"
#include "data/table_clear.h"
#include "data/table_text_load.h"
#include "table_text_mode.h"
#include "fuzz_check.h"

namespace {

bool sameCells(const vlm::DataField& x, const vlm::Cell& a, const vlm::DataField& y, const vlm::Cell& b) {
  return a.value.i == b.value.i && vlm::sizeBytesOf(x, a) == vlm::sizeBytesOf(y, b) && a.engineWord == b.engineWord &&
         a.flags == b.flags;
}

void compare(const vlm::DataTable& a, const vlm::DataTable& b) {
  check(a.fieldCount == b.fieldCount && a.rowCount.get() == b.rowCount.get() && a.rowIds == b.rowIds);
  for (int32_t f = 0; f < a.fieldCount; ++f) {
    const vlm::DataField& x = a.fields[static_cast<size_t>(f)];
    const vlm::DataField& y = b.fields[static_cast<size_t>(f)];
    check(std::strcmp(x.name, y.name) == 0 && x.type == y.type && x.analysisClass == y.analysisClass);
    check(x.numberFormatClass == y.numberFormatClass && x.dateOrderState == y.dateOrderState);
    check(std::memcmp(x.dateComponentMax, y.dateComponentMax, sizeof x.dateComponentMax) == 0);
    check(x.min.i == y.min.i && x.max.i == y.max.i && x.selectorLow.i == y.selectorLow.i &&
          x.selectorHigh.i == y.selectorHigh.i);
    check(x.cells.size() == y.cells.size());
    for (size_t s = 0; s < x.cells.size(); ++s) check(sameCells(x, x.cells[s], y, y.cells[s]));
    check(x.distinct.size() == y.distinct.size());
    for (size_t e = 0; e < x.distinct.size(); ++e)
      check(x.distinct[e].value == y.distinct[e].value && x.distinct[e].word == y.distinct[e].word &&
            x.distinct[e].flags == y.distinct[e].flags &&
            std::memcmp(&x.distinct[e].fvalue, &y.distinct[e].fvalue, sizeof(float)) == 0);
  }
  check(a.textPool.chars == b.textPool.chars && a.textPool.ends == b.textPool.ends);
  check(a.timeTable.entries.size() == b.timeTable.entries.size());
  check(a.timeTable.entries.empty() || std::memcmp(a.timeTable.entries.data(), b.timeTable.entries.data(),
                                                   a.timeTable.entries.size() * sizeof(vlm::TimeEntry)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const vlm::fuzz::TableTextInput input = vlm::fuzz::tableTextInput(data, size);
  const vlm::TableTextFormat format = input.mode.format;
  const vlm::platform::RegionalSettings& regional = input.mode.regional;
  const std::string_view text = input.text;

  static auto one = std::make_unique<vlm::DataTable>();
  static auto both = std::make_unique<vlm::DataTable>();
  vlm::clearTable(*one);
  vlm::clearTable(*both);
  const auto a = vlm::loadTableText(*one, text, format, regional, nullptr, {}, vlm::LoadThreads::One);
  const auto b = vlm::loadTableText(*both, text, format, regional, nullptr, {}, vlm::LoadThreads::BothAtAnySize);
  check(a.status == b.status && a.rows == b.rows);
  if (a.status != vlm::TextLoadStatus::Loaded) return 0;
  vlm::buildAllDistinctValues(*one);
  vlm::buildAllDistinctValues(*both);
  compare(*one, *both);
  return 0;
}
