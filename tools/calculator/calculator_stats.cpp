#include "tools/calculator/calculator_stats.h"

#include <algorithm>
#include <cstring>

namespace vlm::calculator {
namespace {

using Field = CalculatorStats::Field;

void resetValues(Field& f) {
  const int32_t field = f.field;
  const uint8_t type = f.type;
  f = Field{};
  f.field = field;
  f.type = type;
}

void addValue(Field& f, const Cell& c) {
  ++f.count;
  if (f.type == FT_INTEGER) {
    const int32_t v = c.value.i;
    f.integerSum += v;
    if (f.leastKnown) f.integerLeast = std::min(f.integerLeast, v);
    if (f.greatestKnown) f.integerGreatest = std::max(f.integerGreatest, v);
  } else {
    const float v = c.value.f;
    f.realSum.add(v);
    if (f.leastKnown) f.realLeast = std::min(f.realLeast, v);
    if (f.greatestKnown) f.realGreatest = std::max(f.realGreatest, v);
  }
}

void removeValue(Field& f, const Cell& c) {
  if (--f.count <= 0) {
    resetValues(f);  // nothing is left: the start values are exact again
    return;
  }
  if (f.type == FT_INTEGER) {
    const int32_t v = c.value.i;
    f.integerSum -= v;
    if (v <= f.integerLeast) f.leastKnown = false;
    if (v >= f.integerGreatest) f.greatestKnown = false;
  } else {
    const float v = c.value.f;
    f.realSum.subtract(v);
    if (v <= f.realLeast) f.leastKnown = false;
    if (v >= f.realGreatest) f.greatestKnown = false;
  }
}

// Counts and sums everything afresh from the selected samples.
void scanField(Field& f, const DataTable& table, const std::vector<uint8_t>& selected) {
  resetValues(f);
  const std::vector<Cell>& cells = table.fields[static_cast<size_t>(f.field)].cells;
  const size_t n = std::min(selected.size(), cells.size());
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
    for (size_t i = 0; i < n; ++i) {
      if (!(sel[i] & cell[i].flags & kCellPresent)) continue;
      const float v = cell[i].value.f;
      ++count;
      f.realSum.add(v);
      least = std::min(least, v);
      greatest = std::max(greatest, v);
    }
    f.count = count;
    f.realLeast = least;
    f.realGreatest = greatest;
  }
}

// Finds the least or greatest value again after it left the selection.
void rescanExtremes(Field& f, const DataTable& table, const std::vector<uint8_t>& selected) {
  const std::vector<Cell>& cells = table.fields[static_cast<size_t>(f.field)].cells;
  const size_t n = std::min(selected.size(), cells.size());
  if (f.type == FT_INTEGER) {
    int32_t least = std::numeric_limits<int32_t>::max(), greatest = std::numeric_limits<int32_t>::min();
    for (size_t i = 0; i < n; ++i) {
      if (!(selected[i] & cells[i].flags & kCellPresent)) continue;
      least = std::min(least, cells[i].value.i);
      greatest = std::max(greatest, cells[i].value.i);
    }
    f.integerLeast = least;
    f.integerGreatest = greatest;
  } else {
    float least = std::numeric_limits<float>::max(), greatest = std::numeric_limits<float>::lowest();
    for (size_t i = 0; i < n; ++i) {
      if (!(selected[i] & cells[i].flags & kCellPresent)) continue;
      least = std::min(least, cells[i].value.f);
      greatest = std::max(greatest, cells[i].value.f);
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
  for (const FieldNeed& need : needs) {
    if (need.field < 0 || need.field >= table.fieldCount) continue;
    const uint8_t type = table.fields[static_cast<size_t>(need.field)].type;
    if (type != FT_INTEGER && type != FT_REAL) continue;
    if (std::any_of(kept.begin(), kept.end(), [&](const Field& f) { return f.field == need.field; })) continue;
    auto old = std::find_if(stats.fields.begin(), stats.fields.end(),
                            [&](const Field& f) { return f.field == need.field && f.type == type; });
    if (old != stats.fields.end()) {
      Field f = *old;
      const std::vector<Cell>& cells = table.fields[static_cast<size_t>(f.field)].cells;
      for (int32_t s : stats.added) {
        if (static_cast<size_t>(s) < cells.size() && (cells[static_cast<size_t>(s)].flags & kCellPresent))
          addValue(f, cells[static_cast<size_t>(s)]);
      }
      for (int32_t s : stats.removed) {
        if (static_cast<size_t>(s) < cells.size() && (cells[static_cast<size_t>(s)].flags & kCellPresent))
          removeValue(f, cells[static_cast<size_t>(s)]);
      }
      kept.push_back(f);
    } else {
      Field f;
      f.field = need.field;
      f.type = type;
      scanField(f, table, stats.selected);
      kept.push_back(f);
    }
  }
  for (Field& f : kept) {
    bool least = false, greatest = false;
    for (const FieldNeed& need : needs) {
      if (need.field != f.field) continue;
      least |= need.least;
      greatest |= need.greatest;
    }
    if ((least && !f.leastKnown) || (greatest && !f.greatestKnown)) rescanExtremes(f, table, stats.selected);
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
