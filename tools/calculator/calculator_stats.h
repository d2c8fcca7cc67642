#pragma once
// The running statistics behind the Calculator's rows. Between two
// calculations they keep, per field in use, the count, sum, least and
// greatest value of the selected samples, and which samples were selected;
// a calculation then only visits the samples whose selection changed, so it
// follows every step of the Selector cheaply however large the table. A
// change of the table's samples starts them over.
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "data/data_table.h"
#include "engine/calculator_record.h"
#include "platform/big_allocator.h"
#include "tools/calculator/exact_sum.h"

namespace vlm {

// Per sample: 1 when it was selected. Written whole at the first update of
// a table, so in huge pages on a big one.
using SelectedMarks = std::vector<uint8_t, platform::FilledBigAllocator<uint8_t>>;

struct CalculatorStats {
  struct Field {
    int32_t field = -1;
    uint8_t type = FT_NONE;  // FT_INTEGER or FT_REAL
    int64_t count = 0;       // selected samples with a value
    int64_t integerSum = 0;  // 64 bits: a sum of int32 values cannot wrap
    calculator::ExactSum realSum;
    int32_t integerLeast = std::numeric_limits<int32_t>::max();
    int32_t integerGreatest = std::numeric_limits<int32_t>::min();
    float realLeast = std::numeric_limits<float>::max();
    float realGreatest = std::numeric_limits<float>::lowest();
    // A value equal to the least or greatest left the selection: found again
    // from the samples when it is asked for.
    bool leastKnown = true;
    bool greatestKnown = true;
    // Every sample's value, 4 bytes each (a float's bits for reals; 0 where
    // the sample has none, so it adds nothing to a sum), and a bit per sample
    // that has one: the changed samples are read from here, a quarter of the
    // memory the table's cells take (from the big blocks: huge pages fill
    // at a fraction of the cost of small ones).
    std::vector<int32_t, platform::FilledBigAllocator<int32_t>> values;
    std::vector<uint64_t> present;
    // Reals whose binary exponents lie close together add up exactly in
    // doubles, `realBlock` values at a time, in units of 2^(realExponent -
    // 150); 0 when they lie too far apart (or a value is not finite).
    int32_t realBlock = 0;
    uint32_t realExponent = 1;
  };

  uint64_t generation = ~uint64_t{0};
  int32_t rowCount = -1;
  int32_t fieldCount = -1;
  SelectedMarks selected;  // per sample: 1 when it was selected at the last update
  int64_t selectedCount = 0;
  std::vector<Field> fields;
  // The samples whose selection changed since the last update: listed when
  // few changed; when many did, every sample's change (+1 joined, -1 left,
  // 0) and a bit per sample that joined or left, read in order instead.
  std::vector<int32_t> added, removed;
  bool manyChanged = false;
  std::vector<int8_t> change;
  std::vector<uint64_t> addedBits, removedBits;
  // The table's field names as the menu lists them, taken once per table.
  std::shared_ptr<const std::vector<std::string>> fieldNames;
};

namespace calculator {

// What the rows ask of a field.
struct FieldNeed {
  int32_t field = -1;
  bool least = false;
  bool greatest = false;
};

// Brings the statistics to the current selection flags (non-zero: selected)
// for the fields in `needs` (numeric fields only). `generation` is the table
// generation of the Calculator's record.
void updateStats(CalculatorStats& stats, const DataTable& table, const std::vector<uint8_t>& flags,
                 uint64_t generation, const std::vector<FieldNeed>& needs);

// The statistics of a field after updateStats, or null when it was not asked for.
const CalculatorStats::Field* fieldStats(const CalculatorStats& stats, int32_t field);

}  // namespace calculator
}  // namespace vlm
