#pragma once
// The thirteen named colour ramps.
#include <cstdint>

#include "model/model_context.h"

namespace vlm {

constexpr int32_t kNamedRampCount = 13;

struct NamedRamp {
  const char* name;
  float start[3];
  float end[3];
};

// Ramp `index` (0..12), or null.
const NamedRamp* namedRamp(int32_t index);

// Rebuilds the working entries from ramp `rampIndex` for the field's range and copies
// the colour model to the saved copy. `rampType` -1 keeps the ramp type, 0 makes it
// categorical, 1 continuous. An index above 12 does nothing (false).
bool applyNamedRamp(ModelContext& ctx, int32_t rampIndex, int32_t field, int32_t fieldType,
                    int32_t rampType);

}  // namespace vlm
