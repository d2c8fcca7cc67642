#include "tools/calculator/calculator_stats.h"

#include <algorithm>
#include <cstring>

#include "data/second_thread.h"

namespace vlm::calculator {
namespace {

using Field = CalculatorStats::Field;

// Field values to visit before a calculation is worth a second thread.
constexpr size_t kTwoThreadWork = size_t{1} << 17;

void resetValues(Field& f) {
  Field fresh;
  fresh.field = f.field;
  fresh.type = f.type;
  fresh.values = std::move(f.values);
  fresh.present = std::move(f.present);
  f = std::move(fresh);
}

float asFloat(int32_t bits) {
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// Takes the samples of `list` (ascending) into the field's statistics, or
// out of them. A field at a time, so its values are read in order.
template <typename T>
void applyList(Field& f, const std::vector<int32_t>& list, bool adding, T& least, T& greatest,
               const auto& addToSum) {
  int64_t count = 0;
  T low = std::numeric_limits<T>::max(), high = std::numeric_limits<T>::lowest();
  const uint64_t* present = f.present.data();
  const int32_t* values = f.values.data();
  const size_t size = f.values.size();
  for (const int32_t sample : list) {
    const auto s = static_cast<size_t>(sample);
    if (s >= size) break;  // the list ascends
    if (((present[s >> 6] >> (s & 63)) & 1) == 0) continue;
    T v;
    std::memcpy(&v, &values[s], sizeof v);
    ++count;
    addToSum(v);
    low = std::min(low, v);
    high = std::max(high, v);
  }
  if (count == 0) return;
  if (adding) {
    f.count += count;
    if (f.leastKnown) least = std::min(least, low);
    if (f.greatestKnown) greatest = std::max(greatest, high);
    return;
  }
  f.count -= count;
  if (f.count <= 0) {
    resetValues(f);  // nothing is left: the start values are exact again
    return;
  }
  // A value that left at or beyond an extreme may have been the extreme.
  if (low <= least) f.leastKnown = false;
  if (high >= greatest) f.greatestKnown = false;
}

void applyChanges(Field& f, const std::vector<int32_t>& added, const std::vector<int32_t>& removed) {
  if (f.type == FT_INTEGER) {
    int64_t sum = 0;
    const auto addToSum = [&sum](int32_t v) { sum += v; };
    applyList(f, added, true, f.integerLeast, f.integerGreatest, addToSum);
    f.integerSum += sum;
    sum = 0;
    applyList(f, removed, false, f.integerLeast, f.integerGreatest, addToSum);
    if (f.count > 0) f.integerSum -= sum;
  } else {
    ExactSumBatch given;
    applyList(f, added, true, f.realLeast, f.realGreatest, [&given](float v) { given.add(v); });
    given.addTo(f.realSum);
    ExactSumBatch taken;
    applyList(f, removed, false, f.realLeast, f.realGreatest, [&taken](float v) { taken.add(v); });
    if (f.count > 0) taken.subtractFrom(f.realSum);
  }
}

// Counts and sums everything afresh from the selected samples.
void scanField(Field& f, const DataTable& table, const std::vector<uint8_t>& selected) {
  resetValues(f);
  const CellArray& cells = table.fields[static_cast<size_t>(f.field)].cells;
  const size_t n = std::min(selected.size(), cells.size());
  f.values.resize(selected.size());
  f.present.assign((selected.size() + 63) / 64, 0);
  for (size_t i = 0; i < n; ++i) {
    f.values[i] = cells[i].value.i;
    f.present[i >> 6] |= static_cast<uint64_t>(cells[i].flags & kCellPresent) << (i & 63);
  }
  const uint8_t* sel = selected.data();
  const Cell* cell = cells.data();
  if (f.type == FT_INTEGER) {
    int64_t count = 0, sum = 0;
    int32_t least = f.integerLeast, greatest = f.integerGreatest;
    for (size_t i = 0; i < n; ++i) {
      if (!(sel[i] & cell[i].flags & kCellPresent)) continue;
      const int32_t v = cell[i].value.i;
      ++count;
      sum += v;
      least = std::min(least, v);
      greatest = std::max(greatest, v);
    }
    f.count = count;
    f.integerSum = sum;
    f.integerLeast = least;
    f.integerGreatest = greatest;
  } else {
    int64_t count = 0;
    float least = f.realLeast, greatest = f.realGreatest;
    ExactSumBatch sum;
    for (size_t i = 0; i < n; ++i) {
      if (!(sel[i] & cell[i].flags & kCellPresent)) continue;
      const float v = cell[i].value.f;
      ++count;
      sum.add(v);
      least = std::min(least, v);
      greatest = std::max(greatest, v);
    }
    sum.addTo(f.realSum);
    f.count = count;
    f.realLeast = least;
    f.realGreatest = greatest;
  }
}

// Finds the least or greatest value again after it left the selection.
void rescanExtremes(Field& f, const std::vector<uint8_t>& selected) {
  const size_t n = std::min(selected.size(), f.values.size());
  const auto has = [&f, &selected](size_t i) { return selected[i] && ((f.present[i >> 6] >> (i & 63)) & 1); };
  if (f.type == FT_INTEGER) {
    int32_t least = std::numeric_limits<int32_t>::max(), greatest = std::numeric_limits<int32_t>::min();
    for (size_t i = 0; i < n; ++i) {
      if (!has(i)) continue;
      least = std::min(least, f.values[i]);
      greatest = std::max(greatest, f.values[i]);
    }
    f.integerLeast = least;
    f.integerGreatest = greatest;
  } else {
    float least = std::numeric_limits<float>::max(), greatest = std::numeric_limits<float>::lowest();
    for (size_t i = 0; i < n; ++i) {
      if (!has(i)) continue;
      least = std::min(least, asFloat(f.values[i]));
      greatest = std::max(greatest, asFloat(f.values[i]));
    }
    f.realLeast = least;
    f.realGreatest = greatest;
  }
  f.leastKnown = f.greatestKnown = true;
}

// Compares the flags with the selection of the last update, eight samples at
// a time, and lists the samples that joined or left it.
void diffSelection(CalculatorStats& stats, const std::vector<uint8_t>& flags, size_t rows) {
  stats.added.clear();
  stats.removed.clear();
  uint8_t* seen = stats.selected.data();
  const size_t flagged = std::min(rows, flags.size());
  const uint8_t* now = flags.data();
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  size_t i = 0;
  auto note = [&stats](size_t sample, bool selected) {
    (selected ? stats.added : stats.removed).push_back(static_cast<int32_t>(sample));
  };
  for (; i + 8 <= flagged; i += 8) {
    uint64_t x = 0, old = 0;
    std::memcpy(&x, now + i, 8);
    std::memcpy(&old, seen + i, 8);
    const uint64_t nonZero = ((((x & kLow7) + kLow7) | x) >> 7) & kOnes;  // 1 in each non-zero byte
    if (nonZero == old) continue;
    std::memcpy(seen + i, &nonZero, 8);
    for (uint64_t d = nonZero ^ old; d != 0; d &= d - 1) {
      const size_t byte = static_cast<size_t>(__builtin_ctzll(d)) >> 3;
      note(i + byte, ((nonZero >> (byte * 8)) & 1) != 0);
    }
  }
  for (; i < rows; ++i) {
    const uint8_t s = i < flagged && now[i] != 0 ? 1 : 0;
    if (s == seen[i]) continue;
    seen[i] = s;
    note(i, s != 0);
  }
  stats.selectedCount += static_cast<int64_t>(stats.added.size()) - static_cast<int64_t>(stats.removed.size());
}

}  // namespace

void updateStats(CalculatorStats& stats, const DataTable& table, const std::vector<uint8_t>& flags,
                 uint64_t generation, const std::vector<FieldNeed>& needs) {
  const int32_t rows = std::max(table.rowCount.get(), 0);
  if (stats.generation != generation || stats.rowCount != rows || stats.fieldCount != table.fieldCount) {
    stats.generation = generation;
    stats.rowCount = rows;
    stats.fieldCount = table.fieldCount;
    stats.selected.assign(static_cast<size_t>(rows), 0);
    stats.selectedCount = 0;
    stats.fields.clear();
  }
  diffSelection(stats, flags, static_cast<size_t>(rows));

  std::vector<Field> kept;
  kept.reserve(needs.size());
  std::vector<uint8_t> carried;  // per kept field: its statistics go on from the last update
  for (const FieldNeed& need : needs) {
    if (need.field < 0 || need.field >= table.fieldCount) continue;
    const uint8_t type = table.fields[static_cast<size_t>(need.field)].type;
    if (type != FT_INTEGER && type != FT_REAL) continue;
    if (std::any_of(kept.begin(), kept.end(), [&](const Field& f) { return f.field == need.field; })) continue;
    auto old = std::find_if(stats.fields.begin(), stats.fields.end(),
                            [&](const Field& f) { return f.field == need.field && f.type == type; });
    carried.push_back(old != stats.fields.end());
    if (carried.back()) {
      kept.push_back(std::move(*old));
    } else {
      Field f;
      f.field = need.field;
      f.type = type;
      kept.push_back(std::move(f));
    }
  }
  // Each carried field takes the changed samples; new fields are counted
  // afresh. A large share goes to the second core, half the fields each.
  size_t work = 0;
  for (size_t k = 0; k < kept.size(); ++k)
    work += carried[k] ? stats.added.size() + stats.removed.size() : static_cast<size_t>(rows);
  const auto bring = [&](size_t k) {
    Field& f = kept[k];
    if (carried[k])
      applyChanges(f, stats.added, stats.removed);
    else
      scanField(f, table, stats.selected);
    bool least = false, greatest = false;
    for (const FieldNeed& need : needs) {
      if (need.field != f.field) continue;
      least |= need.least;
      greatest |= need.greatest;
    }
    if ((least && !f.leastKnown) || (greatest && !f.greatestKnown)) rescanExtremes(f, stats.selected);
  };
  if (kept.size() > 1 && work >= kTwoThreadWork && SecondThread::available()) {
    SecondThread second([&] {
      for (size_t k = 1; k < kept.size(); k += 2) bring(k);
    });
    for (size_t k = 0; k < kept.size(); k += 2) bring(k);
    second.join();
  } else {
    for (size_t k = 0; k < kept.size(); ++k) bring(k);
  }
  stats.fields = std::move(kept);
}

const CalculatorStats::Field* fieldStats(const CalculatorStats& stats, int32_t field) {
  for (const CalculatorStats::Field& f : stats.fields) {
    if (f.field == field) return &f;
  }
  return nullptr;
}

}  // namespace vlm::calculator
