#include "data/cell_loader.h"

#include "data/cell_store.h"
#include "data/char_tests.h"
#include "data/date_parse.h"
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

}  // namespace

CellLoader::CellLoader(DataTable& table, const platform::RegionalSettings& regional, std::string_view source)
    : table_(table), regional_(regional), source_(source), texts_(table.textPool), times_(table.timeTable) {}

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
  if (text.empty() || isMissingMarker(text)) return;
  Pending pending{fieldIndex, sample, 0};
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
    texts_.push(trimCellBlanks(text), pending, done, insideSource(text));
}

void CellLoader::finish() {
  const auto done = [this](const Pending& p, int32_t index) { complete(p, index); };
  texts_.drain(done);
  times_.drain(done);
}

void CellLoader::complete(const Pending& pending, int32_t index) {
  if (index < 0) return;
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
