#include "engine/model_file/model_file_open.h"

#include <QWidget>

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/host_messages.h"
#include "engine/model_file/model_file_paths.h"
#include "engine/model_file/model_file_read.h"
#include "engine/model_file/model_file_save.h"
#include "engine/scene/model_rebuild.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "model/model_file/model_file_sections.h"
#include "model/model_file/model_file_values.h"
#include "platform/atomic_file.h"
#include "platform/file_dialog.h"
#include "platform/host_queue.h"
#include "platform/message_box.h"
#include "sources/access/database_reopen.h"
#include "sources/excel/workbook_reopen.h"
#include "sources/cancel.h"
#include "sources/load_model.h"
#include "tools/calculator/calculator.h"
#include "tools/calculator/calculator_rows.h"
#include "tools/calculator/calculator_window.h"
#include "tools/selector/selector_window.h"

namespace vlm {
namespace {

constexpr OpenFilter kExcelFilters[] = {
    {"Velmora Model Files", "*.vlm", 1},
    {"Excel Files", "*.xls", 2},
    {"Text Files (Tab delimited)", "*.txt", 4},
    {"CSV Files (Comma delimited)", "*.csv", 5},
    {"All Files", "*.*", 0},
};
constexpr OpenFilter kAccessFilters[] = {
    {"Velmora Model Files", "*.vlm", 1},
    {"Access Files", "*.mdb", 3},
    {"All Files", "*.*", 0},
};

const char* patternOfType(int32_t type) {
  switch (type) {
    case 1: return "*.vlm";
    case 2: return "*.xls";
    case 3: return "*.mdb";
    case 4: return "*.txt";
    case 5: return "*.csv";
    default: return "*.*";
  }
}

std::string modelFolderOf(EngineState& state) {
  std::lock_guard lock(state.model->nameMutex);
  return state.main->modelFolder;
}

// The model's name and directories follow a chosen or opened file.
void takeFileNames(EngineState& state, const std::string& path, bool asModelPath) {
  std::lock_guard lock(state.model->nameMutex);
  ModelRecord& m = *state.model;
  m.modelName = fileNamePart(path);
  if (asModelPath) m.modelPath = path;
  const std::string dir = directoryPart(path);
  if (!dir.empty()) state.main->modelFolder = state.main->dataFolder = dir;
}

int ask(const std::string& caption, const std::string& text, platform::BoxIcon icon, platform::BoxButtons buttons,
        int defaultButton = 0) {
  platform::MessageBoxRequest box;
  box.caption = caption;
  box.text = text;
  box.icon = icon;
  box.buttons = buttons;
  box.defaultButton = defaultButton;
  box.topMost = true;
  return platform::showMessageBox(box);
}

// Asks whether an unsaved model is saved first. False stops the open: Cancel,
// or a Yes whose save did not happen (a cancelled Save As, a write that
// failed), which would otherwise lose the model.
bool saveQuestion(EngineState& state) {
  if (state.model->saved.load() != 0 || state.main->settings.asking == 0) return true;
  const int answer = ask(" Velmora Quit", "Do you want to save the current model?", platform::BoxIcon::Question,
                         platform::BoxButtons::YesNoCancel);
  if (answer == platform::BOX_YES) return saveModel(state) == 1;
  if (answer == platform::BOX_NO) {
    state.model->saved = 1;
    return true;
  }
  return false;
}

// The open dialog; an empty path when cancelled.
std::string chooseFile(EngineState& state, ModelMode mode) {
  MainRecord& m = *state.main;
  int32_t count = 0;
  const OpenFilter* filters = openFilters(m.applicationKind, count);
  platform::FileDialogRequest request;
  request.save = false;
  request.caption = mode == ModelMode::Open ? "Open Model" : "Apply Model";
  const char* pattern = patternOfType(m.settings.defaultFiletype);
  request.initialName = pattern;
  request.filterIndex = count - 1;  // "All Files" for a type the list does not hold
  for (int32_t i = 0; i < count; ++i) {
    request.filters.push_back({filters[i].label, filters[i].pattern});
    if (std::string_view(filters[i].pattern) == pattern) request.filterIndex = i;
  }
  request.directory = m.settings.firstRun != 0 && !m.settings.installRoot.empty()
                          ? m.settings.installRoot + "Demos/"
                          : modelFolderOf(state);
  request.confirmOverwrite = false;
  const platform::FileDialogResult result = platform::showFileDialog(request);
  if (!result.accepted || result.path.empty()) return {};
  if (result.filterIndex >= 0 && result.filterIndex < count) m.settings.defaultFiletype = filters[result.filterIndex].fileType;
  takeFileNames(state, result.path, false);
  postRefresh(state);
  postHost(state, HM_RECENT_FILE, 0, 0, result.path);
  return result.path;
}

// Reads the file; false (said in a message) when it cannot be read or holds
// no model, so that the current model stays.
bool readDocument(const std::string& path, platform::ProfileDocument& doc) {
  std::string bytes, error;
  if (!platform::readWholeFile(path, bytes, error)) {
    vlm_Error(("Unable to open the model file " + path + ".\n\n" + error).c_str());
    return false;
  }
  doc = platform::ProfileDocument::parse(bytes);
  if (!holdsModel(doc)) {
    vlm_Error(("The file " + path + " holds no Velmora model.\n\nThe current model is kept.").c_str());
    return false;
  }
  return true;
}

bool askApplyInstead(EngineState& state, const std::string& path, const std::string& why) {
  const int answer = ask("Model Open", why + "Do you want to apply the model on the current data?\n\n",
                         platform::BoxIcon::Information, platform::BoxButtons::YesNo);
  if (answer == platform::BOX_YES) postData(state, CMD_APPLY_MODEL, 0, 0, path);
  return false;
}

bool isFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// Open mode: the model's own data are opened first when they can be. True
// when the model is read now; false when the open stops here (its data load
// first and the model follows them, or it cannot be had now).
bool sourceCheck(EngineState& state, const std::string& path, const platform::ProfileDocument& doc) {
  const ModelFileSource source = readSourceSection(doc);
  const std::string& application = source.application;
  if (application.find("EXCEL") != std::string::npos) {
    // Workbooks open in the spreadsheet workspace in either edition: the
    // model's workbook is opened (beside the model, then where it was) and
    // its sheet's selection loaded; the model follows once the load has rows.
    WorkbookReopenRequest request;
    request.source = source.source;
    request.sheet = source.table;
    request.sourceFull = source.sourceFull;
    request.modelFolder = modelFolderOf(state);
    request.modelPath = path;
    if (reopenWorkbookSource(state, request) != ReopenResult::NoDatabase) return false;
    setPendingModel(state, "");
    return askApplyInstead(state, path, "\nThe workbook of the model cannot be found:\n" + source.sourceFull + "\n\n");
  }
  if (application.find("ACCESS") != std::string::npos) {
    // The model's database is opened and its table or query loaded; the
    // model follows once the load has rows.
    ReopenRequest request;
    // The database as the model directory holds it (a name without an
    // extension is an ".mdb"), then where it was; the names are kept as
    // written, as file names here are case-sensitive.
    std::string named = resolveModelPath(source.source, modelFolderOf(state));
    if (named.find(".md") == std::string::npos) named += ".mdb";
    request.candidates.push_back(named);
    request.candidates.push_back(source.sourceFull);
    request.object = source.table;
    request.modelPath = path;
    reopenModelSource(state, request);
    return false;
  }
  if (application.find("TEXTFILE") != std::string::npos) {
    // The model's text file: beside the model, in the model directory, or
    // where it was.
    const std::string name = fileNamePart(source.source);
    std::string file = directoryPart(path) + name;
    if (!isFile(file)) file = resolveModelPath(name, modelFolderOf(state));
    if (!isFile(file)) file = source.sourceFull;
    if (!isFile(file))
      return askApplyInstead(state, path, "\nThe data file of the model cannot be found:\n" + source.sourceFull + "\n\n");
    setPendingModel(state, path);
    postData(state, CMD_OPEN_FILE, 0, 0, file);
    return false;
  }
  return false;  // ODBC, the clipboard, no source: not now
}

bool fieldNameCheck(EngineState& state, const platform::ProfileDocument& doc) {
  bool match = true;
  {
    platform::DataLockGuard lock(state.main->dataLock);
    match = fieldNamesMatch(state, doc);
  }
  if (match) return true;
  const int answer = ask("Just to be sure...",
                         "There is a difference between field names\nin the current data and the model.\n\n"
                         "Do you really want to continue loading the model?",
                         platform::BoxIcon::Warning, platform::BoxButtons::YesNo, platform::BOX_NO);
  return answer == platform::BOX_YES;
}

void bringHostToFront(EngineState& state) {
  auto* host = qobject_cast<QWidget*>(static_cast<QObject*>(state.main->hostWindow));
  if (!host) return;
  platform::queueOnHost(host, [host] {
    if (!host->isActiveWindow()) {
      host->raise();
      host->activateWindow();
    }
  });
}

// The open tool windows show the model's rows.
void reopenTools(EngineState& state) {
  if (state.data->rowCount <= 0) return;
  if (state.main->calculator.open.load()) {
    calculator::openWindow(state);
    calculator::withLock(state, [](EngineState& s) {
      if (s.main->calculator.count == 0)
        calculator::buildDefaultRows(s.main->calculator, *s.data, s.main->settings.speechCalculator != 0);
      calculator::calculateLocked(s);
    });
  }
  if (state.main->selector.open.load() != 0) selector::openWindow(state);
  // The Grid, where this engine has it.
  auto gridOn = reinterpret_cast<int (*)()>(dlsym(RTLD_DEFAULT, "vlm_IsGridOn"));
  auto openGrid = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "vlm_OpenGrid"));
  if (gridOn && openGrid && gridOn()) openGrid();
}

}  // namespace

const OpenFilter* openFilters(int32_t applicationKind, int32_t& count) {
  if (applicationKind == 1) {
    count = static_cast<int32_t>(std::size(kExcelFilters));
    return kExcelFilters;
  }
  count = static_cast<int32_t>(std::size(kAccessFilters));
  return kAccessFilters;
}

int32_t openModelFile(EngineState& state, const std::string& given, ModelMode mode, bool askToSave) {
  setPendingModel(state, "");
  if (askToSave && !saveQuestion(state)) return 0;
  std::string path;
  if (!given.empty()) {
    path = resolveModelPath(given, modelFolderOf(state));
    if (containsUpper(path, ".LNK")) {
      std::error_code error;
      const std::filesystem::path target = std::filesystem::canonical(path, error);
      if (!error) path = target.string();
    }
  } else {
    path = chooseFile(state, mode);
    if (path.empty()) return 0;
  }
  if (!containsUpper(path, ".VLM")) {
    // A data file goes to its loader.
    postData(state, CMD_OPEN_FILE, 0, 0, path);
    postHost(state, HM_RECENT_FILE, 0, 0, path);
    return 1;
  }
  platform::ProfileDocument doc;
  if (!readDocument(path, doc)) return 0;
  if (mode == ModelMode::Open && !sourceCheck(state, path, doc)) return 0;
  if (!fieldNameCheck(state, doc)) return 0;

  ModelReadEffects effects;
  {
    platform::DataLockGuard lock(state.main->dataLock);
    effects = readModelLocked(state, doc);
  }
  finishModelRead(state, effects);

  cancelAction(state);
  state.model->defaultModelKind = 0;
  takeFileNames(state, path, true);
  // Its camera is placed once its scene is rebuilt, and kept as the initial position.
  postEngine(state, CMD_UPDATE_MODEL, 1 | kUpdateModelKeepsInitPosition);
  postRefresh(state);
  postBusy(state, false);
  bringHostToFront(state);
  reopenTools(state);
  postHost(state, HM_RECENT_FILE, 0, 0, path);
  state.model->saved = 1;
  if (state.main->settings.firstRun != 0) {
    vlm_AutoArrange(1);
    state.main->settings.firstRun = 0;
  }
  return 1;
}

}  // namespace vlm
