#pragma once
// Normalisation: every sample's value becomes a value in 0..1 (-1..1 when the range
// straddles zero) per association. Part of every model rebuild, after the axis
// ranges are rounded; allocates nothing once the colour entries exist.
#include <cstdint>

#include "model/model_context.h"
#include "model/space_settings.h"

namespace vlm {

// The range an association divides by, and how it treats its samples.
struct NormaliseRange {
  float low = 0.0f;   // P
  float high = 1.0f;  // Q
};

// Copies each saved pass into its pass, runs the attribute's preparation hooks and
// fills the values array. A sound association whose output cannot be opened is
// deleted, and the association that moves into its slot is normalised next.
void normaliseAssociationsLocked(ModelContext& ctx);

// Axis rounding followed by normalisation, as the model rebuild needs them.
void roundAndNormaliseLocked(ModelContext& ctx, SpaceSettings& space);

// Fills `pass.values` for the samples of the table over the range low..high.
void normaliseValues(const Association& pass, const DataTable& table, NormaliseRange range);

}  // namespace vlm
