#pragma once
// Colour of a normalised value through the ramp.
#include "model/color_model.h"

namespace vlm {

// Continuous ramps blend the two entries around t, categorical ramps step (the last
// entry only closes the last step). With fewer than two entries `rgb` is left as it is
// and the result is false.
bool colourOfValue(const ColorModel& model, float t, float rgb[3]);

}  // namespace vlm
