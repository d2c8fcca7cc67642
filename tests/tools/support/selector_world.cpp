#include "tools/support/selector_world.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>
#include <tuple>

#include "data/distinct_values.h"
#include "data/text_pool.h"
#include "data/value_text.h"
#include "engine/worker_thread.h"
#include "tools/selector/range_bounds.h"
#include "tools/selector/selector_rows.h"
#include "tools/selector/selector_rules.h"

namespace vlm::test {
namespace {

using namespace selector;

bool present(const Cell& c) { return (c.flags & kCellPresent) != 0; }

auto dateKey(const TimeEntry& t) { return std::tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond); }

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The value of an entry and of a sample, comparable with ==.
int64_t entryValue(const DataField& f, int32_t entry) {
  const DistinctValue& d = f.distinct[static_cast<size_t>(entry)];
  if (d.flags & kDistinctEmpty) return INT64_MIN;
  return f.type == FT_REAL ? static_cast<int64_t>(std::bit_cast<uint32_t>(d.fvalue)) : d.value;
}

int64_t sampleValue(const DataField& f, const Cell& c) {
  if (!present(c)) return INT64_MIN;
  return f.type == FT_REAL ? static_cast<int64_t>(std::bit_cast<uint32_t>(c.value.f)) : c.value.i;
}

bool rangePasses(const EngineState& state, const DataField& f, const Cell& c) {
  if (rangeIsFull(f)) return true;
  if (!present(c)) return f.selector.includeMissing;
  switch (f.type) {
    case FT_INTEGER:
      return c.value.i >= f.selectorLow.i && c.value.i <= f.selectorHigh.i;
    case FT_REAL:
      return c.value.f >= f.selectorLow.f && c.value.f <= f.selectorHigh.f;
    case FT_SIZE:
      return sizeBytesOf(f, c) >= f.selectorLow.i && sizeBytesOf(f, c) <= f.selectorHigh.i;
    case FT_DATETIME: {
      const auto& entries = state.data->timeTable.entries;
      const auto at = [&](int32_t entry) { return dateKey(entries[static_cast<size_t>(f.distinct[static_cast<size_t>(entry)].value)]); };
      const auto value = dateKey(entries[static_cast<size_t>(c.value.i)]);
      return at(f.selectorLow.i) <= value && value <= at(f.selectorHigh.i);
    }
    default:
      return true;
  }
}

}  // namespace

std::shared_ptr<EngineState> makeSelectorState() {
  auto s = std::make_shared<EngineState>();
  s->main = std::make_unique<MainRecord>();
  s->view = std::make_unique<ViewRecord>();
  s->model = std::make_unique<ModelRecord>();
  s->data = std::make_unique<DataTable>();
  s->main->engineThread = std::make_shared<WorkerThread>(
      "engine-under-test", [](EngineState&, WorkerThread&, platform::Command&) { return true; }, nullptr, nullptr);
  installTableHooks(s);
  return s;
}

void loadColumns(EngineState& state, const std::vector<Column>& columns) {
  loadTable(state, columns);
  platform::DataLockGuard guard(state.main->dataLock);
  buildAllDistinctValues(*state.data);
  takeLoadedTableLocked(state);
  takeEngineCommands(state);
}

std::vector<int32_t> selectedSamples(const EngineState& state) {
  std::vector<int32_t> selected;
  for (int32_t s = 0; s < state.data->rowCount; ++s)
    if (state.model->selectionFlags[static_cast<size_t>(s)] != 0) selected.push_back(s);
  return selected;
}

std::vector<int32_t> takeEngineCommands(EngineState& state) {
  std::vector<int32_t> numbers;
  bool quit = false;
  while (auto c = state.main->engineThread->queue().next(std::chrono::milliseconds(0), &quit)) numbers.push_back(c->number);
  return numbers;
}

bool passesRow(const EngineState& state, int32_t field, int32_t sample) {
  const DataField& f = state.data->fields[static_cast<size_t>(field)];
  const Cell& c = f.cells[static_cast<size_t>(sample)];
  switch (f.selector.method) {
    case kRangeSlider:
      return rangePasses(state, f, c);
    case kItemSlider:
      if (f.selector.all) return true;
      return entryValue(f, f.selectorLow.i) == sampleValue(f, c);
    case kSamples:
      for (int32_t e = 0; e < f.distinctCount; ++e)
        if ((f.distinct[static_cast<size_t>(e)].flags & kDistinctSelected) && entryValue(f, e) == sampleValue(f, c))
          return true;
      return false;
    case kSubstring: {
      const std::string query = lower(f.selectorText);
      if (query.empty()) return true;
      if (!present(c)) return false;
      if (f.type == FT_BOOLEAN || f.type == FT_FLAG)
        return lower(c.value.i != 0 ? "TRUE" : "FALSE").find(query) != std::string::npos;
      const auto text = poolText(state.data->textPool, c.value.i);
      return text && lower(std::string(*text)).find(query) != std::string::npos;
    }
    default:
      return true;
  }
}

bool passesRows(const EngineState& state, int32_t sample, int32_t except) {
  for (int32_t f = 0; f < state.data->fieldCount; ++f)
    if (f != except && !passesRow(state, f, sample)) return false;
  return true;
}

int32_t entryWithText(const EngineState& state, int32_t field, const std::string& text) {
  const DataField& f = state.data->fields[static_cast<size_t>(field)];
  for (int32_t e = 0; e < f.distinctCount; ++e) {
    char buffer[1024];
    distinctValueText(*state.data, field, e, buffer, sizeof buffer, state.main->regional);
    if (text == buffer) return e;
  }
  return -1;
}

}  // namespace vlm::test
