#pragma once
// The table the whole-table benchmarks load: a fixed generator, so that this
// program and its peers read byte for byte the same file in every run.
#include <cstdint>
#include <string>

namespace vlm::bench {

struct TableFileShape {
  int64_t rows = 1000000;
  // Distinct texts of the "code" column: few (the usual case) or one per row.
  int64_t distinctCodes = 5000;
};

// Writes a tab-separated file with a header line and `rows` lines of eight
// columns: two integers (id, count), two reals (price, ratio), two short
// texts (city, code) and two ISO dates (day, shipped), lines ending in LF.
// Returns false when the file cannot be written.
bool writeTableFile(const std::string& path, const TableFileShape& shape);

// The dates' column names, for the peers that parse them.
inline constexpr const char* kDateColumns = "day,shipped";

}  // namespace vlm::bench
