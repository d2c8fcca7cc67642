#pragma once
// The Calculator's part of the main record: its rows (statistics of the
// selected samples) and the window flags the exports read. The rows are
// changed and calculated under the data lock.
#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace vlm {

constexpr int32_t kCalculatorRowCapacity = 36;
constexpr int32_t kCalculatorTextSize = 128;  // a label or result keeps at most 127 bytes

// The functions of a row.
constexpr int32_t CALC_COUNT = 0;
constexpr int32_t CALC_PERCENT = 1;
constexpr int32_t CALC_MIN = 2;
constexpr int32_t CALC_MAX = 3;
constexpr int32_t CALC_SUM = 4;
constexpr int32_t CALC_AVERAGE = 5;
constexpr uint8_t kCalcFunctionMask = 0x0F;
constexpr uint8_t kCalcSpoken = 0x10;

struct CalculatorRow {
  int32_t field = -1;  // -1 for Count and Percent
  uint8_t flags = 0;   // bits 0-3 the function, bit 4 spoken
  std::string fieldName;  // the field's name when the row was made
  std::string label;      // "Sum (Price) ="
  std::string result;     // "N/A" when there is none
};

inline int32_t calcFunction(const CalculatorRow& row) { return row.flags & kCalcFunctionMask; }
inline bool calcSpoken(const CalculatorRow& row) { return (row.flags & kCalcSpoken) != 0; }

struct CalculatorStats;  // the running statistics of the calculation (tools/calculator)
struct EngineState;

struct CalculatorRecord {
  std::array<CalculatorRow, kCalculatorRowCapacity> rows;
  int32_t count = 0;
  std::atomic<int32_t> open{0};  // the window is shown
  // The first load of a run shows the window again when it was shown when
  // the program last ended (the settings' shown flag).
  std::atomic<bool> shownAgain{false};
  // Counts the changes of the table's samples (loads, growth, deletions), so
  // that statistics kept between calculations start over.
  std::atomic<uint64_t> tableGeneration{0};
  std::shared_ptr<CalculatorStats> stats;
  // Changes that found the data lock taken wait here for the engine thread.
  std::mutex editMutex;
  std::deque<std::function<void(EngineState&)>> edits;
};

}  // namespace vlm
