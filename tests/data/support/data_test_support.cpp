#include "data/support/data_test_support.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

#include "data/cell_classify.h"
#include "data/cell_store.h"
#include "data/field_analysis.h"
#include "data/table_clear.h"
#include "data/table_growth.h"
#include "data/value_text.h"

namespace vlm::test {

bool limitAddressSpace(size_t bytes) {
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm) return false;
  long pages = 0;
  const bool read = std::fscanf(statm, "%ld", &pages) == 1;
  std::fclose(statm);
  if (!read) return false;
  rlimit limit{};
  getrlimit(RLIMIT_AS, &limit);
  limit.rlim_cur = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + bytes;
  return setrlimit(RLIMIT_AS, &limit) == 0;
}

std::string analyseColumn(DataField& field, const std::vector<std::string>& cells,
                          const platform::RegionalSettings& regional) {
  for (const std::string& cell : cells)
    if (!cell.empty()) field.analysisClass = classifyCell(field, cell, regional);
  applyAnalysisClass(field);
  return std::to_string(field.type);
}

void loadColumn(DataTable& table, const std::vector<std::string>& cells, const platform::RegionalSettings& regional) {
  clearTable(table);
  table.fieldCount = 1;
  DataField& field = table.fields[0];
  analyseColumn(field, cells, regional);
  growRows(table, static_cast<int32_t>(cells.size()));
  for (size_t i = 0; i < cells.size(); ++i) storeCell(table, 0, static_cast<int32_t>(i), cells[i], regional);
  table.rowCount = static_cast<int32_t>(cells.size());
}

std::string cellText(const DataTable& table, int sample, const platform::RegionalSettings& regional, bool group) {
  char buffer[1024];
  valueText(table, 0, sample, buffer, sizeof buffer, group, regional);
  return buffer;
}

}  // namespace vlm::test
