#pragma once
// Placement: every object's position, rotation, colour, shape, dimensions and
// sound parameters from its defaults and the normalised values of the
// associations, in association order.
#include <cstdint>
#include <vector>

#include "data/data_table.h"
#include "model/association.h"
#include "model/color_model.h"
#include "scene/object_record.h"
#include "scene/scene_values.h"

namespace vlm::scene {

struct PlacementInput {
  const AssociationSet* associations = nullptr;  // the passes are read
  const DataTable* table = nullptr;              // which samples have a value
  const ColorModel* colour = nullptr;
  uint32_t jitterSeed = 1;  // the tick count when the jitter association is met
  bool bothCores = true;    // false places every object on the calling thread
};

inline float clamp01(float v) {
  if (!(v >= 0.0f)) return 0.0f;
  return v > 1.0f ? 1.0f : v;
}

// Places every object; returns the vertical attribute with its data range.
VerticalAttribute placeObjects(ObjectArray& objects, const PlacementInput& in);

}  // namespace vlm::scene
