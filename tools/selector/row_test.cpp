#include "tools/selector/row_test.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "data/second_thread.h"
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
  if (pass) q.record.pending.push_back(sample);
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

// A pass bit flips: the fail count and what follows from it.
void flip(QueryArrays& q, const std::vector<CountedRow>& counted, Cell& c, int32_t sample, bool pass) {
  c.flags ^= kCellPass;
  uint16_t& fails = q.record.failCounts[static_cast<size_t>(sample)];
  const int before = fails;
  const int after = pass ? std::max(before - 1, 0) : before + 1;
  fails = static_cast<uint16_t>(after);
  followUp(q, counted, sample, pass, before, after);
}

// A test of each sample: for fields without a distinct-value list.
template <class Test>
void applyTest(QueryArrays& q, int32_t fieldIndex, Test test) {
  DataField& field = q.table.fields[static_cast<size_t>(fieldIndex)];
  const int32_t n = sampleCount(q);
  if (field.cells.size() < static_cast<size_t>(n)) return;
  const std::vector<CountedRow> counted = countedRowsExcept(q, fieldIndex);
  Cell* cells = field.cells.data();
  for (int32_t s = 0; s < n; ++s) {
    Cell& c = cells[s];
    const bool pass = test(c);
    if (pass != passes(c)) flip(q, counted, c, s, pass);
  }
}

SelectorRecord::EntrySamples& entrySamplesOf(QueryArrays& q, int32_t fieldIndex) {
  SelectorRecord& r = q.record;
  if (r.entrySamples.size() <= static_cast<size_t>(fieldIndex)) r.entrySamples.resize(static_cast<size_t>(fieldIndex) + 1);
  SelectorRecord::EntrySamples& index = r.entrySamples[static_cast<size_t>(fieldIndex)];
  const DataField& f = q.table.fields[static_cast<size_t>(fieldIndex)];
  const int32_t n = sampleCount(q);
  if (index.starts.size() == static_cast<size_t>(f.distinctCount) + 1 && index.samples.size() == static_cast<size_t>(n))
    return index;
  // A counting sort of the samples by entry.
  index.starts.assign(static_cast<size_t>(f.distinctCount) + 2, 0);
  for (int32_t s = 0; s < n; ++s) {
    const int32_t e = entryOf(f, f.cells[static_cast<size_t>(s)]);
    if (e >= 0) ++index.starts[static_cast<size_t>(e) + 2];
  }
  for (size_t e = 2; e < index.starts.size(); ++e) index.starts[e] += index.starts[e - 1];
  index.samples.assign(static_cast<size_t>(index.starts.back()), 0);
  for (int32_t s = 0; s < n; ++s) {
    const int32_t e = entryOf(f, f.cells[static_cast<size_t>(s)]);
    if (e >= 0) index.samples[static_cast<size_t>(index.starts[static_cast<size_t>(e) + 1]++)] = s;
  }
  index.starts.pop_back();
  // Samples without an entry (none in a consistent table) are simply not indexed.
  index.samples.resize(static_cast<size_t>(n), 0);
  // Every sample of an entry has the same bit (each test depends on the entry
  // alone): the first one tells. Kept here from now on, so a re-run reads one
  // byte per entry instead of a cell far away.
  index.passing.assign(static_cast<size_t>(f.distinctCount), 1);
  for (size_t e = 0; e + 1 < index.starts.size(); ++e)
    if (index.starts[e] < index.starts[e + 1])
      index.passing[e] = passes(f.cells[static_cast<size_t>(index.samples[static_cast<size_t>(index.starts[e])])]) ? 1 : 0;
  return index;
}

// A test that depends on the sample's entry alone: `want` holds the pass bit of
// each entry, and only the samples of entries whose bit changes are visited.
void applyEntryTest(QueryArrays& q, int32_t fieldIndex, const std::vector<uint8_t>& want) {
  DataField& field = q.table.fields[static_cast<size_t>(fieldIndex)];
  const int32_t n = sampleCount(q);
  if (field.cells.size() < static_cast<size_t>(n)) return;
  SelectorRecord::EntrySamples& index = entrySamplesOf(q, fieldIndex);
  const std::vector<CountedRow> counted = countedRowsExcept(q, fieldIndex);
  const size_t entries = std::min(want.size(), index.passing.size());
  for (size_t e = 0; e < entries; ++e) {
    const uint8_t pass = want[e] != 0 ? 1 : 0;
    if (index.passing[e] == pass) continue;
    index.passing[e] = pass;
    const int32_t begin = index.starts[e], end = index.starts[e + 1];
    for (int32_t k = begin; k < end; ++k) {
      const int32_t s = index.samples[static_cast<size_t>(k)];
      Cell& c = field.cells[static_cast<size_t>(s)];
      if (passes(c) != (pass != 0)) flip(q, counted, c, s, pass != 0);
    }
  }
}

void passAll(QueryArrays& q, int32_t field) {
  const DataField& f = q.table.fields[static_cast<size_t>(field)];
  if (hasDistinctList(f)) return applyEntryTest(q, field, std::vector<uint8_t>(f.distinct.size(), 1));
  applyTest(q, field, [](const Cell&) { return true; });
}

// The Range test of each entry of a field with a list: by value for numbers,
// by place in the sorted list for dates and texts.
std::vector<uint8_t> rangeEntries(const DataField& f) {
  std::vector<uint8_t> want(f.distinct.size(), 0);
  const bool missing = f.selector.includeMissing;
  const int32_t values = valueEntryCount(f);
  for (size_t e = 0; e < want.size(); ++e) {
    const DistinctValue& d = f.distinct[e];
    bool pass = missing;
    if (!(d.flags & kDistinctEmpty)) {
      switch (f.type) {
        case FT_INTEGER:
          pass = d.value >= f.selectorLow.i && d.value <= f.selectorHigh.i;
          break;
        case FT_REAL:
          pass = d.fvalue >= f.selectorLow.f && d.fvalue <= f.selectorHigh.f;
          break;
        default: {
          const auto i = static_cast<int32_t>(e);
          pass = i < values && i >= f.selectorLow.i && i <= f.selectorHigh.i;
          break;
        }
      }
    }
    want[e] = pass ? 1 : 0;
  }
  return want;
}

void runRange(QueryArrays& q, int32_t fieldIndex) {
  const DataField& f = q.table.fields[static_cast<size_t>(fieldIndex)];
  if (rangeIsFull(f)) return passAll(q, fieldIndex);
  if (hasDistinctList(f) && f.type != FT_SIZE) return applyEntryTest(q, fieldIndex, rangeEntries(f));
  const bool missing = f.selector.includeMissing;
  switch (f.type) {
    case FT_INTEGER: {
      const int32_t lo = f.selectorLow.i, hi = f.selectorHigh.i;
      return applyTest(q, fieldIndex,
                       [=](const Cell& c) { return present(c) ? c.value.i >= lo && c.value.i <= hi : missing; });
    }
    case FT_SIZE: {
      const int32_t lo = f.selectorLow.i, hi = f.selectorHigh.i;
      return applyTest(q, fieldIndex, [=, &f](const Cell& c) {
        if (!present(c)) return missing;
        const int32_t bytes = sizeBytesOf(f, c);
        return bytes >= lo && bytes <= hi;
      });
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
  std::vector<uint8_t> want(f.distinct.size(), 0);
  want[static_cast<size_t>(current)] = 1;
  applyEntryTest(q, fieldIndex, want);
}

void runSamples(QueryArrays& q, int32_t fieldIndex) {
  const DataField& f = q.table.fields[static_cast<size_t>(fieldIndex)];
  if (!hasDistinctList(f)) return passAll(q, fieldIndex);
  std::vector<uint8_t> chosen(f.distinct.size());
  for (size_t e = 0; e < chosen.size(); ++e) chosen[e] = (f.distinct[e].flags & kDistinctSelected) ? 1 : 0;
  applyEntryTest(q, fieldIndex, chosen);
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
    return applyEntryTest(q, fieldIndex, matched);
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

bool worthBothCores(const DataTable& table) {
  // Below this many cells a helper thread costs more than it saves.
  constexpr int64_t kBothCoresCells = int64_t{1} << 18;
  return int64_t{std::max(table.rowCount.get(), 0)} * std::clamp(table.fieldCount, 0, kMaxFields) >= kBothCoresCells;
}

void passEverything(QueryArrays& q) {
  const size_t rows = std::min(static_cast<size_t>(std::max(q.table.rowCount.get(), 0)), q.flags.size());
  q.record.failCounts.assign(rows, 0);
  q.record.countedRows = static_cast<int32_t>(rows);
  q.record.entrySamples.clear();
  q.record.pending.clear();
  q.record.allPending = true;
  forEachOnBothCores(std::clamp(q.table.fieldCount, 0, kMaxFields), worthBothCores(q.table), [&](int32_t f) {
    CellArray& cells = q.table.fields[static_cast<size_t>(f)].cells;
    const size_t n = std::min(rows, cells.size());
    for (size_t s = 0; s < n; ++s) cells[s].flags |= kCellPass;
  });
  std::fill(q.flags.begin(), q.flags.begin() + static_cast<std::ptrdiff_t>(rows), kFlagReevaluate);
}

void syncFailCounts(QueryArrays& q) {
  const int32_t rows = q.table.rowCount.get();
  if (q.record.countedRows == rows && q.record.failCounts.size() >= static_cast<size_t>(std::max(rows, 0))) return;
  const size_t n = std::min(static_cast<size_t>(std::max(rows, 0)), q.flags.size());
  q.record.failCounts.assign(n, 0);
  // The rows moved: the groups by entry and the samples waiting are stale.
  q.record.entrySamples.clear();
  q.record.pending.clear();
  q.record.allPending = true;
  for (int32_t f = 0; f < q.table.fieldCount && f < kMaxFields; ++f) {
    const CellArray& cells = q.table.fields[static_cast<size_t>(f)].cells;
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
  auto evaluate = [&](int32_t s) {
    if (flags[s] == kFlagReevaluate) flags[s] = fails[s] == 0 ? 1 : 0;
  };
  if (q.record.allPending) {
    for (int32_t s = 0; s < n; ++s) evaluate(s);
  } else {
    for (int32_t s : q.record.pending)
      if (s >= 0 && s < n) evaluate(s);
  }
  q.record.pending.clear();
  q.record.allPending = false;
  const size_t rows = std::min(static_cast<size_t>(std::max(q.table.rowCount.get(), 0)), q.flags.size());
  int32_t selected = 0;
  for (size_t s = 0; s < rows; ++s) selected += q.flags[s] != 0 ? 1 : 0;
  return selected;
}

}  // namespace vlm::selector
