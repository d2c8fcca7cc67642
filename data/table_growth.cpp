#include "data/table_growth.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "platform/big_allocator.h"
#include "platform/report.h"

namespace vlm {
namespace {

constexpr int32_t kLargestCapacity = INT32_MAX / kRowGrowthStep * kRowGrowthStep;

template <class T, class Allocator>
bool tryResize(std::vector<T, Allocator>& array, size_t size) {
  // resize leaves the vector untouched when it throws (trivially copyable
  // elements), which is what keeps the old arrays in place on failure.
  try {
    array.resize(size);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

}  // namespace

int32_t rowCapacityFor(int32_t count) {
  if (count <= kRowGrowthStep) return kRowGrowthStep;
  if (count > kLargestCapacity) return -1;
  return static_cast<int32_t>((int64_t{count} + kRowGrowthStep - 1) / kRowGrowthStep * kRowGrowthStep);
}

bool growRows(DataTable& table, int32_t count) {
  if (table.rowCapacity >= count) return true;
  const int32_t capacity = rowCapacityFor(count);
  if (capacity < 0) {
    platform::reportError("Unable to store IDs!");
    return false;
  }
  const int32_t oldRows = table.rowCount.get() < 0 ? 0 : table.rowCount.get();

  if (table.hooks.grow && !table.hooks.grow(oldRows, capacity)) return false;
  if (table.hooks.invalidateGraphicCache) table.hooks.invalidateGraphicCache();

  const size_t size = static_cast<size_t>(capacity);
  if (!tryResize(table.rowIds, size)) {
    platform::reportError("Unable to store IDs!");
    return false;
  }
  for (size_t i = static_cast<size_t>(oldRows); i < size; ++i) table.rowIds[i] = -1;

  for (int32_t f = 0; f < table.fieldCount && f < kMaxFields; ++f) {
    CellArray& cells = table.fields[static_cast<size_t>(f)].cells;
    const size_t kept = std::min(cells.size(), size);
    const Cell* before = cells.data();
    if (!tryResize(cells, size)) {
      platform::reportError("Unable to store fields!");
      return false;
    }
    // Cells added in fresh memory are zero and not touched here: the loaders
    // touch them first, on both cores. Cells added within the old memory may
    // hold what an earlier, longer table left, and are cleared.
    if (cells.data() == before) std::fill(cells.begin() + static_cast<ptrdiff_t>(kept), cells.end(), Cell{});
    else
      platform::bigReadyZeroed(cells.data(), cells.capacity() * sizeof(Cell), kept * sizeof(Cell),
                               static_cast<size_t>(count) * sizeof(Cell));
    // Cells kept from before the row count lose their low flags.
    for (size_t i = static_cast<size_t>(oldRows); i < kept; ++i) cells[i].flags &= 0xF0;
  }
  table.rowCapacity = capacity;
  return true;
}

}  // namespace vlm
