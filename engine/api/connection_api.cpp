// The connection exports: each posts to the data thread and returns, apart
// from the getters and vlm_CancelAction.
#include <string>

#include "data/text_buffer.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "sources/access/access_conversation.h"
#include "sources/cancel.h"
#include "sources/source_record.h"

namespace vlm {
namespace {

constexpr size_t kFileNameLimit = 4095;

int post(int32_t number, uintptr_t wParam = 0, uintptr_t lParam = 0, std::string text = {}) {
  auto state = currentState();
  if (!state) return 0;
  return postData(*state, number, wParam, lParam, std::move(text)) ? 1 : 0;
}

uintptr_t arg(int value) { return static_cast<uintptr_t>(static_cast<intptr_t>(value)); }

}  // namespace
}  // namespace vlm

using namespace vlm;

VLM_API int vlm_InitConnection(int mode) {
  return post(CMD_INIT_CONNECTION, arg(mode)) ? 1 : 0;
}

VLM_API int vlm_CloseConnection(void) { return post(CMD_CLOSE_CONNECTION); }

VLM_API int vlm_Load(int withControl) {
  auto state = currentState();
  if (!state) return 0;
  MainRecord& m = *state->main;
  const SourceDescription source = publishedSource(*state);
  const int32_t flag = withControl ? 1 : 0;
  // A table read from a file reloads from that file. A pasted table has no
  // source to read again: nothing happens, and the table stays.
  if (source.kind == DSK_CLIPBOARD) {
    if (source.path.empty()) return 0;
    return postData(*state, CMD_OPEN_FILE, 0, 0, source.path) ? 1 : 0;
  }
  auto loadObject = [&] {
    m.pendingWithControl = flag;
    return postData(*state, CMD_LOAD, arg(source.currentObject), 1) ? 1 : 0;
  };
  auto connectExcel = [&] {
    m.pendingWithControl = flag;
    return postData(*state, CMD_INIT_CONNECTION, 1) ? 1 : 0;
  };
  if (m.applicationKind == 1) return connectExcel();
  if (m.applicationKind == 2 && (source.kind == DSK_ACCESS || source.kind == DSK_NONE)) {
    // The database still open in the workspace: its current table or query
    // loads again (Ctrl+R with the Load Control dialog). Another database:
    // a new connection, which loads the object of the same name when the
    // database has one.
    if (source.kind == DSK_ACCESS && accessDatabasePath() == source.path) return loadObject();
    m.pendingWithControl = flag;
    return postData(*state, CMD_INIT_CONNECTION, 2, 0, source.objectName) ? 1 : 0;
  }
  if (source.kind == DSK_EXCEL) return connectExcel();
  if (source.kind == DSK_ACCESS) return loadObject();
  return 0;
}

VLM_API int vlm_LoadDataTable(int objectIndex, int full) {
  return post(CMD_LOAD, arg(objectIndex), full ? 1 : 0);
}

VLM_API int vlm_LoadSelectionOnly(void) { return post(CMD_LOAD_SELECTION); }

VLM_API int vlm_OpenFile(const char* fileName, int mode) {
  if (!fileName) return 0;
  std::string name(fileName);
  if (name.size() > kFileNameLimit) name.resize(kFileNameLimit);
  return post(CMD_OPEN_FILE, arg(mode), 0, std::move(name));
}

VLM_API int vlm_GetDataSource(void) {
  auto state = currentState();
  return state ? publishedSource(*state).kind : DSK_NONE;
}

VLM_API int vlm_GetDataServer(char* source, char* table, char* third) {
  auto state = currentState();
  SourceDescription d;
  if (state) d = publishedSource(*state);
  std::string first, second;
  switch (d.kind) {
    case DSK_EXCEL:
      first = d.path;
      second = d.selection;
      break;
    case DSK_ACCESS:
      first = d.path;
      second = d.objectName;
      break;
    case DSK_CLIPBOARD:
      // A pasted table comes from the clipboard; a text file names itself.
      first = d.path.empty() ? std::string("clipboard") : d.path;
      break;
    default:
      break;
  }
  writeText(source, kTextBufferSize, first);
  writeText(table, kTextBufferSize, second);
  writeText(third, kTextBufferSize, "");
  return state ? 1 : 0;
}

VLM_API int vlm_GetServerQuery(char* buffer) {
  auto state = currentState();
  writeText(buffer, kTextBufferSize, state ? publishedSource(*state).query : std::string());
  return 0;
}

VLM_API int vlm_Switch(void) {
  auto state = currentState();
  if (!state) return 0;
  int32_t kind = state->main->applicationKind;
  // A workbook's table goes back to the spreadsheet in either edition.
  if ((kind != 1 && kind != 2) || publishedSource(*state).kind == DSK_EXCEL) kind = publishedSource(*state).kind;
  if (kind == DSK_EXCEL) return postData(*state, CMD_SWITCH_EXCEL) ? 1 : 0;
  if (kind == DSK_ACCESS) return postData(*state, CMD_SWITCH_ACCESS) ? 1 : 0;
  return 0;
}

VLM_API int vlm_JumpToServer(int sample) {
  auto state = currentState();
  if (!state) return 0;
  const int32_t kind = publishedSource(*state).kind;
  if (kind == DSK_EXCEL) return postData(*state, CMD_JUMP_EXCEL, arg(sample)) ? 1 : 0;
  if (kind == DSK_ACCESS) return postData(*state, CMD_JUMP_ACCESS, arg(sample)) ? 1 : 0;
  return 0;
}

VLM_API void vlm_CancelAction(void) {
  if (auto state = currentState()) cancelAction(*state);
}

VLM_API int vlm_CopyToServer(void*) { return 0; }
