#pragma once
// The results of the Calculator's rows: the statistics brought up to the
// current selection, then each row's result text.
#include <cstdint>
#include <string>
#include <vector>

#include "data/data_table.h"
#include "engine/calculator_record.h"
#include "platform/regional_settings.h"
#include "tools/calculator/calculator_stats.h"

namespace vlm::calculator {

// What the rows ask of the statistics.
std::vector<FieldNeed> fieldNeeds(const CalculatorRecord& rec, const DataTable& table);

// Every row's result from the statistics: "N/A" with nothing selected;
// Count the selected count grouped in thousands; Percent of all samples with
// three decimals at most; Min, Max and Sum of integers grouped, of reals with
// three decimals at most, grouped; Average the sum over the selected samples
// that have a value (integer division for integers); Min, Max and Average of
// no value at all "N/A". Results keep at most 127 bytes.
void formatResults(CalculatorRecord& rec, const CalculatorStats& stats, const DataTable& table,
                   const platform::RegionalSettings& regional);

// The texts of a result, for the rows and their tests.
std::string countText(int64_t count, const platform::RegionalSettings& regional);
std::string percentText(int64_t selected, int64_t samples, const platform::RegionalSettings& regional);
std::string realResultText(double value, const platform::RegionalSettings& regional);

}  // namespace vlm::calculator
