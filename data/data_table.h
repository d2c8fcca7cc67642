#pragma once
// The one in-memory table of loaded data: fields (columns) and samples (rows),
// with the shared text pool and the table of distinct date/time values.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/hash_index.h"
#include "platform/big_allocator.h"

namespace vlm {

enum DataSourceKind : int32_t {
  DSK_NONE = 0,
  DSK_EXCEL = 1,
  DSK_ACCESS = 2,
  DSK_CLIPBOARD = 3,
  DSK_ODBC = 4,
};

enum FieldType : uint8_t {
  FT_NONE = 0,
  FT_INTEGER = 1,
  FT_REAL = 2,
  FT_TEXT = 3,
  FT_DATETIME = 4,
  FT_BOOLEAN = 5,
  FT_FLAG = 6,
  FT_SIZE = 7,
  FT_TEXT2 = 8,
};

enum AnalysisClass : uint8_t {
  AC_NONE = 0,
  AC_TEXT = 2,
  AC_INTEGER = 3,
  AC_REAL = 4,
  AC_DATETIME = 6,
  AC_FREE = 255,  // a field record not in use after start-up
};

// 0 no separator or a thousands separator, 1 a decimal separator,
// 2 a separator that repeats (grouping), 3 both '.' and ',' (or a blank with one).
using NumberFormatClass = int32_t;

constexpr int kMaxFields = 2048;
constexpr int kFieldNameSize = 1028;  // 1027 characters and the terminating zero
constexpr int kRowGrowthStep = 500;

constexpr uint8_t kCellPresent = 0x01;
constexpr uint8_t kCellPass = 0x04;  // the sample passes the Selector's query on this field
constexpr uint8_t kFieldValid = 0x01;

// Twelve bytes: a big table holds millions. A size cell's byte count lies
// beside the cells, in its field's byteSizes (see sizeBytesOf).
struct Cell {
  union {
    int32_t i;
    float f;
  } value{0};
  int32_t engineWord = 0;  // free for the scene and tools
  uint8_t flags = 0;       // bit 0: present
};

// One entry of a field's sorted distinct-value list (built by the Selector's analysis).
struct DistinctValue {
  int32_t value = 0;   // integer value, text pool index or time table index
  float fvalue = 0.0f;
  int32_t word = 0;
  uint32_t flags = 0;  // bit 0: the empty value
  int32_t last = 0;
};
constexpr uint32_t kDistinctEmpty = 0x01;
constexpr uint32_t kDistinctSelected = 0x02;   // chosen on a Samples row
constexpr uint32_t kDistinctAvailable = 0x04;  // some sample with this value passes every other row
constexpr uint32_t kDistinctMatched = 0x08;    // contains the Substring row's text

// The Selector's query on one field. The range bounds are the field's
// selector low and high (on an Item row the low bound's integer is the current
// value's index) and the Substring text is the field's selector text; what
// each method means is the Selector's.
struct SelectorQuery {
  int32_t method = 0;           // 0 none, 1 Range Slider, 2 Item Slider, 3 Samples, 4 Substring
  bool all = true;              // Item: "*** ALL ***", every sample passes
  bool includeMissing = false;  // Range: samples without a value pass
  bool changed = true;          // edited since the window last drew the row
  int32_t samplesMode = 2;      // Samples: 1 Single, 2 Multiple
  int32_t caret = 0;            // Substring: byte offset of the caret in the text
};

union IntOrFloat {
  int32_t i;
  float f;
};

// A field's cells: many megabytes on a big table, filled by the loaders once
// the table has grown. Growing leaves fresh cells as the zeroed memory holds
// them (see platform/big_allocator.h), so the loaders touch them first.
using CellArray = std::vector<Cell, platform::ZeroedBigAllocator<Cell>>;

// A field's distinct values: as long as the field on a column of unique
// values (tens of megabytes), so also from the big blocks.
using DistinctList = std::vector<DistinctValue, platform::FilledBigAllocator<DistinctValue>>;

struct DataField {
  char name[kFieldNameSize] = {};
  int32_t sourceColumn = 0;
  uint8_t analysisClass = AC_FREE;
  uint8_t type = FT_NONE;
  uint8_t flags = 0;  // bit 0: valid
  CellArray cells;  // row capacity entries; empty when no rows were allocated
  // FT_SIZE: each sample's size in bytes, by row; empty until a size is
  // stored, and never longer than the cells.
  std::vector<int32_t> byteSizes;
  IntOrFloat min{0};
  IntOrFloat max{0};
  int32_t valueClass = 1;
  int32_t workingValue = 0;
  IntOrFloat selectorLow{0};
  IntOrFloat selectorHigh{0};
  int32_t workingIndex[5] = {-1, -1, -1, -1, -1};
  uint8_t workingFlag = 0;
  int32_t distinctCount = 0;
  DistinctList distinct;
  char selectorText[1024] = {};
  int32_t selectorWord = 0;
  SelectorQuery selector;
  int32_t dateOrderState = 0;
  int32_t dateComponentMax[3] = {0, 0, 0};
  NumberFormatClass numberFormatClass = 0;
};

// Layout of the platform's system-time record; parsing marks unseen parts with 60666.
struct TimeEntry {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t dayOfWeek = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t millisecond = 0;
};
constexpr uint16_t kTimePartUnseen = 60666;

struct AccessObject {
  std::string name;
  int32_t kind = 0;  // 21 table, 23 query
};

// Per-row arrays that other subsystems keep in step with the table (selection
// flags, the GL selection buffer, association values). The engine installs them.
struct RowArrayHooks {
  // Called while growing, before the table's own arrays; false stops the growth
  // (the hook reports its own failure and sets the abort flag).
  std::function<bool(int32_t oldRowCount, int32_t newCapacity)> grow;
  // Called while clearing the table.
  std::function<void()> clear;
  // Called whenever the scene must recompile its lists (clearing and growing).
  std::function<void()> invalidateGraphicCache;
};

// A count that other threads may read while the holder of the data lock
// changes it: the host asks for the number of samples at any time.
struct SharedCount {
  std::atomic<int32_t> value{0};
  SharedCount() = default;
  SharedCount(int32_t v) : value(v) {}  // NOLINT: stands for a plain count
  SharedCount(const SharedCount& other) : value(other.get()) {}
  SharedCount& operator=(const SharedCount& other) { return *this = other.get(); }
  SharedCount& operator=(int32_t v) {
    value.store(v, std::memory_order_relaxed);
    return *this;
  }
  int32_t get() const { return value.load(std::memory_order_relaxed); }
  operator int32_t() const { return get(); }  // NOLINT: reads as a plain count
};

constexpr int32_t kTextPoolSlotStep = 4096;

// The distinct texts lie back to back in one buffer: a million short texts
// then cost no allocation each, and their bytes stay close together.
using PoolChars = std::basic_string<char, std::char_traits<char>, platform::FilledBigAllocator<char>>;

// The text pool and the time table each start a cache line of their own: a
// load interns texts on one core and dates on the other, and a text added
// here (its ends, its count) must not evict the time table's pointers that
// the other core reads at every date.
struct alignas(64) TextPool {
  PoolChars chars;                                      // every text, in index order
  std::vector<size_t, platform::FilledBigAllocator<size_t>> ends;  // where text i ends in chars; it starts where text i - 1 ends
  int32_t slotCount = 0;      // allocated slots, counted 4096 at a time ("slots" is a Qt keyword)
  HashIndex index;            // finds a text's pool index without scanning the pool
};

struct alignas(64) TimeTable {
  std::vector<TimeEntry, platform::FilledBigAllocator<TimeEntry>> entries;  // distinct entries, index = time table index
  HashIndex index;                 // finds an entry's index without scanning the table
};

// The source row number of each sample (Excel row, Access record number); -1 for a new slot.
using RowIdList = std::vector<int32_t, platform::FilledBigAllocator<int32_t>>;

// A size cell's byte count (0 where none was stored); `cell` is one of the
// field's cells.
inline int32_t sizeBytesOf(const DataField& field, const Cell& cell) {
  const auto row = static_cast<size_t>(&cell - field.cells.data());
  return row < field.byteSizes.size() ? field.byteSizes[row] : 0;
}

// Stores a size cell's byte count beside the cell at `row` (< cells.size()).
inline void setSizeBytes(DataField& field, size_t row, int32_t bytes) {
  if (field.byteSizes.size() <= row) field.byteSizes.resize(field.cells.size(), 0);
  field.byteSizes[row] = bytes;
}

struct DataTable {
  std::string serverQuery;
  std::string sourceName;
  std::string sourcePath;
  int32_t sourceKind = DSK_NONE;
  std::vector<AccessObject> accessObjects;
  int32_t currentAccessObject = -1;
  std::vector<DataField> fields = std::vector<DataField>(kMaxFields);
  RowIdList rowIds;  // row capacity entries
  int32_t fieldCount = 0;
  SharedCount rowCount;  // the host reads it while a worker changes it
  int32_t rowCapacity = 0;
  int32_t sourceRowCount = 0;
  TextPool textPool;
  TimeTable timeTable;
  std::string excelSelection;
  RowArrayHooks hooks;
};

}  // namespace vlm
