#pragma once
// How a number stored in a workbook reads as the text of its cell: dates and
// times as the cell's number format shows them, other numbers as they are,
// with up to 15 significant digits (the precision a sheet keeps).
#include <string>
#include <string_view>

namespace vlm::platform::workbook {

// A number as the "General" format shows it: no trailing zeros, 15
// significant digits at most ("0.1" for 0.1000000000000000055).
std::string numberText(double value);

// Whether the format code (the part before the first ';') shows a date or a
// time: it has a day, month, year, hour or second part outside quoted and
// escaped text and brackets ([h], [mm] and [ss] count).
bool isDateFormat(std::string_view formatCode);

// The format code of a built-in number format id (0..49), as the
// spreadsheet shows it here; empty for ids without a built-in code.
// The built-in short date (14) is written year first, so that every reader
// takes it the same way whatever its date order.
std::string_view builtinFormat(int id);

// A date serial (days since the start of the date system, the fraction the
// time of day) shown by a date format code. `date1904` selects the system
// that counts from 1904-01-01 instead of 1899-12-31 (with its day 60, the
// 29th of February 1900 that never was). Empty when the serial is no date.
std::string dateText(double serial, std::string_view formatCode, bool date1904);

}  // namespace vlm::platform::workbook
