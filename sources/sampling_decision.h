#pragma once
// Deciding, before a load, which of the source's rows it keeps.
#include <cstdint>

#include "sources/sampling.h"

namespace vlm {

struct EngineState;

// Runs on the data thread before the data lock is taken, for a source of
// `sourceRows` rows: shows the Load Control dialog on the host thread when it
// is due, then fixes the effective method and fills `plan` (drawing the
// random sample list, with progress " working" above 500 picks). Returns
// false when the user cancelled, with the connection result -11.
bool decideSampling(EngineState& state, int32_t sourceRows, SamplingPlan& plan);

}  // namespace vlm
