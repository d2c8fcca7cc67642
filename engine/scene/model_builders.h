#pragma once
// The automatic model builders (CMD_CREATE_DEFAULT_MODEL): Scatter, Bars, Tiles
// and the Layer model, each pressing again takes the next variant of fields.
#include <cstdint>
#include <vector>

#include "data/data_table.h"

namespace vlm {

struct EngineState;
struct BuilderCursor;

enum DefaultModelType : int32_t {
  MODEL_SCATTER = 1,
  MODEL_BARS = 2,
  MODEL_TILES = 3,
  // Layers: the first categorical field stacks the objects in horizontal layers
  // (Axis Z) and colours them, two numeric fields spread each layer over X and Y.
  MODEL_LAYERS = 4,
};

enum FieldClass : int32_t { CLASS_NUMERIC = 0, CLASS_CATEGORICAL = 1, CLASS_ANY = 2 };
bool fieldInClass(int32_t type, FieldClass c);

// Moves the cursor one field in its direction, turning at either end.
void advanceBuilderCursor(BuilderCursor& cursor, int32_t fieldCount);
// The first unused field of the class from the cursor in its direction, with one
// wrap-around; -1 when none is left.
int32_t pickBuilderField(const DataTable& table, const BuilderCursor& cursor, const std::vector<bool>& used,
                         FieldClass c);

// Model reset as the builders and vlm_ModelReset need it: no associations, the
// default colour ramp, no model name, saved. Data lock held.
void resetModelLocked(EngineState& state);

// The builder of `type` under the data lock; any other type only resets the model.
void buildDefaultModel(EngineState& state, int32_t type);

}  // namespace vlm
