#pragma once
// The Calculator's rows: adding one, the default set, and the commands of
// the Calculator menu. Everything here runs under the data lock.
#include <cstdint>

#include "data/data_table.h"
#include "engine/calculator_record.h"

namespace vlm::calculator {

// "Count", "Percent", "Min", "Max", "Sum", "Average".
const char* functionName(int32_t function);
bool isNumericField(const DataTable& table, int32_t field);

// Appends a row; false when 36 rows exist. A negative field or one beyond
// the field count becomes 0; Count and Percent keep no field (-1); the
// function is clamped to 0..5; the row is not spoken.
bool addRow(CalculatorRecord& rec, const DataTable& table, int32_t field, int32_t function);
// Count, Percent, then per numeric field in field order Sum, Average, Min
// and Max (at most 7 fields in the table), Sum and Average (8 to 15), or Sum
// (16 and more), until the rows are full. `speakFirst`: Count is spoken.
void buildDefaultRows(CalculatorRecord& rec, const DataTable& table, bool speakFirst);
void removeRow(CalculatorRecord& rec, int32_t row);
// Every row on the field of `row` goes.
void removeRowsOfField(CalculatorRecord& rec, int32_t row);
void removeAllRows(CalculatorRecord& rec);
// The row takes the function (or the field) and keeps the other, as adding
// the row anew would store them.
void setRowFunction(CalculatorRecord& rec, const DataTable& table, int32_t row, int32_t function);
void setRowField(CalculatorRecord& rec, const DataTable& table, int32_t row, int32_t field);
// Makes `row` the only spoken one; the spoken row itself stops speaking.
// Returns whether the row is spoken now.
bool toggleSpoken(CalculatorRecord& rec, int32_t row);
void clearSpoken(CalculatorRecord& rec);
int32_t spokenRow(const CalculatorRecord& rec);

// After a new table was loaded: rows whose field is no longer the numeric
// field of the same name are dropped; rows of fields that kept their name
// follow them to their new position. With no rows, or none with a field left
// after some were dropped, the default set is built.
void fitRowsToTable(CalculatorRecord& rec, const DataTable& table, bool speakFirst);

}  // namespace vlm::calculator
