#include "sources/access/access_loader.h"

#include <algorithm>
#include <charconv>
#include <new>
#include <utility>

#include "data/cell_loader.h"
#include "data/field_analysis.h"
#include "data/field_name.h"
#include "data/field_widen.h"
#include "data/source_types.h"
#include "data/table_clear.h"
#include "data/table_growth.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/worker_thread.h"
#include "platform/message_box.h"
#include "platform/report.h"
#include "sources/access/access_conversation.h"
#include "sources/load_model.h"
#include "sources/access/access_session.h"
#include "sources/access/server_sampling.h"
#include "sources/load_finish.h"
#include "sources/progress.h"
#include "sources/sampling_decision.h"
#include "sources/source_record.h"

namespace vlm {
namespace {

using platform::dde::Conversation;

constexpr uint8_t kCellLoadedBit = 0x04;
constexpr uint8_t kCellChangedBit = 0x08;

struct Fields {
  std::vector<std::string> names;
  std::vector<int32_t> codes;
};

// "names\r\ncodes\r\n": tab-separated names, then the type code of each.
bool parseFieldNames(std::string_view answer, Fields& out) {
  const size_t end = answer.find("\r\n");
  if (end == std::string_view::npos) return false;
  out.names = splitList(answer.substr(0, end));
  std::string_view rest = answer.substr(end + 2);
  const size_t second = rest.find("\r\n");
  if (second != std::string_view::npos) rest = rest.substr(0, second);
  for (const std::string& code : splitList(rest)) {
    int32_t value = 0;
    std::from_chars(code.data(), code.data() + code.size(), value);
    out.codes.push_back(value);
  }
  return !out.codes.empty();
}

bool readRowCount(const std::string& sourceName, const std::string& object, int32_t& rows) {
  Conversation c = Conversation::connect(kAccessService, sourceName + "; SQL SELECT Count(*) FROM [" + object + "];");
  if (!c) return false;
  std::string answer;
  if (!c.request("NextRow", answer)) return false;
  int64_t n = 0;
  const auto r = std::from_chars(answer.data(), answer.data() + answer.size(), n);
  if (r.ec != std::errc()) return false;
  rows = static_cast<int32_t>(std::clamp<int64_t>(n, 0, INT32_MAX));
  return true;
}

void noDataBox() {
  platform::MessageBoxRequest box;
  box.caption = "Loading Data...";
  box.text = "Sorry, \nno data to load.\n";
  box.icon = platform::BoxIcon::Information;
  platform::showMessageBox(box);
}

// Puts the buffered records into the table, after its rows. Returns false
// when the table could not grow (growRows said why).
bool storeChunk(EngineState& state, RecordStream& stream, bool& widened) {
  DataTable& table = *state.data;
  const int32_t rows = table.rowCount;
  const auto count = static_cast<int32_t>(stream.starts.size());
  if (count == 0) return true;
  const int32_t needed = rows + count;
  if (needed > table.rowCapacity && !growRows(table, grownCapacity(table.rowCapacity, needed, stream.expectedRows)))
    return false;
  {
    CellLoader loader(table, state.main->regional, stream.buffer);
    for (int32_t j = 0; j < count; ++j) {
      const size_t start = stream.starts[static_cast<size_t>(j)];
      const size_t end = stream.buffer.find('\0', start);
      const std::string_view record(stream.buffer.data() + start, end - start);
      widened |= storeRecord(table, loader, rows + j, stream.rowIds[static_cast<size_t>(j)], record);
    }
    loader.finish();
  }
  table.rowCount = needed;
  ModelRecord& model = *state.model;
  if (model.selectionFlags.size() < static_cast<size_t>(needed)) model.selectionFlags.resize(static_cast<size_t>(needed), 0);
  std::fill(model.selectionFlags.begin() + rows, model.selectionFlags.begin() + needed, 1);
  model.selectedCount = model.selectedCount + count;
  stream.buffer.clear();
  stream.starts.clear();
  stream.rowIds.clear();
  return true;
}

// After a chunk: the tools and the model are rebuilt when the table at least
// doubled since they last were (and at the end), so that a long load costs
// linear time; the host hears of every chunk.
void finishChunk(EngineState& state, RecordStream& stream, bool ended, bool widened, HostProgress& progress) {
  bool rebuild = false, first = false;
  {
    platform::DataLockGuard guard(state.main->dataLock);
    const int32_t rows = state.data->rowCount;
    first = stream.rowsAtLastRebuild == 0;
    rebuild = ended || first || widened || rows >= 2 * stream.rowsAtLastRebuild;
    if (rebuild) {
      finishLoadLocked(state, progress);
      stream.rowsAtLastRebuild = std::max(rows, 1);
    } else if (state.data->hooks.invalidateGraphicCache) {
      state.data->hooks.invalidateGraphicCache();
    }
  }
  if (rebuild) {
    if (first) settleModelAfterLoad(state);
    else postEngine(state, CMD_UPDATE_MODEL, 0);
  }
  postRefresh(state);
  if (ended) postBusy(state, false);
  postHits(state);
  progress.end();
}

}  // namespace

uintptr_t chunkArgument(uint32_t generation) { return static_cast<uintptr_t>(uint64_t{generation} << 32); }
uint32_t chunkGeneration(uintptr_t lParam) { return static_cast<uint32_t>(uint64_t{lParam} >> 32); }
bool isFullLoad(uintptr_t lParam) { return (uint64_t{lParam} & 0xFFFFFFFFu) != 0; }

int64_t keptRowCount(const SamplingPlan& plan, int32_t sourceRows) {
  if (sourceRows <= 0) return 0;
  switch (plan.method) {
    case SAMPLE_EACH: {
      const int64_t each = std::max(1, plan.each);
      return (sourceRows + each - 1) / each;
    }
    case SAMPLE_RANDOM:
      return std::count_if(plan.sampleList.begin(), plan.sampleList.end(),
                           [&](int32_t r) { return r >= 0 && r < sourceRows; });
    case SAMPLE_RANGE: {
      if (plan.from < 0 || plan.from >= sourceRows || plan.to < plan.from) return 0;
      const int64_t last = std::min(plan.to, sourceRows - 1);
      return (last - plan.from) / std::max(1, plan.step) + 1;
    }
    default:
      return sourceRows;
  }
}

int32_t grownCapacity(int32_t capacity, int32_t needed, int64_t expected) {
  // Every step copies the rows so far into fresh memory that the system
  // clears first; below a known end the steps are larger, so that fewer are
  // taken, and none passes the end.
  const bool bounded = expected >= needed;
  int64_t target = std::max<int64_t>(int64_t{capacity} * (bounded ? 4 : 2), needed);
  if (bounded) target = std::min(target, expected);
  return static_cast<int32_t>(std::clamp<int64_t>(target, needed, INT32_MAX));
}

bool storeRecord(DataTable& table, CellLoader& loader, int32_t sample, int32_t sourceIndex, std::string_view record) {
  table.rowIds[static_cast<size_t>(sample)] = sourceIndex;
  bool widened = false;
  size_t start = 0;
  for (int32_t f = 0; f < table.fieldCount; ++f) {
    DataField& field = table.fields[static_cast<size_t>(f)];
    Cell& cell = field.cells[static_cast<size_t>(sample)];
    cell.flags = static_cast<uint8_t>((cell.flags & ~(kCellPresent | kCellChangedBit)) | kCellLoadedBit);
    std::string_view text;
    if (start <= record.size()) {
      const size_t tab = record.find('\t', start);
      text = record.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
      start = tab == std::string_view::npos ? record.size() + 1 : tab + 1;
    }
    if (text.empty()) continue;
    if (field.type == FT_INTEGER && integerTextOverflows(text)) {
      widenToReal(field, sample);
      widened = true;
    }
    loader.store(f, sample, text);
  }
  return widened;
}

int32_t startObjectLoad(EngineState& state, int32_t objectIndex) {
  MainRecord& m = *state.main;
  DataTable& table = *state.data;
  RecordStream& stream = accessSession(state).stream;
  closeRecordStream(stream);
  const uint32_t generation = ++m.loadGeneration;
  HostProgress progress(state);
  progress.begin(" connecting", 1, 100);

  AccessObject object;
  std::string sourceName;
  {
    platform::DataLockGuard guard(m.dataLock);
    if (objectIndex < 0 || static_cast<size_t>(objectIndex) >= table.accessObjects.size()) {
      progress.end();
      return kObjectUnread;
    }
    object = table.accessObjects[static_cast<size_t>(objectIndex)];
    sourceName = table.sourceName;
  }
  if (object.kind != kAccessTable && object.kind != kAccessQuery) {
    progress.end();
    return kObjectUnread;
  }
  progress.step(10);

  // The table loaded before stays until the new object's count and fields
  // are known: a database that cannot be read takes nothing away. A load
  // of the selection only reads the rows that pass its filter; any other
  // load reads every row.
  std::shared_ptr<const platform::db::RowFilter> filter = std::exchange(m.nextLoadFilter, nullptr);
  if (!filterOnServer(object.name, filter)) filter = nullptr;
  auto keepLoadedFilter = [&] {
    filterOnServer(object.name, m.loadedFilterObject == object.name ? m.loadedFilter : nullptr);
  };
  int32_t rows = 0;
  if (!readRowCount(sourceName, object.name, rows)) {
    keepLoadedFilter();
    progress.end();
    return kObjectUnread;
  }
  if (rows <= 0) {
    keepLoadedFilter();
    progress.end();
    noDataBox();
    return kObjectUnread;
  }
  progress.step(20);
  SamplingPlan plan;
  if (!decideSampling(state, rows, plan)) {
    keepLoadedFilter();
    progress.end();
    return kLoadCancelled;
  }

  Fields fields;
  {
    Conversation c = Conversation::connect(kAccessService, objectTopic(sourceName, object, false));
    std::string answer;
    if (!c || !c.request("FieldNames;T", answer) || !parseFieldNames(answer, fields)) {
      keepLoadedFilter();
      progress.end();
      return kObjectUnread;
    }
  }
  const size_t total = fields.codes.size();
  const size_t count = std::min<size_t>(total, kMaxFields);

  {
    platform::DataLockGuard guard(m.dataLock);
    clearTable(table);
    table.currentAccessObject = objectIndex;
    m.loadedFilter = filter;
    m.loadedFilterObject = object.name;
    // The tree shows the object in use: its node opens.
    state.model->scene.tree.expanded[object.kind == kAccessQuery ? 1 : 0] = true;
    table.sourceRowCount = rows;
    table.serverQuery.clear();
    for (size_t f = 0; f < count; ++f) {
      DataField& field = table.fields[f];
      setFieldName(field, f < fields.names.size() ? fields.names[f] : std::string(), static_cast<int32_t>(f + 1));
      field.analysisClass = static_cast<uint8_t>(std::clamp(fields.codes[f], 0, 254));
      field.type = fieldTypeFromSourceCode(DSK_ACCESS, fields.codes[f]);
      resetFieldAnalysis(field);
      field.flags |= kFieldValid;
    }
    table.fieldCount = static_cast<int32_t>(count);
    publishSource(state);
  }
  if (total > count)
    platform::reportError(("Only the first " + std::to_string(count) + " of the " + std::to_string(total) +
                           " fields of \"" + object.name + "\" can be loaded.")
                              .c_str());
  progress.step(30);
  progress.step(50);
  try {
    stream.buffer.reserve(kStreamBufferStart);
    stream.starts.reserve(kChunkRecords);
    stream.rowIds.reserve(kChunkRecords);
  } catch (const std::bad_alloc&) {
    progress.end();
    platform::reportError("Can't load Access data! (#1)");
    return kStreamUnopened;
  }

  const bool serverSamples = sampleOnServer(object.name, plan);
  stream.conversation = Conversation::connect(kAccessService, objectTopic(sourceName, object, true));
  if (!stream.conversation) {
    progress.end();
    closeRecordStream(stream);
    return kStreamUnopened;
  }
  stream.open = true;
  stream.generation = generation;
  stream.object = objectIndex;
  stream.plan = std::move(plan);
  stream.received = 0;
  stream.serverSamples = serverSamples;
  stream.filtered = filter != nullptr;
  stream.wanted = nextSourceRow(stream.plan, -1);
  stream.expectedRows = static_cast<int32_t>(std::min<int64_t>(keptRowCount(stream.plan, rows), INT32_MAX));
  stream.rowsAtLastRebuild = 0;
  m.loadControl.connectionResult = 1;
  progress.end();
  postData(state, CMD_LOAD, static_cast<uintptr_t>(objectIndex), chunkArgument(generation));
  return kStreamOpened;
}

void continueObjectLoad(EngineState& state, int32_t objectIndex, uint32_t generation) {
  MainRecord& m = *state.main;
  RecordStream& stream = accessSession(state).stream;
  if (!stream.open || stream.generation != generation || stream.object != objectIndex ||
      m.loadGeneration.load() != generation)
    return;
  postBusy(state, true);
  HostProgress progress(state);
  progress.begin(" loading", 1, 100);
  const int32_t sourceRows = std::max(1, state.data->sourceRowCount);
  const int64_t every = std::max(1, sourceRows / 100);
  bool ended = stream.wanted == kSamplingEnd;
  std::string answer;
  while (!ended && stream.starts.size() < static_cast<size_t>(kChunkRecords)) {
    if (m.abortFlag.load() != 0 || !stream.conversation.request("NextRow", answer)) {
      ended = true;
      break;
    }
    const int64_t index = stream.serverSamples ? stream.wanted : stream.received;
    ++stream.received;
    if (index % every == 0) progress.step(index * 100 / sourceRows);
    if (index < stream.wanted) continue;
    try {
      stream.starts.push_back(stream.buffer.size());
      stream.buffer.append(answer);
      stream.buffer.push_back('\0');
      stream.rowIds.push_back(static_cast<int32_t>(stream.filtered ? servedSourceRow() : index));
    } catch (const std::bad_alloc&) {
      stream.starts.resize(stream.rowIds.size());
      stream.conversation.disconnect();
      platform::reportError("Can't load Access data! (#2)");
      ended = true;
      break;
    }
    stream.wanted = nextSourceRow(stream.plan, static_cast<int32_t>(index));
    if (stream.wanted == kSamplingEnd) ended = true;
  }

  bool widened = false;
  {
    platform::DataLockGuard guard(m.dataLock);
    if (!storeChunk(state, stream, widened)) ended = true;
  }
  if (m.abortFlag.load() != 0) ended = true;
  if (ended) {
    const bool none = state.data->rowCount == 0;
    stream.conversation.disconnect();
    finishChunk(state, stream, true, widened, progress);
    closeRecordStream(stream);
    if (none) noDataBox();
    return;
  }
  finishChunk(state, stream, false, widened, progress);
  postData(state, CMD_LOAD, static_cast<uintptr_t>(objectIndex), chunkArgument(generation));
}

}  // namespace vlm
