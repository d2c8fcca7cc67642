#include "sources/connection_request.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/model_file/model_file_open.h"
#include "sources/clipboard_exchange.h"
#include "sources/load_finish.h"
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
// cleared, and the abort flag is cleared for the new load.
void startConnection(EngineState& state) {
  takeWithControl(state);
  ModelRecord& model = *state.model;
  model.sourceName = state.data->sourceName;
  model.sourceSelection = state.data->excelSelection;
  postBusy(state, true);
  clearData(state);
  state.main->abortFlag = 0;
}

// The Excel and Access sources are not available on this platform: a
// connection to them ends as a connection to an unreachable source.
void unreachableSource(EngineState& state) {
  {
    platform::DataLockGuard guard(state.main->dataLock);
    markNoData(*state.data);
    publishSource(state);
  }
  state.main->loadControl.connectionResult = -1;
  endNothingLoaded(state);
}

bool containsUpper(std::string text, const char* part) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text.find(part) != std::string::npos;
}

}  // namespace

void runConnectionRequest(EngineState& state, int32_t mode) {
  MainRecord& m = *state.main;
  if (mode <= 0) mode = m.applicationKind == 2 ? 2 : 1;
  switch (mode) {
    case 1:
    case 2:
      startConnection(state);
      unreachableSource(state);
      break;
    case 3:
      startConnection(state);
      if (pasteClipboard(state))
        endLoaded(state);
      else
        endNothingLoaded(state);
      break;
    default:
      return;
  }
  m.dataDone.set();
}

bool onInitConnection(EngineState& state, const platform::Command& command) {
  runConnectionRequest(state, static_cast<int32_t>(static_cast<intptr_t>(command.wParam)));
  return true;
}

bool onCloseConnection(EngineState&, const platform::Command&) {
  // No conversation with Excel or Access is ever open here.
  return true;
}

bool onLoad(EngineState& state, const platform::Command& command) {
  takeWithControl(state);
  MainRecord& m = *state.main;
  const int32_t object = static_cast<int32_t>(static_cast<intptr_t>(command.wParam));
  m.loadControl.samplingAccepted = object == state.data->currentAccessObject ? 1 : 0;
  m.abortFlag = 0;
  postBusy(state, true);
  if (state.data->sourceKind == DSK_ACCESS || m.applicationKind == 2) {
    // Loading an Access object needs Access, which is not reachable here.
    runConnectionRequest(state, 2);
    return true;
  }
  postBusy(state, false);
  return true;
}

bool onOpenFile(EngineState& state, const platform::Command& command) {
  const std::string& path = command.text;
  if (path.empty()) return true;
  if (containsUpper(path, ".VLM")) {
    // A model file: no model waits for data any more; this one is opened.
    state.model->pendingModelPath.clear();
    openModelFile(state, path, ModelMode::Open);
    return true;
  }
  const auto format = textFileFormat(path);
  if (!format) return true;  // workbooks and databases need Excel or Access
  startConnection(state);
  if (loadTextFile(state, path, *format)) {
    postHost(state, HM_RECENT_FILE, 0, 0, state.data->sourcePath);
    endLoaded(state);
  } else {
    endNothingLoaded(state);
  }
  state.main->dataDone.set();
  return true;
}

}  // namespace vlm
