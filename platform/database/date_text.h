#pragma once
// Dates held as numbers, written as the texts every engine's cursor gives.
#include <cstdint>
#include <string>

namespace vlm::platform::db {

// "YYYY-MM-DD hh:mm:ss" of a count of seconds since 1970-01-01 00:00:00.
std::string unixTimeText(int64_t seconds);
// The same of a Julian day number (fractions are the time of day).
std::string julianDayText(double day);

}  // namespace vlm::platform::db
