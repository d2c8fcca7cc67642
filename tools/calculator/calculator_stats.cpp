#include "tools/calculator/calculator_stats.h"

#include <algorithm>
#include <cstring>

namespace vlm::calculator {
namespace {

using Field = CalculatorStats::Field;

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

void addValue(Field& f, int32_t bits) {
  ++f.count;
  if (f.type == FT_INTEGER) {
    const int32_t v = bits;
    f.integerSum += v;
    if (f.leastKnown) f.integerLeast = std::min(f.integerLeast, v);
    if (f.greatestKnown) f.integerGreatest = std::max(f.integerGreatest, v);
  } else {
    const float v = asFloat(bits);
    f.realSum.add(v);
    if (f.leastKnown) f.realLeast = std::min(f.realLeast, v);
    if (f.greatestKnown) f.realGreatest = std::max(f.realGreatest, v);
  }
}

void removeValue(Field& f, int32_t bits) {
  if (--f.count <= 0) {
    resetValues(f);  // nothing is left: the start values are exact again
    return;
  }
  if (f.type == FT_INTEGER) {
    const int32_t v = bits;
    f.integerSum -= v;
    if (v <= f.integerLeast) f.leastKnown = false;
    if (v >= f.integerGreatest) f.greatestKnown = false;
  } else {
    const float v = asFloat(bits);
    f.realSum.subtract(v);
    if (v <= f.realLeast) f.leastKnown = false;
    if (v >= f.realGreatest) f.greatestKnown = false;
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
  std::vector<size_t> carried;  // kept fields whose statistics go on from the last update
  for (const FieldNeed& need : needs) {
    if (need.field < 0 || need.field >= table.fieldCount) continue;
    const uint8_t type = table.fields[static_cast<size_t>(need.field)].type;
    if (type != FT_INTEGER && type != FT_REAL) continue;
    if (std::any_of(kept.begin(), kept.end(), [&](const Field& f) { return f.field == need.field; })) continue;
    auto old = std::find_if(stats.fields.begin(), stats.fields.end(),
                            [&](const Field& f) { return f.field == need.field && f.type == type; });
    if (old != stats.fields.end()) {
      carried.push_back(kept.size());
      kept.push_back(std::move(*old));
    } else {
      Field f;
      f.field = need.field;
      f.type = type;
      scanField(f, table, stats.selected);
      kept.push_back(f);
    }
  }
  // The changed samples, each across every carried field, read from the
  // fields' own copies; the values of samples a few steps ahead are fetched
  // meanwhile, so the misses overlap.
  if (!carried.empty()) {
    constexpr size_t kAhead = 8;
    for (const bool adding : {true, false}) {
      const std::vector<int32_t>& list = adding ? stats.added : stats.removed;
      for (size_t i = 0; i < list.size(); ++i) {
        if (i + kAhead < list.size()) {
          const auto ahead = static_cast<size_t>(list[i + kAhead]);
          for (size_t k : carried)
            if (ahead < kept[k].values.size()) __builtin_prefetch(kept[k].values.data() + ahead);
        }
        const auto s = static_cast<size_t>(list[i]);
        for (size_t k : carried) {
          Field& f = kept[k];
          if (s >= f.values.size() || !((f.present[s >> 6] >> (s & 63)) & 1)) continue;
          if (adding)
            addValue(f, f.values[s]);
          else
            removeValue(f, f.values[s]);
        }
      }
    }
  }
  for (Field& f : kept) {
    bool least = false, greatest = false;
    for (const FieldNeed& need : needs) {
      if (need.field != f.field) continue;
      least |= need.least;
      greatest |= need.greatest;
    }
    if ((least && !f.leastKnown) || (greatest && !f.greatestKnown)) rescanExtremes(f, stats.selected);
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
