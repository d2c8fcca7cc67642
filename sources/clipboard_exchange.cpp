#include "sources/clipboard_exchange.h"

#include <algorithm>
#include <new>
#include <optional>

#include "data/table_text_write.h"
#include "engine/engine_state.h"
#include "platform/clipboard.h"
#include "platform/host_read_guard.h"
#include "platform/report.h"
#include "sources/text_source.h"

namespace vlm {
namespace {

constexpr const char* kBadData = "Bad Data in the Clipboard.";
constexpr const char* kBadFormat = "Incorrect Data Format in the Clipboard...";
constexpr const char* kCannotCopy = "Unable to copy data to Clipboard...";

}  // namespace

int clipboardTextValid(std::string_view text) {
  int breaks = 0;
  for (size_t i = 0; i < text.size() && breaks < 2; ++i) {
    if (text[i] != '\r') continue;
    ++breaks;
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return breaks >= 2 ? 1 : 0;
}

TableTextFormat clipboardTableFormat(const platform::ClipboardTable& table) {
  return table.desktopLineEnds ? TableTextFormat::TabFile : TableTextFormat::Clipboard;
}

bool pasteClipboard(EngineState& state) {
  // Read before the data lock is taken (the clipboard on the host thread).
  std::optional<platform::ClipboardTable> table = platform::clipboard()->readTable();
  if (!table) {
    platform::reportError(kBadData);
    failTextSource(state);
    return false;
  }
  const TextSourceResult result =
      loadTextSource(state, table->text, clipboardTableFormat(*table), {kBadData, kBadFormat}, {"CLIPBOARD", ""},
                     [&table] { table.reset(); });
  return result == TextSourceResult::Loaded;
}

int copyTableToClipboard(EngineState& state) {
  // A load replaces the table from its first step on: copying then would give
  // neither the old table nor the new one.
  if (state.main->loadRunning.load() != 0) {
    platform::reportError(kCannotCopy);
    return 0;
  }
  std::string text;
  {
    // The table, the objects and the selection flags are read under the data
    // lock; the host's queued work runs while it waits.
    platform::DataLock& lock = state.main->dataLock;
    const bool held = lock.heldByCurrentThread();
    std::optional<platform::HostReadGuard> read;
    if (!held) read.emplace(lock);
    const DataTable& table = *state.data;
    const int32_t kind = table.sourceKind;
    if (kind < DSK_EXCEL || kind > DSK_ODBC) return 0;
    const ModelRecord& model = *state.model;
    // The samples of the scene's objects; before the scene has objects, every sample.
    const int32_t rows =
        model.objectCount > 0 ? std::min(model.objectCount, table.rowCount.get()) : table.rowCount.get();
    try {
      text = tableTextForCopy(table, rows, model.selectionFlags, model.selectedCount != 0, state.main->regional);
    } catch (const std::bad_alloc&) {
      return 0;
    }
  }
  if (!platform::clipboard()->writeText(text)) {
    platform::reportError(kCannotCopy);
    return 0;
  }
  return 1;
}

}  // namespace vlm
