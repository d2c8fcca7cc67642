#pragma once
// The object array of a rebuild: one record per sample, on the default grid.
#include <cstdint>
#include <vector>

#include "scene/object_record.h"

namespace vlm::scene {

// Fewer objects than this are laid out and placed on the calling thread
// alone: a helper thread would cost more than it saves.
constexpr int32_t kObjectsForBothCores = 65536;

// The number of grid columns for n objects: the smallest g with g * g >= n.
int32_t gridColumns(int64_t n);

// Resizes the array to n records and gives every record its default layout:
// column c = i mod g + 1, row r = i div g + 1, default x = 10 c, default y = -10 r,
// blue boxes of 4 x 4 x 4, no texture and no label.
void layOutDefaultObjects(ObjectArray& objects, int32_t n);

// An X or Y axis association takes over the placement: default x and y become 0.
void clearDefaultPlacement(ObjectArray& objects);

}  // namespace vlm::scene
