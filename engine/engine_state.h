#pragma once
// EngineState: the process-wide state of the engine. Four records and the work
// buffer, created by vlm_InitSystem and freed by vlm_DeinitSystem.
//
// The worker threads keep the state alive through a shared reference, so a
// thread that outlives its time-out at teardown never touches freed memory.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data/data_table.h"
#include "engine/calculator_record.h"
#include "engine/input_state.h"
#include "engine/selector_record.h"
#include "engine/settings.h"
#include "engine/view_state.h"
#include "model/association.h"
#include "model/color_model.h"
#include "model/model_context.h"
#include "output/output_state.h"
#include "platform/big_allocator.h"
#include "platform/data_lock.h"
#include "platform/database/row_filter.h"
#include "platform/event.h"
#include "platform/regional_settings.h"
#include "scene/object_record.h"
#include "scene/scene_values.h"
#include "scene/space_settings.h"

namespace vlm {

class WorkerThread;
struct AccessSession;
struct ExcelSession;
struct SoundRecord;  // sound/sound_record.h
struct ToolsState;  // the tool windows and popup menus (tools/)

// What the getters report about the data source. The loaders publish it
// whenever they change the table's source; it has its own small mutex so the
// host can ask while a load holds the data lock.
struct SourceDescription {
  int32_t kind = 0;          // DataSourceKind
  std::string name;          // data source name
  std::string path;          // full path of the source (database, workbook, file)
  std::string selection;     // Excel selection text
  std::string objectName;    // the current Access table or query
  std::string query;         // the server query text
  int32_t currentObject = -1;  // index of the current Access table or query
};

struct PublishedSource {
  mutable std::mutex mutex;
  SourceDescription description;
};

constexpr size_t kWorkBufferSize = 131072;

struct MainRecord {
  std::string productName;   // "Velmora ACCESS" or "Velmora EXCEL"
  std::string shortName;     // "vlmac" or "vlmxl"
  void* hostInstance = nullptr;
  void* hostWindow = nullptr;     // the host's main window object (QObject*)
  void* hostToolbar = nullptr;
  void* hostStatusBar = nullptr;
  std::thread::id hostThreadId;
  std::shared_ptr<WorkerThread> engineThread;
  std::shared_ptr<WorkerThread> dataThread;
  platform::ManualResetEvent engineDone;
  platform::ManualResetEvent dataDone;
  platform::DataLock dataLock;
  std::atomic<int32_t> windowOpenResult{0};
  int32_t applicationId = 0;
  int32_t applicationKind = 0;  // 1 Excel, 2 Access, 0 none
  std::string registryRoot;
  std::string startupFolder, modelFolder, dataFolder, imageFolder;
  platform::RegionalSettings regional;
  InputState input;
  EngineSettings settings;
  bool settingsRead = false;  // teardown writes settings only once they were read
  LoadControl loadControl;
  int32_t fieldCursor = 0;  // vlm_GetFirstAvailableField / vlm_GetNextAvailableField
  std::atomic<int32_t> abortFlag{0};
  // Loads replacing the table, from its clearing to their end: the copy keeps off.
  std::atomic<int32_t> loadRunning{0};
  // vlm_Load's with-control flag on its way to the data thread (-1: none).
  std::atomic<int32_t> pendingWithControl{-1};
  // Reading only the Selector's selection from a database (data thread
  // only): the filter the next object load takes, and the one the loaded
  // table was read with (null: every row).
  std::shared_ptr<const platform::db::RowFilter> nextLoadFilter, loadedFilter;
  std::string loadedFilterObject;  // the object loadedFilter belongs to
  PublishedSource source;
  // Every new load takes the next number; a chunk of an older load that is
  // still queued sees it and does nothing.
  std::atomic<uint32_t> loadGeneration{0};
  // The conversation with the database workspace and its record stream.
  std::shared_ptr<AccessSession> access;
  // The spreadsheet source's letters, areas and automation flags.
  std::shared_ptr<ExcelSession> excel;
  std::shared_ptr<SoundRecord> sound;  // sound effects and speech
  uint32_t startTime = 0;
  // GL selection buffer, sized with the table. GL writes the hit records
  // before they are read, so its memory is left as the system hands it out:
  // a big table's buffer takes no memory until objects are picked.
  std::vector<uint32_t, platform::ZeroedBigAllocator<uint32_t>> selectionBuffer;
  SelectorRecord selector;
  OutputState output;  // report options, image types, object textures
  CalculatorRecord calculator;
  std::vector<char> work = std::vector<char>(kWorkBufferSize);
  // Tool windows, popup menu state and queued tool edits; made on first use.
  std::shared_ptr<ToolsState> tools;
};

struct ViewRecord {
  ViewState view;
  ColorModel colorModel;
  ColorModel savedColorModel;
  SpaceSettings space;
};

struct ModelRecord {
  AssociationSet associations;
  ObjectArray objects;
  int32_t objectCount = 0;
  std::vector<uint8_t> selectionFlags;  // 0 not selected, 1 selected, 6 re-evaluate
  std::atomic<int32_t> selectedCount{0};  // read by the host without the lock
  std::atomic<int32_t> saved{1};
  ModelHooks hooks;  // where the model operations reach the scene, sound and speech
  SceneValues scene;  // centre, extents, labels and overlay state of the last rebuild
  std::mutex nameMutex;  // the model name is read by the host while a loader sets it
  std::string modelName;
  std::string modelPath;
  // The model's data source (the table's source name and Excel selection at
  // the last connection), written to the model file.
  std::string sourceName;
  std::string sourceSelection;
  int32_t defaultModelKind = 1;  // the kind of default model built after a load (1 Scatter)
};

struct EngineState {
  std::unique_ptr<MainRecord> main;
  std::unique_ptr<ViewRecord> view;
  std::unique_ptr<ModelRecord> model;
  std::unique_ptr<DataTable> data;
};

// The model operations' view of the state, for one call.
ModelContext modelContext(EngineState& state);

// Installs the per-row array hooks of the data table (selection flags, the GL
// selection buffer, association values) and the graphic-cache hook.
void installTableHooks(const std::shared_ptr<EngineState>& state);

// The live state, or null before vlm_InitSystem and after vlm_DeinitSystem.
std::shared_ptr<EngineState> currentState();
void setCurrentState(std::shared_ptr<EngineState> state);

}  // namespace vlm
