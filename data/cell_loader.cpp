#include "data/cell_loader.h"

#include <algorithm>

#include "data/cell_store.h"
#include "data/char_tests.h"
#include "data/date_parse.h"
#include "data/text_hash.h"
#include "data/text_pool.h"

namespace vlm {
namespace {

// 256 KiB of buckets.
constexpr size_t kCachedBuckets = size_t{32} << 10;

// While an index fits in the processor's caches there is nothing to fetch
// ahead, and interning at once is cheaper. Once anything is queued, every
// later arrival queues behind it, so the table still sees them in order.
bool internAtOnce(size_t queued, const HashIndex& index) {
  return queued == 0 && index.buckets.size() <= kCachedBuckets;
}

// 16 384 slots of 24 bytes: a few thousand values stay in the second-level cache.
constexpr int kMemoBits = 14;
// A wide table remembers for its first fields only: 12 MiB at most.
constexpr int32_t kMemoFields = 32;
// After this many looks a field that found less than a quarter of its texts
// stops looking: its texts are mostly new.
constexpr uint32_t kMemoTrial = uint32_t{1} << 16;
// Texts up to this long are remembered by their bytes alone.
constexpr size_t kHeldWhole = 16;

using text_hash_detail::EdgeLoads;
using text_hash_detail::edgeLoads;

size_t memoSlot(const EdgeLoads& l, size_t n) {
  // Cheaper than the pool's hash: a miss costs only a probe of the pool.
  const uint64_t h = (l.head * 0x9E3779B97F4A7C15ull) ^ ((l.tail ^ n) * 0xC2B2AE3D27D4EB4Full);
  return static_cast<size_t>((h ^ (h >> 29)) >> (64 - kMemoBits));
}

bool remembers(uint8_t type) { return type == FT_TEXT || type == FT_TEXT2 || type == FT_DATETIME; }

}  // namespace

CellLoader::CellLoader(DataTable& table, const platform::RegionalSettings& regional, std::string_view source)
    : table_(table), regional_(regional), source_(source), texts_(table.textPool), times_(table.timeTable),
      memos_(source.empty() ? 0 : static_cast<size_t>(std::clamp(table.fieldCount, 0, kMaxFields))) {}

int32_t CellLoader::recall(int32_t field, std::string_view text, uint32_t& generation) {
  Memo& m = memos_[static_cast<size_t>(field)];
  if (m.off) return -1;
  if (m.slots.empty()) {
    if (memoFields_ == kMemoFields) {
      m.off = true;
      return -1;
    }
    ++memoFields_;
    m.slots.resize(size_t{1} << kMemoBits);
  }
  const DataField& f = table_.fields[static_cast<size_t>(field)];
  if (f.type == FT_DATETIME) {
    const int32_t state[4] = {f.dateOrderState, f.dateComponentMax[0], f.dateComponentMax[1], f.dateComponentMax[2]};
    if (!std::equal(state, state + 4, m.dateState)) {
      std::copy(state, state + 4, m.dateState);
      std::fill(m.slots.begin(), m.slots.end(), Remembered{});
      ++m.generation;
    }
  }
  generation = m.generation;
  const EdgeLoads loads = edgeLoads(text.data(), text.size());
  const Remembered& r = m.slots[memoSlot(loads, text.size())];
  ++m.looks;
  if (r.length == text.size() && r.head == loads.head &&
      (text.size() <= kHeldWhole ? r.tail == loads.tail
                                 : sameText(std::string_view(reinterpret_cast<const char*>(r.tail), r.length), text))) {
    ++m.hits;
    return r.index;
  }
  if (m.looks == kMemoTrial && m.hits < kMemoTrial / 4) {
    m.off = true;
    std::vector<Remembered>().swap(m.slots);
  }
  return -1;
}

void CellLoader::remember(const Pending& pending, int32_t index) {
  Memo& m = memos_[static_cast<size_t>(pending.field)];
  if (m.off || m.slots.empty() || pending.generation != m.generation) return;
  const std::string_view text(pending.raw, pending.rawLength);
  const EdgeLoads loads = edgeLoads(text.data(), text.size());
  const uint64_t tail = text.size() <= kHeldWhole ? loads.tail : reinterpret_cast<uintptr_t>(pending.raw);
  m.slots[memoSlot(loads, text.size())] = {loads.head, tail, pending.rawLength, index};
}

bool CellLoader::insideSource(std::string_view text) const {
  const auto begin = reinterpret_cast<uintptr_t>(source_.data());
  const auto at = reinterpret_cast<uintptr_t>(text.data());
  return !source_.empty() && at >= begin && at - begin <= source_.size() && text.size() <= source_.size() - (at - begin);
}

CellLoader::~CellLoader() {
  texts_.discard();
  times_.discard();
}

void CellLoader::store(int32_t fieldIndex, int32_t sample, std::string_view text) {
  if (fieldIndex < 0 || fieldIndex >= table_.fieldCount || fieldIndex >= kMaxFields || sample < 0) return;
  DataField& field = table_.fields[static_cast<size_t>(fieldIndex)];
  if (static_cast<size_t>(sample) >= field.cells.size()) return;
  if (text.empty()) return;
  Pending pending{fieldIndex, sample, 0};
  // Only texts that go to the pool or the time table need to know.
  const bool inside = (remembers(field.type) || field.type == FT_SIZE) && insideSource(text);
  if (inside && static_cast<size_t>(fieldIndex) < memos_.size() && remembers(field.type)) {
    if (const int32_t index = recall(fieldIndex, text, pending.generation); index >= 0) {
      complete(pending, index);
      return;
    }
    pending.raw = text.data();
    pending.rawLength = static_cast<uint32_t>(text.size());
  }
  if (isMissingMarker(text)) return;
  const auto done = [this](const Pending& p, int32_t index) { complete(p, index); };
  switch (field.type) {
    case FT_TEXT:
    case FT_TEXT2:
      break;
    case FT_SIZE:
      if (!readSizeBytes(trimCellBlanks(text), pending.bytes)) return;
      break;
    case FT_DATETIME: {
      TimeEntry entry;
      if (parseDateTime(text, field, regional_, entry) == 0) return;
      if (internAtOnce(times_.size(), table_.timeTable.index))
        complete(pending, internTime(table_.timeTable, entry));
      else
        times_.push(entry, pending, done);
      return;
    }
    default:
      storeCell(table_, fieldIndex, sample, text, regional_);
      return;
  }
  if (internAtOnce(texts_.size(), table_.textPool.index))
    complete(pending, internText(table_.textPool, trimCellBlanks(text)));
  else
    texts_.push(trimCellBlanks(text), pending, done, inside);
}

void CellLoader::finish() {
  const auto done = [this](const Pending& p, int32_t index) { complete(p, index); };
  texts_.drain(done);
  times_.drain(done);
}

void CellLoader::complete(const Pending& pending, int32_t index) {
  if (index < 0) return;
  if (pending.raw != nullptr) remember(pending, index);
  DataField& field = table_.fields[static_cast<size_t>(pending.field)];
  Cell& cell = field.cells[static_cast<size_t>(pending.sample)];
  cell.value.i = index;
  if (field.type == FT_SIZE) {
    setSizeBytes(field, static_cast<size_t>(pending.sample), pending.bytes);
    if (pending.bytes < field.min.i) field.min.i = pending.bytes;
    if (pending.bytes > field.max.i) field.max.i = pending.bytes;
  }
  cell.flags |= kCellPresent;
}

}  // namespace vlm
