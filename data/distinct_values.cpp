#include "data/distinct_values.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <new>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "data/second_thread.h"
#include "data/text_pool.h"
#include "platform/big_allocator.h"
#include "platform/report.h"

namespace vlm {
namespace {

// Below this many cells a second thread costs more than it saves.
constexpr int64_t kParallelCells = 200000;

// A key that sorts floats in numeric order (and -0 with +0).
uint32_t floatKey(float f) {
  if (f == 0.0f) f = 0.0f;
  const uint32_t bits = std::bit_cast<uint32_t>(f);
  return (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
}

bool earlierTime(const TimeEntry& a, const TimeEntry& b) {
  auto key = [](const TimeEntry& t) {
    return std::tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
  };
  return key(a) < key(b);
}

struct Messages {
  const char* allocation;
  const char* shrink;
};

Messages messagesFor(uint8_t type) {
  switch (type) {
    case FT_INTEGER:
    case FT_REAL:
      return {"Can't allocate memory for sample processing. (#1)", "Can't allocate memory for sample processing. (#2i)"};
    case FT_DATETIME:
      return {"Can't allocate memory for sample processing.", "Can't allocate memory for sample processing. (#2t)"};
    default:
      return {"Can't allocate memory for sample processing.", "Can't allocate memory for sample processing. (#2s)"};
  }
}

// Sorts (key, sample) pairs by key in three stable 11-bit passes: linear in
// the samples, where a comparison sort of a million keys costs several times more.
// Sort keys: a few megabytes for each field of a big table.
using SortItems = std::vector<uint64_t, platform::FilledBigAllocator<uint64_t>>;

// Room for the keys while they are sorted, left uncleared: every pass writes
// all it reads.
class SortBuffer {
 public:
  SortBuffer() = default;
  ~SortBuffer() { platform::bigFree(data_, capacity_ * sizeof(uint64_t)); }
  SortBuffer(const SortBuffer&) = delete;
  SortBuffer& operator=(const SortBuffer&) = delete;
  uint64_t* room(size_t n) {
    if (n > capacity_) {
      platform::bigFree(data_, capacity_ * sizeof(uint64_t));
      data_ = nullptr;
      capacity_ = 0;
      data_ = static_cast<uint64_t*>(platform::bigAllocateFilled(n * sizeof(uint64_t)));
      capacity_ = n;
    }
    return data_;
  }

 private:
  uint64_t* data_ = nullptr;
  size_t capacity_ = 0;
};

// The sort keys of one thread, kept from field to field: fresh memory for
// every field would be cleared by the system each time.
struct SortScratch {
  SortItems items;
  SortBuffer buffer;
};

// Returns where the sorted keys are: items' data or the scratch buffer's;
// `moved` says whether any key left its place (else they are in sample order).
const uint64_t* radixSortByKey(SortItems& items, SortBuffer& buffer, bool& moved) {
  moved = false;
  // A column that rises with the rows (an id) is in order already.
  if (std::is_sorted(items.begin(), items.end())) return items.data();
  const size_t n = items.size();
  uint64_t* from = items.data();
  uint64_t* to = buffer.room(n);
  for (int shift = 32; shift < 65; shift += 11) {
    size_t counts[2049] = {};
    for (size_t i = 0; i < n; ++i) ++counts[((from[i] >> shift) & 0x7FF) + 1];
    // Keys that all share these bits are in order for them already.
    if (std::find(counts + 1, counts + 2049, n) != counts + 2049) continue;
    for (size_t d = 1; d < 2049; ++d) counts[d] += counts[d - 1];
    for (size_t i = 0; i < n; ++i) to[counts[(from[i] >> shift) & 0x7FF]++] = from[i];
    std::swap(from, to);
    moved = true;
  }
  return from;
}

// A text's first eight bytes as a number that orders as the bytes do (a
// shorter text is padded with zeros): texts whose numbers differ are in the
// order of their numbers, and so are texts that begin alike once the same
// beginning is cut off every one.
uint64_t textPrefix(std::string_view text) {
  uint64_t prefix = 0;
  const size_t n = std::min<size_t>(text.size(), 8);
  for (size_t i = 0; i < n; ++i) prefix |= uint64_t{static_cast<unsigned char>(text[i])} << (56 - 8 * i);
  return prefix;
}

// A count per value or per table index: as long as the field on a column of
// unique values, and written whole as soon as made.
using CountArray = std::vector<int32_t, platform::FilledBigAllocator<int32_t>>;
// The table indexes a field uses, sized once they are counted.
using IndexList = std::vector<int32_t, platform::FilledBigAllocator<int32_t>>;

// A field of whole numbers within this span of values (and not wider than the
// table is long) is counted by value rather than sorted.
constexpr int64_t kCountedSpan = int64_t{1} << 24;

// Whole numbers of a narrow span: count each value, list the values that
// occur in order, and point each sample at its entry through a table by
// value; every pass over the cells goes in sample order. Returns the
// samples without a value, or -1 (nothing changed) when the span is too wide.
int32_t buildCounted(DataField& field, int32_t rows, DistinctList& list) {
  Cell* cells = field.cells.data();
  int32_t low = INT32_MAX, high = INT32_MIN;
  for (int32_t s = 0; s < rows; ++s) {
    if (!(cells[s].flags & kCellPresent)) continue;
    low = std::min(low, cells[s].value.i);
    high = std::max(high, cells[s].value.i);
  }
  if (low > high) {
    for (int32_t s = 0; s < rows; ++s) cells[s].engineWord = -1;
    return rows;
  }
  const int64_t span = int64_t{high} - low + 1;
  if (span > kCountedSpan || span > int64_t{rows}) return -1;
  CountArray counts(static_cast<size_t>(span), 0);
  for (int32_t s = 0; s < rows; ++s)
    if (cells[s].flags & kCellPresent) ++counts[static_cast<size_t>(int64_t{cells[s].value.i} - low)];
  size_t used = 0;
  for (int32_t c : counts) used += c > 0;
  list.reserve(used + 1);
  // counts becomes the entry index of each value.
  for (size_t v = 0; v < counts.size(); ++v) {
    if (counts[v] == 0) continue;
    DistinctValue entry;
    entry.value = static_cast<int32_t>(int64_t{low} + static_cast<int64_t>(v));
    entry.fvalue = static_cast<float>(entry.value);
    entry.word = counts[v];
    counts[v] = static_cast<int32_t>(list.size());
    list.push_back(entry);
  }
  int32_t missing = 0;
  for (int32_t s = 0; s < rows; ++s) {
    const bool present = cells[s].flags & kCellPresent;
    cells[s].engineWord = present ? counts[static_cast<size_t>(int64_t{cells[s].value.i} - low)] : -1;
    missing += !present;
  }
  return missing;
}

// Samples per block when entries are written back to a sorted field's cells:
// a block's cells stay within a core's second-level cache. Fields shorter
// than kBlockedRows (3 MiB of cells) lie in the shared cache anyway and are
// written directly; a million samples' cells (12 MB) do not, and written in
// the order of their values each costs a miss (a field of a million reals:
// 63 ms direct against 38 ms blocked here).
constexpr int kBlockBits = 16;
constexpr int32_t kBlockedRows = int32_t{1} << 18;

// The value a sort key stands for: keys are one to one with the cell's bits,
// but for the two zeros of a real, which share one key.
int32_t keyValue(uint64_t key, bool real) {
  const auto k = static_cast<uint32_t>(key);
  if (!real) return static_cast<int32_t>(k ^ 0x80000000u);
  return static_cast<int32_t>((k & 0x80000000u) ? (k & 0x7FFFFFFFu) : ~k);
}

// The list entry for the values of one sort key. `first` is the first
// sample with the key: the zeros' entry keeps the zero it holds.
template <class Key>
DistinctValue numberEntry(uint64_t k, bool real, const Cell& first, Key key) {
  DistinctValue entry;
  entry.value = real && k == key(Cell{}) ? first.value.i : keyValue(k, real);
  entry.fvalue = real ? std::bit_cast<float>(entry.value) : static_cast<float>(entry.value);
  return entry;
}

// At most this many values are counted in a table by value (below); a field
// with more is sorted.
constexpr size_t kHashedValues = size_t{1} << 14;

// Numbers of few values (a price list, a ratio of four decimals): count each
// value in a table of twice kHashedValues slots, which stays in cache, sort
// only the values met, and point each sample at its entry through the table.
// Two passes over the cells in sample order, where the sort moves every
// sample's key three times. Returns the samples without a value, or -1
// (nothing changed) as soon as a value more than kHashedValues turns up.
template <class Key>
int32_t buildHashed(DataField& field, int32_t rows, Key key, DistinctList& list) {
  constexpr int kSlotBits = 15;
  struct Slot {
    uint32_t key = 0;
    int32_t count = 0;   // once counted, the entry index
    int32_t first = -1;  // the first sample with this value; -1: an empty slot
  };
  static_assert(kHashedValues * 2 == size_t{1} << kSlotBits);
  std::vector<Slot, platform::FilledBigAllocator<Slot>> slots(size_t{1} << kSlotBits);
  const auto slotOf = [&slots](uint32_t k) -> Slot& {
    size_t at = (k * 0x9E3779B1u) >> (32 - kSlotBits);
    while (slots[at].first >= 0 && slots[at].key != k) at = (at + 1) & (slots.size() - 1);
    return slots[at];
  };
  Cell* cells = field.cells.data();
  size_t used = 0;
  for (int32_t s = 0; s < rows; ++s) {
    if (!(cells[s].flags & kCellPresent)) continue;
    const uint32_t k = key(cells[s]);
    Slot& slot = slotOf(k);
    if (slot.first < 0) {
      if (used == kHashedValues) return -1;
      ++used;
      slot.key = k;
      slot.first = s;
    }
    ++slot.count;
  }
  std::vector<Slot*> met;
  met.reserve(used);
  for (Slot& slot : slots)
    if (slot.first >= 0) met.push_back(&slot);
  std::sort(met.begin(), met.end(), [](const Slot* a, const Slot* b) { return a->key < b->key; });
  const bool real = field.type == FT_REAL;
  list.reserve(met.size() + 1);
  for (Slot* slot : met) {
    DistinctValue entry = numberEntry(slot->key, real, cells[slot->first], key);
    entry.word = slot->count;
    slot->count = static_cast<int32_t>(list.size());
    list.push_back(entry);
  }
  int32_t missing = 0;
  for (int32_t s = 0; s < rows; ++s) {
    const bool present = cells[s].flags & kCellPresent;
    cells[s].engineWord = present ? slotOf(key(cells[s])).count : -1;
    missing += !present;
  }
  return missing;
}

// Numbers: sort the present values, then one entry per run of equal values.
// Returns the samples without a value.
template <class Key>
int32_t buildNumeric(DataField& field, int32_t rows, Key key, SortScratch& scratch,
                     DistinctList& list) {
  const bool real = field.type == FT_REAL;
  if (!real) {
    const int32_t missing = buildCounted(field, rows, list);
    if (missing >= 0) return missing;
  }
  if (const int32_t missing = buildHashed(field, rows, key, list); missing >= 0) return missing;
  list.clear();
  SortItems& items = scratch.items;
  items.clear();
  items.reserve(static_cast<size_t>(rows));
  Cell* cells = field.cells.data();
  // Where each block of samples begins among the present ones (see below).
  const bool blocked = rows >= kBlockedRows;
  std::vector<size_t> blockStarts(blocked ? (static_cast<size_t>(rows) >> kBlockBits) + 2 : 0, 0);
  for (int32_t s = 0; s < rows; ++s) {
    Cell& cell = cells[s];
    if (cell.flags & kCellPresent) {
      items.push_back((uint64_t{key(cell)} << 32) | static_cast<uint32_t>(s));
      if (blocked) ++blockStarts[(static_cast<size_t>(s) >> kBlockBits) + 1];
    } else {
      cell.engineWord = -1;
    }
  }
  bool moved = false;
  const uint64_t* sorted = radixSortByKey(items, scratch.buffer, moved);
  const size_t n = items.size();
  // Entries handed out in the order of the values would be written to
  // samples all over the field, a cache miss each in a big table. Each
  // (entry, sample) pair goes first to its block of samples, a few hundred
  // kilobytes of cells, and each block is then written while it is in cache.
  // The keys' other array (sorted from or into) holds the pairs; keys left in
  // sample order, or a field short enough, have their entries written straight away.
  uint64_t* pairs = !moved || !blocked ? nullptr : sorted == items.data() ? scratch.buffer.room(n) : items.data();
  for (size_t b = 1; b < blockStarts.size(); ++b) blockStarts[b] += blockStarts[b - 1];
  // The list is sized once (with room for the empty value), so that it never
  // moves while it grows nor when it is trimmed.
  size_t runs = 0;
  for (size_t i = 0; i < n; ++i) runs += i == 0 || (sorted[i] >> 32) != (sorted[i - 1] >> 32);
  list.reserve(runs + 1);
  uint64_t previous = 0;
  for (size_t i = 0; i < n; ++i) {
    const uint64_t k = sorted[i] >> 32;
    const uint32_t sample = sorted[i] & 0xFFFFFFFFu;
    if (list.empty() || k != previous) {
      previous = k;
      // The sort is stable: this is the first sample with the key.
      list.push_back(numberEntry(k, real, cells[sample], key));
    }
    ++list.back().word;
    const auto entry = static_cast<uint32_t>(list.size() - 1);
    if (pairs)
      pairs[blockStarts[sample >> kBlockBits]++] = (uint64_t{entry} << 32) | sample;
    else
      cells[sample].engineWord = static_cast<int32_t>(entry);
  }
  if (pairs) {
    for (size_t i = 0; i < n; ++i) cells[pairs[i] & 0xFFFFFFFFu].engineWord = static_cast<int32_t>(pairs[i] >> 32);
  }
  return rows - static_cast<int32_t>(n);
}

// Whether the table indexes a field uses, in the order they were first met,
// are in the order of their values already, no two alike: a column of codes
// or dates listed in order, whose sort would then only cost time. (Any two
// alike leave the order to the sort, as before.)
template <class Earlier>
bool risingStrictly(const IndexList& used, Earlier earlier) {
  for (size_t i = 1; i < used.size(); ++i)
    if (!earlier(used[i - 1], used[i])) return false;
  return true;
}

// Texts and dates: the cell values index a table of distinct values already,
// so count per index and sort the indexes that occur (`sortUsed` puts them
// in the order of their values).
template <class SortUsed>
int32_t buildIndexed(DataField& field, int32_t rows, size_t tableSize, SortUsed sortUsed,
                  DistinctList& list) {
  CountArray counts(tableSize, 0);
  for (int32_t s = 0; s < rows; ++s) {
    const Cell& cell = field.cells[static_cast<size_t>(s)];
    if ((cell.flags & kCellPresent) && cell.value.i >= 0 && static_cast<size_t>(cell.value.i) < tableSize)
      ++counts[static_cast<size_t>(cell.value.i)];
  }
  size_t usedCount = 0;
  for (size_t i = 0; i < tableSize; ++i) usedCount += counts[i] > 0;
  IndexList used;
  used.reserve(usedCount);
  for (size_t i = 0; i < tableSize; ++i)
    if (counts[i] > 0) used.push_back(static_cast<int32_t>(i));
  sortUsed(used);
  list.reserve(used.size() + 1);
  // counts becomes the entry index of each table index.
  for (size_t e = 0; e < used.size(); ++e) {
    DistinctValue entry;
    entry.value = used[e];
    entry.fvalue = static_cast<float>(e);
    entry.word = counts[static_cast<size_t>(used[e])];
    list.push_back(entry);
    counts[static_cast<size_t>(used[e])] = static_cast<int32_t>(e);
  }
  int32_t missing = 0;
  for (int32_t s = 0; s < rows; ++s) {
    Cell& cell = field.cells[static_cast<size_t>(s)];
    const bool valued =
        (cell.flags & kCellPresent) && cell.value.i >= 0 && static_cast<size_t>(cell.value.i) < tableSize;
    cell.engineWord = valued ? counts[static_cast<size_t>(cell.value.i)] : -1;
    missing += !valued;
  }
  return missing;
}

}  // namespace

namespace {

// A field's list as buildDistinctValues builds it; a failure is not reported
// here but handed back (`failure`), so that only the calling thread reports.
bool buildField(DataTable& table, int32_t fieldIndex, SortScratch& scratch, const char*& failure) {
  failure = nullptr;
  if (fieldIndex < 0 || fieldIndex >= table.fieldCount || fieldIndex >= kMaxFields) return false;
  DataField& field = table.fields[static_cast<size_t>(fieldIndex)];
  DistinctList().swap(field.distinct);
  field.distinctCount = 0;
  const int32_t rows = std::min<int32_t>(table.rowCount, static_cast<int32_t>(field.cells.size()));
  const uint8_t type = field.type;
  if (rows <= 0) return true;
  if (type != FT_INTEGER && type != FT_REAL && type != FT_TEXT && type != FT_TEXT2 && type != FT_DATETIME)
    return true;
  const Messages messages = messagesFor(type);
  DistinctList list;
  // Each builder leaves every sample pointing at its entry, or at -1 without
  // a value, and counts the latter.
  int32_t missing = 0;
  try {
    switch (type) {
      case FT_INTEGER:
        missing = buildNumeric(field, rows, [](const Cell& c) { return static_cast<uint32_t>(c.value.i) ^ 0x80000000u; },
                     scratch, list);
        break;
      case FT_REAL:
        missing = buildNumeric(field, rows, [](const Cell& c) { return floatKey(c.value.f); }, scratch, list);
        break;
      case FT_DATETIME: {
        const auto& entries = table.timeTable.entries;
        missing = buildIndexed(field, rows, entries.size(),
                     [&entries](IndexList& used) {
                       const auto earlier = [&entries](int32_t a, int32_t b) {
                         return earlierTime(entries[static_cast<size_t>(a)], entries[static_cast<size_t>(b)]);
                       };
                       if (!risingStrictly(used, earlier)) std::sort(used.begin(), used.end(), earlier);
                     },
                     list);
        break;
      }
      default: {
        const TextPool& pool = table.textPool;
        missing = buildIndexed(field, rows, static_cast<size_t>(poolSize(pool)), [&pool](IndexList& used) {
          if (risingStrictly(used, [&pool](int32_t a, int32_t b) { return *poolText(pool, a) < *poolText(pool, b); }))
            return;
          // Most comparisons are settled by eight bytes of the texts held
          // beside the index: the first eight after what every text begins
          // with ("person 1", "person 2", ...). Only texts that share them
          // are compared whole.
          struct Keyed {
            uint64_t prefix;
            std::string_view text;
            int32_t index;
          };
          std::vector<Keyed, platform::FilledBigAllocator<Keyed>> keyed;
          keyed.reserve(used.size());
          for (int32_t i : used) keyed.push_back({0, *poolText(pool, i), i});
          size_t shared = keyed.empty() ? 0 : keyed.front().text.size();
          for (size_t k = 1; k < keyed.size() && shared > 0; ++k) {
            const std::string_view a = keyed.front().text.substr(0, shared), b = keyed[k].text;
            shared = static_cast<size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
          }
          for (Keyed& k : keyed) k.prefix = textPrefix(k.text.substr(shared));
          std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
            return a.prefix != b.prefix ? a.prefix < b.prefix : a.text < b.text;
          });
          for (size_t k = 0; k < keyed.size(); ++k) used[k] = keyed[k].index;
        }, list);
        break;
      }
    }
  } catch (const std::bad_alloc&) {
    failure = messages.allocation;
  } catch (const std::length_error&) {
    failure = messages.allocation;
  }
  if (failure) {
    // Without a list no sample may point into one.
    for (int32_t s = 0; s < rows; ++s) field.cells[static_cast<size_t>(s)].engineWord = -1;
    return false;
  }
  const int32_t valued = static_cast<int32_t>(list.size());
  try {
    if (missing > 0) {
      DistinctValue empty;
      empty.flags = kDistinctEmpty;
      empty.word = missing;
      list.push_back(empty);
    }
    // A list sized up front is left as it is (one spare entry at most).
    if (list.capacity() > list.size() + 1) list.shrink_to_fit();
  } catch (const std::bad_alloc&) {
    failure = messages.shrink;
    return false;
  }
  field.distinct = std::move(list);
  field.distinctCount = static_cast<int32_t>(field.distinct.size());
  if (valued > 0) {
    if (type == FT_INTEGER) {
      field.selectorLow.i = field.min.i;
      field.selectorHigh.i = field.max.i;
    } else if (type == FT_REAL) {
      field.selectorLow.f = field.min.f;
      field.selectorHigh.f = field.max.f;
    } else {
      field.selectorLow.i = 0;
      field.selectorHigh.i = valued - 1;
    }
  }
  return true;
}

}  // namespace

bool buildDistinctValues(DataTable& table, int32_t fieldIndex) {
  const char* failure = nullptr;
  SortScratch scratch;
  const bool built = buildField(table, fieldIndex, scratch, failure);
  if (failure) platform::reportError(failure);
  return built;
}

void buildAllDistinctValues(DataTable& table, const std::function<void(int32_t)>& fieldDone) {
  const int32_t count = std::min<int32_t>(table.fieldCount, kMaxFields);
  if (count <= 0) return;
  // Fields are independent of each other: a second thread takes every other
  // field as it comes free, once the table is big enough to be worth it.
  std::atomic<int32_t> next{0};
  std::vector<std::atomic<bool>> built(static_cast<size_t>(count));
  std::vector<const char*> failures(static_cast<size_t>(count), nullptr);
  const auto work = [&] {
    SortScratch scratch;
    for (int32_t f = next.fetch_add(1); f < count; f = next.fetch_add(1)) {
      buildField(table, f, scratch, failures[static_cast<size_t>(f)]);
      built[static_cast<size_t>(f)].store(true, std::memory_order_release);
    }
  };
  const int64_t cells = int64_t{std::max<int32_t>(table.rowCount, 0)} * count;
  std::optional<SecondThread> helper;
  if (count > 1 && cells >= kParallelCells && SecondThread::available()) helper.emplace(work);
  // The caller hears of the fields (and of any failure) in field order, on
  // its own thread, as soon as each is built.
  int32_t reported = 0;
  const auto report = [&] {
    while (reported < count && built[static_cast<size_t>(reported)].load(std::memory_order_acquire)) {
      if (const char* failure = failures[static_cast<size_t>(reported)]) platform::reportError(failure);
      if (fieldDone) fieldDone(reported);
      ++reported;
    }
  };
  SortScratch scratch;
  for (int32_t f = next.fetch_add(1); f < count; f = next.fetch_add(1)) {
    buildField(table, f, scratch, failures[static_cast<size_t>(f)]);
    built[static_cast<size_t>(f)].store(true, std::memory_order_release);
    report();
  }
  helper.reset();
  report();
}

}  // namespace vlm
