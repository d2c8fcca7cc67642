#include "sources/connection_request.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/model_file/model_file_open.h"
#include "platform/database/server_login.h"
#include "sources/access/access_connection.h"
#include "sources/access/access_conversation.h"
#include "sources/access/access_loader.h"
#include "platform/report.h"
#include "platform/workbook/workbook_file.h"
#include "sources/clipboard_exchange.h"
#include "sources/excel/excel_connection.h"
#include "sources/load_finish.h"
#include "sources/load_model.h"
#include "sources/source_record.h"
#include "sources/text_file_source.h"

namespace vlm {
namespace {

// vlm_Load hands its with-control flag over through the main record.
void takeWithControl(EngineState& state) {
  const int32_t pending = state.main->pendingWithControl.exchange(-1);
  if (pending >= 0) state.main->loadControl.withControl = pending;
}

// A new connection: the model takes the old source's names, the table is
// cleared, and the abort flag is cleared for the new load. A record stream
// still open ends, and a chunk of it still queued finds a newer load.
void startConnection(EngineState& state) {
  takeWithControl(state);
  closeAccess(state);
  ++state.main->loadGeneration;
  ModelRecord& model = *state.model;
  model.sourceName = state.data->sourceName;
  model.sourceSelection = state.data->excelSelection;
  postBusy(state, true);
  clearData(state);
  state.main->abortFlag = 0;
}

// Marks a load running for as long as it lives, from the clearing of the
// table on, so that the copy keeps off a table being replaced.
struct LoadRunning {
  explicit LoadRunning(EngineState& s) : state(s) { state.main->loadRunning.fetch_add(1); }
  ~LoadRunning() { state.main->loadRunning.fetch_sub(1); }
  EngineState& state;
};

bool containsUpper(std::string text, const char* part) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text.find(part) != std::string::npos;
}

}  // namespace

void runConnectionRequest(EngineState& state, int32_t mode, const std::string& wantedObject, bool retried) {
  MainRecord& m = *state.main;
  if (mode <= 0) mode = m.applicationKind == 2 ? 2 : 1;
  switch (mode) {
    case 1:
      // The workspace is asked first: a table loaded stays unless there is
      // a selection to read instead.
      takeWithControl(state);
      if (keepTableWithoutSelection(state)) break;
      startConnection(state);
      connectAndLoadExcel(state);
      break;
    case 2: {
      // The workspace is asked first: the table loaded stays unless it has a
      // database open. The data done event is set once it has answered.
      takeWithControl(state);
      AccessConnection connection = connectAccess(state);
      if (connection.result == kAccessConnected) startConnection(state);
      connectAndLoadAccess(state, std::move(connection), retried, wantedObject);
      return;
    }
    case 3: {
      LoadRunning running(state);
      startConnection(state);
      if (pasteClipboard(state))
        endLoaded(state);
      else
        endNothingLoaded(state);
      break;
    }
    default:
      return;
  }
  m.dataDone.set();
}

bool onInitConnection(EngineState& state, const platform::Command& command) {
  // lParam 1 marks the one retry after the workspace was told to answer; the
  // text names the object to load when the database holds it.
  runConnectionRequest(state, static_cast<int32_t>(static_cast<intptr_t>(command.wParam)), command.text,
                       command.lParam == 1);
  return true;
}

bool onCloseConnection(EngineState& state, const platform::Command&) {
  // A spreadsheet conversation lasts one request; only the record stream stays open.
  if (state.data->sourceKind == DSK_ACCESS) closeAccess(state);
  return true;
}

bool onLoad(EngineState& state, const platform::Command& command) {
  const int32_t object = static_cast<int32_t>(static_cast<intptr_t>(command.wParam));
  if (isFullLoad(command.lParam)) {
    // Only a new load clears the abort flag: a Stop between two chunks holds.
    takeWithControl(state);
    MainRecord& m = *state.main;
    m.loadControl.samplingAccepted =
        object == state.data->currentAccessObject && command.lParam != kLoadNewRows ? 1 : 0;
    m.abortFlag = 0;
  }
  loadAccessObject(state, object, command.lParam);
  return true;
}

namespace {

// Opens a file as the data (or a model file as the model, a workbook in the
// spreadsheet workspace), or says why it cannot and changes nothing.
void openFile(EngineState& state, const std::string& path) {
  if (containsUpper(path, ".VLM")) {
    // A model file: no model waits for data any more; this one is opened.
    setPendingModel(state, "");
    openModelFile(state, path, ModelMode::Open);
    return;
  }
  // A workbook opens in the spreadsheet workspace, whichever edition runs.
  if (platform::workbook::isSpreadsheetFile(path)) {
    openWorkbookFile(state, path);
    return;
  }
  const auto format = platform::db::isServerConnection(path) ? std::nullopt : textFileFormat(path);
  if (!format) {
    // Any other file is a database for the workspace to open (it says why
    // when it cannot); without the workspace, say so and change nothing.
    if (state.main->applicationKind == 2) {
      openDatabaseFile(state, path);
    } else {
      const std::string text = "Unable to open \"" + platform::db::splitPassword(path).connection +
                               "\": Velmora does not read files of this type.";
      platform::reportError(text.c_str());
    }
    return;
  }
  TableFileText text;
  if (!readTableFile(path, text)) return;  // reported, nothing changed
  LoadRunning running(state);
  startConnection(state);
  if (loadTextFile(state, path, text, *format)) {
    postHost(state, HM_RECENT_FILE, 0, 0, state.data->sourcePath);
    endLoaded(state);
  } else {
    endNothingLoaded(state);
  }
}

}  // namespace

bool onOpenFile(EngineState& state, const platform::Command& command) {
  if (!command.text.empty()) openFile(state, command.text);
  state.main->dataDone.set();
  return true;
}

}  // namespace vlm
