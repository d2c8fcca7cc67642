#pragma once
// A model file's document read into the current model. Runs under the data
// lock on the data thread; what the engine thread must do afterwards (the
// Grid's colours, the plane textures, the colours applied) is posted once
// the lock is let go.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/profile_file.h"

namespace vlm {

struct EngineState;

struct ModelReadEffects {
  std::vector<int32_t> gridColourRows;
  std::array<std::string, 3> texturePaths;  // X, Y, Z planes; empty for none
};

// Whether the document holds a model: a "Model" section with its
// "Mappings" count. Another program's INI file or garbage holds none.
bool holdsModel(const platform::ProfileDocument& doc);

// Every association deleted, camera and model position reset; then the
// sections Model, Color, Selector, Calculator, Setup and Grid read with the
// defaults of missing keys.
ModelReadEffects readModelLocked(EngineState& state, const platform::ProfileDocument& doc);

// After the lock: the Grid's colour rows, the plane textures (a file that
// cannot be opened leaves its plane without one), the colours applied and
// the initial position stored.
void finishModelRead(EngineState& state, const ModelReadEffects& effects);

// Whether every field name of the file's associations names a field of the
// current table (a table without fields or samples passes).
bool fieldNamesMatch(const EngineState& state, const platform::ProfileDocument& doc);

}  // namespace vlm
