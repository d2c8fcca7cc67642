#pragma once
// Engine preferences kept in the settings store between runs.
#include <cstdint>
#include <string>

namespace vlm {

struct WindowRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

struct ToolWindowState {
  WindowRect rect;
  int32_t shown = 1;
};

struct EngineSettings {
  std::string installRoot;
  ToolWindowState selector{{10, 10, 220, 300}, 1};
  ToolWindowState calculator{{10, 310, 220, 300}, 1};
  ToolWindowState grid{{10, 10, 220, 300}, 1};
  int32_t asking = 1;
  int32_t advisor = 1;
  int32_t mappingOptions = 1;
  int32_t speechCalculator = 1;
  int32_t stereoGridItem = 0;      // the Grid's 3D stereo item
  int32_t eyeOffset = 20;
  int32_t animateBuilders = 0;
  int32_t toolbarFull = 0;
  int32_t firstRun = 1;
  bool centerMass = true;          // "CENTER_MASS" vs "CENTER_UNIVERSE"
  bool newerSpeechApi = true;      // "5.1" vs "4.0"
  int32_t defaultFiletype = 1;     // 1 VLM, 2 XLS, 3 MDB, 4 TXT, 5 CSV
  int32_t language = 0;            // Excel only
  int32_t excelRow = 0, excelCol = 0;
  WindowRect view3D{0, 0, 800, 600};
  int32_t view3DMaximised = 0;
};

// Load sampling (Load Control) settings and state.
struct LoadControl {
  int32_t method = 1;  // 1 All, 2 Each, 3 Random, 4 From/To/Step
  int32_t limit = 500;
  int32_t each = 10;
  int32_t from = 1;
  int32_t to = 1000;
  int32_t step = 10;
  int32_t percent = 10;
  int32_t effectiveMethod = 1;
  int32_t withControl = 0;
  int32_t samplingAccepted = 0;
  int32_t connectionResult = 0;
};

}  // namespace vlm
