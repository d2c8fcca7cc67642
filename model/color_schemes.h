#pragma once
// The light and dark default colour schemes of the space.
#include <cstdint>

#include "model/space_settings.h"

namespace vlm {

constexpr int32_t kDarkScheme = 1;

// Model 1 the dark scheme, any other value the light one; remembered in `space`.
// Colours without an alpha of their own keep the alpha of their transparency row.
void applyDefaultColorScheme(SpaceSettings& space, int32_t model);

}  // namespace vlm
