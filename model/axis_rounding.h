#pragma once
// Rounding of the axis ranges to lattice steps before normalisation.
#include <cstdint>

#include "model/association.h"
#include "model/space_settings.h"

namespace vlm {

// Rounds one axis association to steps with a mantissa of 1, 2, 2.5 or 5 for lattice
// density `density` (clamped to 0..100) and fills the axis tick record. Writes the
// derived fields of `a`.
void roundAxisRange(Association& a, int32_t density, AxisRecord& tick);

// Every axis association of the set, with the density rows of `space`; the derived
// fields go to the saved pass and the pass.
void roundAxisRanges(AssociationSet& set, SpaceSettings& space);

}  // namespace vlm
