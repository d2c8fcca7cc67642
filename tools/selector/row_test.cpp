#include "tools/selector/row_test.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "data/text_pool.h"
#include "tools/selector/range_bounds.h"
#include "tools/selector/selector_rules.h"
#include "tools/selector/substring_match.h"

namespace vlm::selector {
namespace {

constexpr uint8_t kFlagReevaluate = 6;

bool passes(const Cell& c) { return (c.flags & kCellPass) != 0; }
bool present(const Cell& c) { return (c.flags & kCellPresent) != 0; }

// A Samples row other than the one being re-run, whose value counts follow
// every change of a sample's fail count.
struct CountedRow {
  DataField* field;
};

std::vector<CountedRow> countedRowsExcept(QueryArrays& q, int32_t except) {
  std::vector<CountedRow> rows;
  const int32_t n = sampleCount(q);
  for (int32_t f = 0; f < q.table.fieldCount && f < kMaxFields; ++f) {
    DataField& field = q.table.fields[static_cast<size_t>(f)];
    if (f == except || field.selector.method != kSamples || !hasDistinctList(field)) continue;
    if (field.cells.size() < static_cast<size_t>(n)) continue;
    rows.push_back({&field});
  }
  return rows;
}

// A sample's pass bit on row `changed` flipped and its fail count went from
// `before` to `after`: follow up on its flag and on the value counts.
void followUp(QueryArrays& q, const std::vector<CountedRow>& counted, int32_t sample, bool pass, int before,
              int after) {
  q.flags[static_cast<size_t>(sample)] = pass ? kFlagReevaluate : 0;
  for (const CountedRow& row : counted) {
    DataField& f = *row.field;
    const Cell& cell = f.cells[static_cast<size_t>(sample)];
    const int own = passes(cell) ? 0 : 1;
    const bool wasCounted = before - own == 0;
    const bool isCounted = after - own == 0;
    if (wasCounted == isCounted) continue;
    const int32_t entry = entryOf(f, cell);
    if (entry < 0) continue;
    DistinctValue& value = f.distinct[static_cast<size_t>(entry)];
    if (isCounted) {
      if (value.last++ == 0) {
        value.flags |= kDistinctAvailable;
        f.selector.changed = true;
      }
    } else if (value.last > 0 && --value.last == 0) {
      value.flags &= ~kDistinctAvailable;
      f.selector.changed = true;
    }
  }
}

template <class Test>
void applyTest(QueryArrays& q, int32_t fieldIndex, Test test) {
  DataField& field = q.table.fields[static_cast<size_t>(fieldIndex)];
  const int32_t n = sampleCount(q);
  if (field.cells.size() < static_cast<size_t>(n)) return;
  const std::vector<CountedRow> counted = countedRowsExcept(q, fieldIndex);
  Cell* cells = field.cells.data();
  uint16_t* fails = q.record.failCounts.data();
  for (int32_t s = 0; s < n; ++s) {
    Cell& c = cells[s];
    const bool pass = test(c);
    if (pass == passes(c)) continue;
    c.flags ^= kCellPass;
    const int before = fails[s];
    const int after = pass ? std::max(before - 1, 0) : before + 1;
    fails[s] = static_cast<uint16_t>(after);
    followUp(q, counted, s, pass, before, after);
  }
}

void passAll(QueryArrays& q, int32_t field) {
  applyTest(q, field, [](const Cell&) { return true; });
}

void runRange(QueryArrays& q, int32_t fieldIndex) {
  const DataField& f = q.table.fields[static_cast<size_t>(fieldIndex)];
  if (rangeIsFull(f)) return passAll(q, fieldIndex);
  const bool missing = f.selector.includeMissing;
  switch (f.type) {
    case FT_INTEGER: {
      const int32_t lo = f.selectorLow.i, hi = f.selectorHigh.i;
      return applyTest(q, fieldIndex,
                       [=](const Cell& c) { return present(c) ? c.value.i >= lo && c.value.i <= hi : missing; });
    }
    case FT_SIZE: {
      const int32_t lo = f.selectorLow.i, hi = f.selectorHigh.i;
      return applyTest(q, fieldIndex,
                       [=](const Cell& c) { return present(c) ? c.second >= lo && c.second <= hi : missing; });
    }
    case FT_REAL: {
      const float lo = f.selectorLow.f, hi = f.selectorHigh.f;
      return applyTest(q, fieldIndex,
                       [=](const Cell& c) { return present(c) ? c.value.f >= lo && c.value.f <= hi : missing; });
    }
    case FT_DATETIME:
    case FT_TEXT:
    case FT_TEXT2: {
      if (!hasDistinctList(f)) return passAll(q, fieldIndex);
      const int32_t lo = f.selectorLow.i, hi = f.selectorHigh.i, values = valueEntryCount(f);
      return applyTest(q, fieldIndex, [=](const Cell& c) {
        const bool valued = present(c) && c.engineWord >= 0 && c.engineWord < values;
        return valued ? c.engineWord >= lo && c.engineWord <= hi : missing;
      });
    }
    default:
      return passAll(q, fieldIndex);
  }
}

void runItem(QueryArrays& q, int32_t fieldIndex) {
  const DataField& f = q.table.fields[static_cast<size_t>(fieldIndex)];
  if (f.selector.all || !hasDistinctList(f)) return passAll(q, fieldIndex);
  const int32_t current = std::clamp(f.selectorLow.i, 0, f.distinctCount - 1);
  applyTest(q, fieldIndex, [&f, current](const Cell& c) { return entryOf(f, c) == current; });
}

// Passes the samples whose value's entry is marked in `chosen`.
void passChosenEntries(QueryArrays& q, int32_t fieldIndex, const std::vector<uint8_t>& chosen) {
  const DataField& f = q.table.fields[static_cast<size_t>(fieldIndex)];
  applyTest(q, fieldIndex, [&f, &chosen](const Cell& c) {
    const int32_t e = entryOf(f, c);
    return e >= 0 && chosen[static_cast<size_t>(e)] != 0;
  });
}

void runSamples(QueryArrays& q, int32_t fieldIndex) {
  const DataField& f = q.table.fields[static_cast<size_t>(fieldIndex)];
  if (!hasDistinctList(f)) return passAll(q, fieldIndex);
  std::vector<uint8_t> chosen(f.distinct.size());
  for (size_t e = 0; e < chosen.size(); ++e) chosen[e] = (f.distinct[e].flags & kDistinctSelected) ? 1 : 0;
  passChosenEntries(q, fieldIndex, chosen);
}

void runSubstring(QueryArrays& q, int32_t fieldIndex) {
  DataField& f = q.table.fields[static_cast<size_t>(fieldIndex)];
  const std::string_view text(f.selectorText, strnlen(f.selectorText, sizeof f.selectorText));
  const SubstringQuery query(text);
  if (hasDistinctList(f)) {
    std::vector<uint8_t> matched(f.distinct.size(), 0);
    for (size_t e = 0; e < f.distinct.size(); ++e) {
      DistinctValue& d = f.distinct[e];
      bool hit = false;
      if (query.empty()) {
        hit = true;
      } else if (!(d.flags & kDistinctEmpty) && (f.type == FT_TEXT || f.type == FT_TEXT2)) {
        const auto value = poolText(q.table.textPool, d.value);
        hit = value && query.foundIn(*value);
      }
      matched[e] = hit ? 1 : 0;
      d.flags = hit && !query.empty() ? (d.flags | kDistinctMatched) : (d.flags & ~kDistinctMatched);
    }
    if (query.empty()) return passAll(q, fieldIndex);
    return passChosenEntries(q, fieldIndex, matched);
  }
  if (query.empty()) return passAll(q, fieldIndex);
  if (f.type == FT_BOOLEAN || f.type == FT_FLAG) {
    // A two-valued field reads as "TRUE" and "FALSE".
    const bool matchTrue = query.foundIn("TRUE"), matchFalse = query.foundIn("FALSE");
    return applyTest(q, fieldIndex, [=](const Cell& c) {
      return present(c) && (c.value.i != 0 ? matchTrue : matchFalse);
    });
  }
  passAll(q, fieldIndex);
}

}  // namespace

int32_t sampleCount(const QueryArrays& q) {
  const size_t rows = static_cast<size_t>(std::max(q.table.rowCount.get(), 0));
  return static_cast<int32_t>(std::min({rows, q.flags.size(), q.record.failCounts.size()}));
}

void passEverything(QueryArrays& q) {
  const size_t rows = std::min(static_cast<size_t>(std::max(q.table.rowCount.get(), 0)), q.flags.size());
  q.record.failCounts.assign(rows, 0);
  q.record.countedRows = static_cast<int32_t>(rows);
  for (int32_t f = 0; f < q.table.fieldCount && f < kMaxFields; ++f) {
    std::vector<Cell>& cells = q.table.fields[static_cast<size_t>(f)].cells;
    const size_t n = std::min(rows, cells.size());
    for (size_t s = 0; s < n; ++s) cells[s].flags |= kCellPass;
  }
  std::fill(q.flags.begin(), q.flags.begin() + static_cast<std::ptrdiff_t>(rows), kFlagReevaluate);
}

void syncFailCounts(QueryArrays& q) {
  const int32_t rows = q.table.rowCount.get();
  if (q.record.countedRows == rows && q.record.failCounts.size() >= static_cast<size_t>(std::max(rows, 0))) return;
  const size_t n = std::min(static_cast<size_t>(std::max(rows, 0)), q.flags.size());
  q.record.failCounts.assign(n, 0);
  for (int32_t f = 0; f < q.table.fieldCount && f < kMaxFields; ++f) {
    const std::vector<Cell>& cells = q.table.fields[static_cast<size_t>(f)].cells;
    const size_t m = std::min(n, cells.size());
    for (size_t s = 0; s < m; ++s)
      if (!passes(cells[s])) ++q.record.failCounts[s];
  }
  q.record.countedRows = rows;
  for (int32_t f = 0; f < q.table.fieldCount && f < kMaxFields; ++f)
    if (q.table.fields[static_cast<size_t>(f)].selector.method == kSamples) countAvailability(q, f);
}

void rerunRowTest(QueryArrays& q, int32_t field) {
  if (field < 0 || field >= q.table.fieldCount || field >= kMaxFields) return;
  syncFailCounts(q);
  switch (q.table.fields[static_cast<size_t>(field)].selector.method) {
    case kRangeSlider:
      return runRange(q, field);
    case kItemSlider:
      return runItem(q, field);
    case kSamples:
      return runSamples(q, field);
    case kSubstring:
      return runSubstring(q, field);
    default:
      return passAll(q, field);
  }
}

void countAvailability(QueryArrays& q, int32_t fieldIndex) {
  if (fieldIndex < 0 || fieldIndex >= q.table.fieldCount || fieldIndex >= kMaxFields) return;
  DataField& f = q.table.fields[static_cast<size_t>(fieldIndex)];
  if (!hasDistinctList(f)) return;
  for (DistinctValue& d : f.distinct) d.last = 0;
  const int32_t n = std::min<int32_t>(sampleCount(q), static_cast<int32_t>(f.cells.size()));
  const uint16_t* fails = q.record.failCounts.data();
  for (int32_t s = 0; s < n; ++s) {
    const Cell& c = f.cells[static_cast<size_t>(s)];
    if (fails[s] - (passes(c) ? 0 : 1) != 0) continue;
    const int32_t e = entryOf(f, c);
    if (e >= 0) ++f.distinct[static_cast<size_t>(e)].last;
  }
  for (DistinctValue& d : f.distinct) {
    const uint32_t marked = d.last > 0 ? (d.flags | kDistinctAvailable) : (d.flags & ~kDistinctAvailable);
    if (marked != d.flags) f.selector.changed = true;
    d.flags = marked;
  }
}

void markAllAvailable(DataField& field) {
  for (DistinctValue& d : field.distinct) {
    if (!(d.flags & kDistinctAvailable)) field.selector.changed = true;
    d.flags |= kDistinctAvailable;
  }
}

int32_t reevaluateFlags(QueryArrays& q) {
  const int32_t n = sampleCount(q);
  uint8_t* flags = q.flags.data();
  const uint16_t* fails = q.record.failCounts.data();
  int32_t selected = 0;
  for (int32_t s = 0; s < n; ++s) {
    if (flags[s] == kFlagReevaluate) flags[s] = fails[s] == 0 ? 1 : 0;
    selected += flags[s] != 0 ? 1 : 0;
  }
  // Flags of rows beyond the fail counts (none after a sync) still count.
  const size_t rows = std::min(static_cast<size_t>(std::max(q.table.rowCount.get(), 0)), q.flags.size());
  for (size_t s = static_cast<size_t>(n); s < rows; ++s) selected += q.flags[s] != 0 ? 1 : 0;
  return selected;
}

}  // namespace vlm::selector
