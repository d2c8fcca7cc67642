#include "data/cell_loader.h"

#include "data/cell_store.h"
#include "data/char_tests.h"
#include "data/text_pool.h"

namespace vlm {
namespace {

// 256 KiB of buckets.
constexpr size_t kCachedBuckets = size_t{32} << 10;

}  // namespace

CellLoader::CellLoader(DataTable& table, const platform::RegionalSettings& regional, std::string_view source)
    : table_(table), regional_(regional), source_(source), queue_(table.textPool) {}

bool CellLoader::insideSource(std::string_view text) const {
  const auto begin = reinterpret_cast<uintptr_t>(source_.data());
  const auto at = reinterpret_cast<uintptr_t>(text.data());
  return !source_.empty() && at >= begin && at - begin <= source_.size() && text.size() <= source_.size() - (at - begin);
}

CellLoader::~CellLoader() { queue_.discard(); }

void CellLoader::store(int32_t fieldIndex, int32_t sample, std::string_view text) {
  if (fieldIndex < 0 || fieldIndex >= table_.fieldCount || fieldIndex >= kMaxFields || sample < 0) return;
  const DataField& field = table_.fields[static_cast<size_t>(fieldIndex)];
  if (static_cast<size_t>(sample) >= field.cells.size()) return;
  if (text.empty() || isMissingMarker(text)) return;
  Pending pending{fieldIndex, sample, 0};
  switch (field.type) {
    case FT_TEXT:
    case FT_TEXT2:
      break;
    case FT_SIZE:
      if (!readSizeBytes(trimCellBlanks(text), pending.bytes)) return;
      break;
    default:
      storeCell(table_, fieldIndex, sample, text, regional_);
      return;
  }
  // While the pool's index fits in the processor's caches there is nothing
  // to fetch ahead, and interning at once is cheaper. Once texts are queued,
  // every later one queues behind them, so the pool still sees them in order.
  if (queue_.size() == 0 && table_.textPool.index.buckets.size() <= kCachedBuckets) {
    complete(pending, internText(table_.textPool, trimCellBlanks(text)));
    return;
  }
  queue_.push(trimCellBlanks(text), pending, [this](const Pending& p, int32_t index) { complete(p, index); },
              insideSource(text));
}

void CellLoader::finish() {
  queue_.drain([this](const Pending& p, int32_t index) { complete(p, index); });
}

void CellLoader::complete(const Pending& pending, int32_t index) {
  if (index < 0) return;
  DataField& field = table_.fields[static_cast<size_t>(pending.field)];
  Cell& cell = field.cells[static_cast<size_t>(pending.sample)];
  cell.value.i = index;
  if (field.type == FT_SIZE) {
    cell.second = pending.bytes;
    if (pending.bytes < field.min.i) field.min.i = pending.bytes;
    if (pending.bytes > field.max.i) field.max.i = pending.bytes;
  }
  cell.flags |= kCellPresent;
}

}  // namespace vlm
