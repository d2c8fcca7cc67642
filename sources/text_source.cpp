#include "sources/text_source.h"

#include "data/table_clear.h"
#include "data/table_text_load.h"
#include "engine/engine_state.h"
#include "platform/report.h"
#include "sources/load_finish.h"
#include "sources/progress.h"
#include "sources/source_record.h"

namespace vlm {
namespace {

const char* messageFor(TextLoadStatus status, const TextSourceMessages& messages) {
  switch (status) {
    case TextLoadStatus::NoFields:
    case TextLoadStatus::HeaderTooLong:
    case TextLoadStatus::NoSamples:
    case TextLoadStatus::NothingStored:
      return messages.badData;
    case TextLoadStatus::LineTooLong:
    case TextLoadStatus::BadQuote:
      return messages.badFormat;
    default:
      return nullptr;  // a cancel says nothing; a failed growth said why
  }
}

}  // namespace

TextSourceResult loadTextSource(EngineState& state, std::string_view text, TableTextFormat format,
                                const TextSourceMessages& messages, const TextSourceName& source,
                                const std::function<void()>& textRead) {
  MainRecord& m = *state.main;
  DataTable& table = *state.data;
  HostProgress progress(state);
  TextLoadResult result;
  {
    platform::DataLockGuard guard(m.dataLock);
    clearTable(table);
    result = loadTableText(table, text, format, m.regional, &m.abortFlag, progress.sink());
    if (textRead) textRead();
    if (result.status == TextLoadStatus::Loaded) {
      table.sourceName = source.name;
      table.sourcePath = source.path;
      table.serverQuery.clear();
      table.sourceKind = DSK_CLIPBOARD;
      // Published before the finishing steps: the Selector's first count
      // already tells the host the rows, and a command the user gives on
      // seeing them must find the table's source.
      publishSource(state);
      finishLoadLocked(state, progress);
    } else {
      // Nothing half-built stays behind: the table is empty again.
      clearTable(table);
      markNoData(table);
    }
    publishSource(state);
    progress.end();
  }
  if (result.status == TextLoadStatus::Loaded) {
    m.loadControl.connectionResult = 1;
    return TextSourceResult::Loaded;
  }
  if (const char* message = messageFor(result.status, messages)) platform::reportError(message);
  if (result.status == TextLoadStatus::Aborted) {
    m.loadControl.connectionResult = -11;
    return TextSourceResult::Cancelled;
  }
  m.loadControl.connectionResult = -1;
  return TextSourceResult::Failed;
}

void failTextSource(EngineState& state) {
  {
    platform::DataLockGuard guard(state.main->dataLock);
    markNoData(*state.data);
    publishSource(state);
  }
  state.main->loadControl.connectionResult = -1;
}

}  // namespace vlm
