#include "support/conversation_load.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "data/cell_loader.h"
#include "data/field_analysis.h"
#include "data/field_name.h"
#include "data/source_types.h"
#include "data/table_clear.h"
#include "data/table_growth.h"
#include "platform/dde/conversation.h"
#include "sources/access/access_loader.h"

namespace vlm::bench {

using Clock = std::chrono::steady_clock;

namespace {
double processSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
}  // namespace

ConversationLoad loadThroughConversation(DataTable& table, const std::string& source, const std::string& object,
                                         int32_t expectedRows, const platform::RegionalSettings& settings) {
  using platform::dde::Conversation;
  ConversationLoad out;
  clearTable(table);
  const auto start = Clock::now();
  const double cpuStart = processSeconds();
  std::string answer;
  Conversation fields = Conversation::connect("MSAccess", source + ";TABLE " + object);
  if (!fields.request("FieldNames;T", answer) || answer.find("\r\n") == std::string::npos) return out;
  // The type codes are on the second line, tab-separated.
  std::string codes = answer.substr(answer.find("\r\n") + 2);
  codes.resize(std::min(codes.size(), codes.find("\r\n")));
  int f = 0;
  for (size_t a = 0, b = 0; b != std::string::npos && f < kMaxFields; a = b + 1, ++f) {
    b = codes.find('\t', a);
    const int code = std::atoi(codes.c_str() + a);
    DataField& field = table.fields[static_cast<size_t>(f)];
    field.type = fieldTypeFromSourceCode(DSK_ACCESS, code);
    field.analysisClass = static_cast<uint8_t>(code);
    resetFieldAnalysis(field);
    field.flags |= kFieldValid;
    setFieldName(field, "f" + std::to_string(f), f + 1);
  }
  table.fieldCount = f;
  Conversation stream = Conversation::connect("MSAccess", source + "; TABLE " + object);
  std::string buffer;
  std::vector<size_t> starts;
  std::vector<int32_t> ids;
  int32_t index = 0;
  bool more = true;
  while (more) {
    const auto chunk = Clock::now();
    buffer.clear(), starts.clear(), ids.clear();
    while (starts.size() < 1000 && (more = stream.request("NextRow", answer))) {
      starts.push_back(buffer.size());
      buffer.append(answer);
      buffer.push_back('\0');
      ids.push_back(index++);
    }
    const auto storing = Clock::now();
    out.streamSeconds += std::chrono::duration<double>(storing - chunk).count();
    const auto rows = table.rowCount.get();
    const auto needed = rows + static_cast<int32_t>(starts.size());
    if (needed > table.rowCapacity) growRows(table, grownCapacity(table.rowCapacity, needed, expectedRows));
    CellLoader loader(table, settings, buffer);
    for (size_t j = 0; j < starts.size(); ++j)
      storeRecord(table, loader, rows + static_cast<int32_t>(j), ids[j], buffer.c_str() + starts[j]);
    loader.finish();
    table.rowCount = needed;
    out.storeSeconds += std::chrono::duration<double>(Clock::now() - storing).count();
  }
  out.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  out.cpuSeconds = processSeconds() - cpuStart;
  out.rows = table.rowCount;
  return out;
}

}  // namespace vlm::bench
