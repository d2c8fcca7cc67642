#pragma once
// The pick: what lies under a window position. Engine thread only, with the
// rendering context current and the data lock held by the caller.
#include <cstdint>

namespace vlm {

struct EngineState;

// The pick name at window position x, y (y downwards): a legend rectangle, else
// the nearest object or the water level (3 x 3 pixels), else an axis element
// (8 x 8 pixels); -1 for nothing.
int32_t pickAt(EngineState& state, int x, int y);

// One selection pass of `pass` kind with a `size` x `size` pick window; the
// nearest name or -1, and in `hitCount` what glRenderMode returned (-1 when the
// buffer overflowed). Exposed for tests.
int32_t pickPass(EngineState& state, int x, int y, int size, int passKind, int* hitCount);

}  // namespace vlm
