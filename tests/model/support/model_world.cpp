#include "model_world.h"

#include <algorithm>
#include <cstring>

#include "data/text_pool.h"

namespace vlm::test {
namespace {

DataField& newField(DataTable& table, const char* name, uint8_t type, size_t rows) {
  DataField& f = table.fields[static_cast<size_t>(table.fieldCount)];
  f = DataField{};
  std::strncpy(f.name, name, kFieldNameSize - 1);
  f.type = type;
  f.analysisClass = AC_NONE;
  f.flags = kFieldValid;
  f.cells.assign(std::max<size_t>(rows, static_cast<size_t>(table.rowCapacity)), Cell{});
  ++table.fieldCount;
  if (table.rowCount < static_cast<int32_t>(rows)) setRows(table, static_cast<int32_t>(rows));
  return f;
}

// Sorted distinct list over `keys` (nullopt = missing), engine words set.
template <typename T, typename Word>
void buildDistinct(DataField& f, const std::vector<std::optional<T>>& keys, Word word) {
  std::vector<T> sorted;
  bool missing = false;
  for (const auto& k : keys) {
    if (k) sorted.push_back(*k);
    else missing = true;
  }
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  f.distinct.clear();
  for (const T& v : sorted) {
    DistinctValue d;
    word(d, v);
    f.distinct.push_back(d);
  }
  if (missing) {
    DistinctValue d;
    d.flags = kDistinctEmpty;
    f.distinct.push_back(d);
  }
  f.distinctCount = static_cast<int32_t>(f.distinct.size());
  for (size_t s = 0; s < keys.size(); ++s) {
    if (!keys[s]) {
      f.cells[s].engineWord = -1;
      continue;
    }
    f.cells[s].engineWord = static_cast<int32_t>(
        std::lower_bound(sorted.begin(), sorted.end(), *keys[s]) - sorted.begin());
  }
}

}  // namespace

void setRows(DataTable& table, int32_t rows) {
  int32_t capacity = table.rowCapacity;
  while (capacity < rows) capacity += kRowGrowthStep;
  table.rowCapacity = capacity;
  table.rowCount = rows;
  for (int32_t i = 0; i < table.fieldCount; ++i) {
    auto& cells = table.fields[static_cast<size_t>(i)].cells;
    if (cells.size() < static_cast<size_t>(capacity)) cells.resize(static_cast<size_t>(capacity));
  }
  table.rowIds.resize(static_cast<size_t>(capacity), -1);
  if (table.sourceKind == DSK_NONE) table.sourceKind = DSK_CLIPBOARD;
}

int32_t addIntegerField(DataTable& table, const char* name,
                        const std::vector<std::optional<int32_t>>& values) {
  const int32_t index = table.fieldCount;
  DataField& f = newField(table, name, FT_INTEGER, values.size());
  f.min.i = 2147483647;
  f.max.i = -2147483647 - 1;
  for (size_t s = 0; s < values.size(); ++s) {
    if (!values[s]) continue;
    f.cells[s].value.i = *values[s];
    f.cells[s].flags = kCellPresent;
    f.min.i = std::min(f.min.i, *values[s]);
    f.max.i = std::max(f.max.i, *values[s]);
  }
  buildDistinct<int32_t>(f, values, [](DistinctValue& d, int32_t v) {
    d.value = v;
    d.fvalue = static_cast<float>(v);
  });
  return index;
}

int32_t addRealField(DataTable& table, const char* name,
                     const std::vector<std::optional<float>>& values) {
  const int32_t index = table.fieldCount;
  DataField& f = newField(table, name, FT_REAL, values.size());
  f.min.f = 3.4028235e38f;
  f.max.f = -3.4028235e38f;
  for (size_t s = 0; s < values.size(); ++s) {
    if (!values[s]) continue;
    f.cells[s].value.f = *values[s];
    f.cells[s].flags = kCellPresent;
    f.min.f = std::min(f.min.f, *values[s]);
    f.max.f = std::max(f.max.f, *values[s]);
  }
  buildDistinct<float>(f, values, [](DistinctValue& d, float v) { d.fvalue = v; });
  return index;
}

int32_t addTextField(DataTable& table, const char* name,
                     const std::vector<std::optional<std::string>>& values, uint8_t type) {
  const int32_t index = table.fieldCount;
  DataField& f = newField(table, name, type, values.size());
  auto intern = [&table](const std::string& text) { return internText(table.textPool, text); };
  for (size_t s = 0; s < values.size(); ++s) {
    if (!values[s]) continue;
    f.cells[s].value.i = intern(*values[s]);
    f.cells[s].flags = kCellPresent;
  }
  f.min.i = 2147483647;
  f.max.i = -2147483647 - 1;
  buildDistinct<std::string>(f, values, [&](DistinctValue& d, const std::string& v) {
    d.value = intern(v);
  });
  return index;
}

int32_t addBooleanField(DataTable& table, const char* name,
                        const std::vector<std::optional<bool>>& values, uint8_t type) {
  const int32_t index = table.fieldCount;
  DataField& f = newField(table, name, type, values.size());
  f.min.i = 2147483647;
  f.max.i = -2147483647 - 1;
  for (size_t s = 0; s < values.size(); ++s) {
    if (!values[s]) continue;
    f.cells[s].value.i = *values[s] ? 1 : 0;
    f.cells[s].flags = kCellPresent;
  }
  return index;
}

int32_t addSizeField(DataTable& table, const char* name,
                     const std::vector<std::optional<int32_t>>& bytes) {
  const int32_t index = table.fieldCount;
  DataField& f = newField(table, name, FT_SIZE, bytes.size());
  f.min.i = 2147483647;
  f.max.i = -2147483647 - 1;
  for (size_t s = 0; s < bytes.size(); ++s) {
    if (!bytes[s]) continue;
    setSizeBytes(f, s, *bytes[s]);
    f.cells[s].flags = kCellPresent;
    f.min.i = std::min(f.min.i, *bytes[s]);
    f.max.i = std::max(f.max.i, *bytes[s]);
  }
  return index;
}

int32_t addUntypedField(DataTable& table, const char* name) {
  const int32_t index = table.fieldCount;
  newField(table, name, FT_NONE, static_cast<size_t>(table.rowCount));
  return index;
}

}  // namespace vlm::test
