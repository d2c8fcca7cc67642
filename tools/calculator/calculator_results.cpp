#include "tools/calculator/calculator_results.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/number_text.h"
#include "data/utf8.h"

namespace vlm::calculator {
namespace {

constexpr const char* kNone = "N/A";

std::string cut(std::string text) {
  text.resize(utf8::cutLength(text, kCalculatorTextSize - 1));
  return text;
}

// "%.3f" of the value, trimmed with the regional decimal separator.
std::string threeDecimals(double value, const platform::RegionalSettings& regional) {
  if (!std::isfinite(value)) return kNone;
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.3f", value);
  std::string text = buffer;
  normaliseNumberText(text, 1, regional);
  return text;
}

std::string resultOf(const CalculatorRow& row, const CalculatorStats::Field* f,
                     const platform::RegionalSettings& regional) {
  const int32_t function = calcFunction(row);
  if (!f) return kNone;
  // Min, Max and Average of no value at all have nothing to show.
  if (f->count == 0 && function != CALC_SUM) return kNone;
  if (f->type == FT_INTEGER) {
    int64_t v = 0;
    switch (function) {
      case CALC_MIN: v = f->integerLeast; break;
      case CALC_MAX: v = f->integerGreatest; break;
      case CALC_SUM: v = f->integerSum; break;
      default: v = f->integerSum / f->count; break;  // integer division, as the field holds integers
    }
    return countText(v, regional);
  }
  double v = 0.0;
  switch (function) {
    case CALC_MIN: v = f->realLeast; break;
    case CALC_MAX: v = f->realGreatest; break;
    case CALC_SUM: v = f->realSum.value(); break;
    default: v = f->realSum.value() / static_cast<double>(f->count); break;
  }
  return realResultText(v, regional);
}

}  // namespace

std::string countText(int64_t count, const platform::RegionalSettings& regional) {
  std::string text = integerText(count);
  groupDigits(text, regional);
  return text;
}

std::string percentText(int64_t selected, int64_t samples, const platform::RegionalSettings& regional) {
  if (samples <= 0) return kNone;
  std::string text = threeDecimals(100.0 * static_cast<double>(selected) / static_cast<double>(samples), regional);
  return text + "%";
}

std::string realResultText(double value, const platform::RegionalSettings& regional) {
  std::string text = threeDecimals(value, regional);
  if (text != kNone) groupDigits(text, regional);
  return cut(std::move(text));
}

std::vector<FieldNeed> fieldNeeds(const CalculatorRecord& rec, const DataTable& table) {
  std::vector<FieldNeed> needs;
  for (int32_t i = 0; i < rec.count; ++i) {
    const CalculatorRow& row = rec.rows[static_cast<size_t>(i)];
    const int32_t function = calcFunction(row);
    if (function < CALC_MIN || row.field < 0 || row.field >= table.fieldCount) continue;
    auto it = std::find_if(needs.begin(), needs.end(), [&](const FieldNeed& n) { return n.field == row.field; });
    if (it == needs.end()) it = needs.insert(needs.end(), FieldNeed{row.field, false, false});
    it->least |= function == CALC_MIN;
    it->greatest |= function == CALC_MAX;
  }
  return needs;
}

void formatResults(CalculatorRecord& rec, const CalculatorStats& stats, const DataTable& table,
                   const platform::RegionalSettings& regional) {
  const int64_t samples = std::max(table.rowCount.get(), 0);
  const int64_t n = std::min(stats.selectedCount, samples);
  for (int32_t i = 0; i < rec.count; ++i) {
    CalculatorRow& row = rec.rows[static_cast<size_t>(i)];
    if (n < 1) {
      row.result = kNone;
      continue;
    }
    switch (calcFunction(row)) {
      case CALC_COUNT: row.result = countText(n, regional); break;
      case CALC_PERCENT: row.result = percentText(n, samples, regional); break;
      default: row.result = cut(resultOf(row, fieldStats(stats, row.field), regional)); break;
    }
  }
}

}  // namespace vlm::calculator
