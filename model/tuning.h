#pragma once
// The legend's tuning drags (action modes 14..17). `p` is the mouse x minus the
// slider's left end in pixels, so 0..100 is a percentage of the field's own range.
// Every function writes the pass and the saved pass and clears the saved flag; all
// expect the caller to hold the data lock.
#include <cstdint>

#include "model/model_context.h"

namespace vlm {

// Positions of the association's min and max in percent of the field's own range;
// 0..100 without a field.
struct HandlePositions {
  float pmin = 0.0f;
  float pmax = 100.0f;
};
HandlePositions tuningHandlePositions(const ModelContext& ctx, const Association& a);

// An attribute without an association first gets one without a field; `created`
// tells the caller to normalise the model before going on. -1 when refused.
int32_t ensureTuningAssociationLocked(ModelContext& ctx, int32_t attribute, bool& created);

bool tuneMinimumLocked(ModelContext& ctx, int32_t attribute, float p);      // mode 16
bool tuneMaximumLocked(ModelContext& ctx, int32_t attribute, float p);      // mode 17
bool tuneScaleHandleLocked(ModelContext& ctx, int32_t attribute, float p);  // mode 15
// Mode 14: dx, dy the mouse movement since the previous mouse event.
bool tuneLegendLineLocked(ModelContext& ctx, int32_t attribute, int32_t dx, int32_t dy);

}  // namespace vlm
