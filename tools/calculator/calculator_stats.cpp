#include "tools/calculator/calculator_stats.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

#include "data/second_thread.h"

namespace vlm::calculator {
namespace {

using Field = CalculatorStats::Field;

// Field values to visit before a calculation is worth a second thread.
constexpr size_t kTwoThreadWork = size_t{1} << 17;
// Above one changed sample in this many, reading every sample in order is
// cheaper than following a list of the changed ones.
constexpr size_t kManyChangedShare = 8;

void resetValues(Field& f) {
  Field fresh;
  fresh.field = f.field;
  fresh.type = f.type;
  fresh.values = std::move(f.values);
  fresh.present = std::move(f.present);
  fresh.realBlock = f.realBlock;
  fresh.realExponent = f.realExponent;
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

// The least and greatest values among the samples of `bits` that have one.
template <typename T>
bool extremesOf(const Field& f, const std::vector<uint64_t>& bits, T& low, T& high) {
  low = std::numeric_limits<T>::max();
  high = std::numeric_limits<T>::lowest();
  bool any = false;
  const size_t words = std::min(bits.size(), f.present.size());
  for (size_t w = 0; w < words; ++w) {
    for (uint64_t b = bits[w] & f.present[w]; b != 0; b &= b - 1) {
      T v;
      std::memcpy(&v, &f.values[w * 64 + static_cast<size_t>(__builtin_ctzll(b))], sizeof v);
      low = std::min(low, v);
      high = std::max(high, v);
      any = true;
    }
  }
  return any;
}

template <typename T>
void followExtremes(Field& f, const CalculatorStats& stats, T& least, T& greatest) {
  T low, high;
  if (f.leastKnown || f.greatestKnown) {
    if (extremesOf(f, stats.addedBits, low, high)) {
      least = std::min(least, low);
      greatest = std::max(greatest, high);
    }
  }
  if (extremesOf(f, stats.removedBits, low, high)) {
    if (low <= least) f.leastKnown = false;
    if (high >= greatest) f.greatestKnown = false;
  }
}

// The loops over every sample are built twice: for processors with 256-bit
// integer arithmetic and a population count, and for any other. The choice
// is made at the first call, not by ifunc resolvers, which run before a
// sanitizer's runtime is ready.
bool wideVectors() {
  static const bool wide = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
  return wide;
}

// `Loop` (always inlined) compiled for the wide processors.
template <auto Loop, typename... Args>
[[gnu::target("avx2,popcnt")]] auto wideLoop(Args... args) {
  return Loop(args...);
}

// Runs `Loop` in the build that suits this processor.
template <auto Loop, typename... Args>
auto runLoop(Args... args) {
  return wideVectors() ? wideLoop<Loop>(args...) : Loop(args...);
}

// How many samples of `bits` have a value.
[[gnu::always_inline]] inline int64_t presentAmongLoop(const uint64_t* bits, const uint64_t* present, size_t words) {
  int64_t n = 0;
  for (size_t w = 0; w < words; ++w) n += std::popcount(bits[w] & present[w]);
  return n;
}

// The sum of the values times their samples' change (missing values are 0).
[[gnu::always_inline]] inline int64_t changedIntegerSumLoop(const int32_t* values, const int8_t* change, size_t n) {
  int64_t sum = 0;
  for (size_t i = 0; i < n; ++i) {
    const int32_t c = change[i];
    const int64_t v = values[i] & -(c & 1);  // 0 unless the sample changed
    const int64_t negate = c >> 31;          // -1 when it left
    sum += (v ^ negate) - negate;
  }
  return sum;
}

// The same for reals, exactly: four batches in turn, so that consecutive
// values of one exponent do not wait for each other's addition.
void changedRealSumByExponent(const int32_t* values, const int8_t* change, size_t n, ExactSum& sum) {
  ExactSumBatch batch[4];
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    batch[0].addTimes(values[i], change[i]);
    batch[1].addTimes(values[i + 1], change[i + 1]);
    batch[2].addTimes(values[i + 2], change[i + 2]);
    batch[3].addTimes(values[i + 3], change[i + 3]);
  }
  for (; i < n; ++i) batch[0].addTimes(values[i], change[i]);
  batch[0].merge(batch[1]);
  batch[2].merge(batch[3]);
  batch[0].merge(batch[2]);
  batch[0].addTo(sum);
}

// The value, its negative or 0 as the sample joined, left or stayed, made
// with integer operations that run many samples at once.
inline double changedValue(int32_t bits, int8_t change) {
  const int32_t c = change;
  const auto kept = static_cast<uint32_t>(bits) & static_cast<uint32_t>(-(c & 1));
  return static_cast<double>(asFloat(static_cast<int32_t>(kept ^ (static_cast<uint32_t>(c) & 0x80000000u))));
}

// A block's sum in doubles. Every value is a whole multiple of the block's
// unit and the block is short enough that every partial sum stays below
// 2^53 units, so each addition is exact, in any order.
[[gnu::always_inline]] inline double blockSumLoop(const int32_t* values, const int8_t* change, size_t n) {
  constexpr size_t kLanes = 8;
  double lane[kLanes] = {};
  size_t i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    for (size_t l = 0; l < kLanes; ++l) lane[l] += changedValue(values[i + l], change[i + l]);
  }
  for (; i < n; ++i) lane[0] += changedValue(values[i], change[i]);
  double total = 0;
  for (const double v : lane) total += v;
  return total;
}

void changedRealSum(const Field& f, const int8_t* change, size_t n, ExactSum& sum) {
  if (f.realBlock <= 0) {
    changedRealSumByExponent(f.values.data(), change, n, sum);
    return;
  }
  const auto block = static_cast<size_t>(f.realBlock);
  // A block's sum in units of 2^(realExponent - 150) is a whole number below 2^53.
  const int unitShift = 150 - static_cast<int>(f.realExponent);
  for (size_t i = 0; i < n; i += block) {
    const double part = runLoop<blockSumLoop>(f.values.data() + i, change + i, std::min(block, n - i));
    if (part != 0) sum.addScaled(static_cast<int64_t>(std::ldexp(part, unitShift)), f.realExponent);
  }
}

// The exponent range of a real field's values, and how many of them add up
// exactly in a double. Zeros and missing values (0) do not count.
[[gnu::always_inline]] inline void exponentRangeLoop(const int32_t* values, size_t n, uint32_t* least,
                                                      uint32_t* most) {
  uint32_t lowest = *least, highest = *most;
  for (size_t i = 0; i < n; ++i) {
    const auto u = static_cast<uint32_t>(values[i]);
    const bool zero = (u & 0x7FFFFFFF) == 0;
    const uint32_t exponent = (u >> 23) & 0xFF;
    // A subnormal's unit is that of the least exponent.
    lowest = std::min(lowest, zero ? 255u : std::max(exponent, 1u));
    highest = std::max(highest, zero ? 0u : exponent);
  }
  *least = lowest;
  *most = highest;
}

void measureReals(Field& f) {
  uint32_t lowest = 255, highest = 0;
  runLoop<exponentRangeLoop>(f.values.data(), f.values.size(), &lowest, &highest);
  if (highest == 0xFF) {
    f.realBlock = 0;  // an infinite or undefined value: only the exponent sums skip it
    return;
  }
  if (highest == 0) {
    f.realBlock = 1 << 16;
    f.realExponent = 1;
    return;
  }
  // A value is below 2^(24 + span) units; a block of 2^(29 - span) of them
  // stays below 2^53.
  const uint32_t span = highest - lowest;
  f.realBlock = span <= 26 ? 1 << std::min<uint32_t>(29 - span, 16) : 0;
  f.realExponent = lowest;
}

// Takes many changed samples into the field's statistics by reading every
// sample's change in order. The extremes are followed only when a row asks
// for them; otherwise they are found again when one does.
void applyEveryChange(Field& f, const CalculatorStats& stats, bool wantExtremes) {
  const size_t words = std::min(f.present.size(), stats.addedBits.size());
  const int64_t joined = runLoop<presentAmongLoop>(stats.addedBits.data(), f.present.data(), words);
  const int64_t left = runLoop<presentAmongLoop>(stats.removedBits.data(), f.present.data(), words);
  if (joined == 0 && left == 0) return;
  const size_t n = std::min(f.values.size(), stats.change.size());
  if (f.type == FT_INTEGER)
    f.integerSum += runLoop<changedIntegerSumLoop>(f.values.data(), stats.change.data(), n);
  else
    changedRealSum(f, stats.change.data(), n, f.realSum);
  f.count += joined - left;
  if (f.count <= 0) {
    resetValues(f);  // nothing is left: the start values are exact again
    return;
  }
  if (!wantExtremes) {
    f.leastKnown = f.greatestKnown = false;
  } else if (f.type == FT_INTEGER) {
    followExtremes(f, stats, f.integerLeast, f.integerGreatest);
  } else {
    followExtremes(f, stats, f.realLeast, f.realGreatest);
  }
}

// Counts and sums everything afresh from the selected samples.
void scanField(Field& f, const DataTable& table, const SelectedMarks& selected) {
  resetValues(f);
  const CellArray& cells = table.fields[static_cast<size_t>(f.field)].cells;
  const size_t n = std::min(selected.size(), cells.size());
  f.values.resize(selected.size());
  f.present.assign((selected.size() + 63) / 64, 0);
  for (size_t i = 0; i < n; ++i) {
    const uint32_t present = cells[i].flags & kCellPresent;
    f.values[i] = present ? cells[i].value.i : 0;
    f.present[i >> 6] |= static_cast<uint64_t>(present) << (i & 63);
  }
  std::fill(f.values.begin() + static_cast<std::ptrdiff_t>(n), f.values.end(), 0);
  if (f.type == FT_REAL) measureReals(f);
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
void rescanExtremes(Field& f, const SelectedMarks& selected) {
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

// The low bits of the eight bytes of `x` (each 0 or 1) as eight bits.
uint64_t packBytes(uint64_t x) { return (x * 0x0102040810204080ull) >> 56; }

// Eight bits spread over eight bytes, each 0 or 1: the inverse of packBytes.
constexpr std::array<uint64_t, 256> kSpread = [] {
  std::array<uint64_t, 256> t{};
  for (uint64_t b = 0; b < 256; ++b)
    for (int j = 0; j < 8; ++j) t[b] |= ((b >> j) & 1) << (8 * j);
  return t;
}();

// Compares the flags with the selection of the last update, eight samples at
// a time: a bit per sample that joined or left, and a list of those samples
// while they are few.
void diffSelection(CalculatorStats& stats, const std::vector<uint8_t>& flags, size_t rows) {
  stats.added.clear();
  stats.removed.clear();
  stats.addedBits.resize((rows + 63) / 64);
  stats.removedBits.resize((rows + 63) / 64);
  // Eight samples' bits at a time; every byte is written below.
  auto* joinedBytes = reinterpret_cast<uint8_t*>(stats.addedBits.data());
  auto* leftBytes = reinterpret_cast<uint8_t*>(stats.removedBits.data());
  uint8_t* seen = stats.selected.data();
  const size_t flagged = std::min(rows, flags.size());
  const uint8_t* now = flags.data();
  const size_t listLimit = rows / kManyChangedShare;
  bool listing = true;
  int64_t joinedCount = 0, leftCount = 0;
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  size_t i = 0;
  for (; i + 8 <= flagged; i += 8) {
    uint64_t x = 0, old = 0;
    std::memcpy(&x, now + i, 8);
    std::memcpy(&old, seen + i, 8);
    const uint64_t nonZero = ((((x & kLow7) + kLow7) | x) >> 7) & kOnes;  // 1 in each non-zero byte
    if (nonZero == old) {
      joinedBytes[i >> 3] = leftBytes[i >> 3] = 0;
      continue;
    }
    std::memcpy(seen + i, &nonZero, 8);
    const uint64_t joinedBits = packBytes(nonZero & ~old), leftBits = packBytes(old & ~nonZero);
    joinedBytes[i >> 3] = static_cast<uint8_t>(joinedBits);
    leftBytes[i >> 3] = static_cast<uint8_t>(leftBits);
    joinedCount += std::popcount(joinedBits);
    leftCount += std::popcount(leftBits);
    if (!listing) continue;
    for (uint64_t d = joinedBits | leftBits; d != 0; d &= d - 1) {
      const auto bit = static_cast<size_t>(std::countr_zero(d));
      ((joinedBits >> bit) & 1 ? stats.added : stats.removed).push_back(static_cast<int32_t>(i + bit));
    }
    listing = stats.added.size() + stats.removed.size() <= listLimit;
  }
  if (!stats.addedBits.empty()) {  // no rows: no bits, and no memory to clear
    std::memset(joinedBytes + (i >> 3), 0, stats.addedBits.size() * 8 - (i >> 3));
    std::memset(leftBytes + (i >> 3), 0, stats.removedBits.size() * 8 - (i >> 3));
  }
  for (; i < rows; ++i) {
    const uint8_t s = i < flagged && now[i] != 0 ? 1 : 0;
    if (s == seen[i]) continue;
    seen[i] = s;
    (s ? stats.addedBits : stats.removedBits)[i >> 6] |= uint64_t{1} << (i & 63);
    ++(s ? joinedCount : leftCount);
    if (listing) (s ? stats.added : stats.removed).push_back(static_cast<int32_t>(i));
  }
  stats.manyChanged = !listing || stats.added.size() + stats.removed.size() > listLimit;
  stats.selectedCount += joinedCount - leftCount;
}

// Every sample's change spelled out from the bits, for reading in order.
void spellChanges(CalculatorStats& stats, size_t rows) {
  stats.change.resize(rows);
  const auto* joinedBytes = reinterpret_cast<const uint8_t*>(stats.addedBits.data());
  const auto* leftBytes = reinterpret_cast<const uint8_t*>(stats.removedBits.data());
  int8_t* change = stats.change.data();
  for (size_t k = 0; k * 8 < rows; ++k) {
    const uint64_t bytes = kSpread[joinedBytes[k]] | kSpread[leftBytes[k]] * 0xFF;  // +1, or -1 as 0xFF
    std::memcpy(change + k * 8, &bytes, std::min<size_t>(8, rows - k * 8));
  }
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
  if (stats.manyChanged) spellChanges(stats, static_cast<size_t>(rows));

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
    work += carried[k] && !stats.manyChanged ? stats.added.size() + stats.removed.size() : static_cast<size_t>(rows);
  const auto bring = [&](size_t k) {
    Field& f = kept[k];
    bool least = false, greatest = false;
    for (const FieldNeed& need : needs) {
      if (need.field != f.field) continue;
      least |= need.least;
      greatest |= need.greatest;
    }
    if (!carried[k])
      scanField(f, table, stats.selected);
    else if (stats.manyChanged)
      applyEveryChange(f, stats, least || greatest);
    else
      applyChanges(f, stats.added, stats.removed);
    if ((least && !f.leastKnown) || (greatest && !f.greatestKnown)) rescanExtremes(f, stats.selected);
  };
  if (kept.size() > 1 && work >= kTwoThreadWork && SecondThread::available()) {
    // The fields are shared so both threads finish together: a real field
    // whose exact sum gathers every value by its exponent costs about four
    // times an integer one.
    std::vector<size_t> order(kept.size());
    std::vector<int> cost(kept.size());
    for (size_t k = 0; k < kept.size(); ++k) {
      order[k] = k;
      const bool real = kept[k].type == FT_REAL;
      if (!carried[k])
        cost[k] = real ? 4 : 1;
      else if (stats.manyChanged)
        cost[k] = real && kept[k].realBlock == 0 ? 4 : 1;
      else
        cost[k] = 1;
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return cost[a] > cost[b]; });
    std::vector<size_t> mine, theirs;
    int mineCost = 0, theirCost = 0;
    for (const size_t k : order) {
      if (mineCost <= theirCost) {
        mine.push_back(k);
        mineCost += cost[k];
      } else {
        theirs.push_back(k);
        theirCost += cost[k];
      }
    }
    SecondThread second([&] {
      for (const size_t k : theirs) bring(k);
    });
    for (const size_t k : mine) bring(k);
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
