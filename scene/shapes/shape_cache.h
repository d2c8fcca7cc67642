#pragma once
// Display lists of the cached shapes (sphere, torus, cylinder, cone and the
// polyhedra), shared by every object of the same size.
//
// Each (variant, shape) slot is a hash map from the exact size keys to a list,
// so a lookup does not walk the slot. Every hit stamps the entry with the
// current generation; trimShapeCache drops the entries of a variant that the
// last rebuild of the object list did not use, so lists of sizes that no longer
// occur do not pile up. The other variants' entries are left alone: switching
// the render quality back finds its lists still cached.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "scene/shapes/shape_types.h"

namespace vlm::scene {

struct ShapeCacheKey {
  int count = 0;
  double key[2] = {0.0, 0.0};
  bool operator==(const ShapeCacheKey& o) const {
    return count == o.count && key[0] == o.key[0] && key[1] == o.key[1];
  }
};

struct ShapeCacheKeyHash {
  size_t operator()(const ShapeCacheKey& k) const;
};

struct ShapeCacheEntry {
  GLuint list = 0;
  uint64_t lastUsed = 0;
};

using ShapeSlot = std::unordered_map<ShapeCacheKey, ShapeCacheEntry, ShapeCacheKeyHash>;

struct ShapeCache {
  ShapeSlot slotTable[kShapeVariantCount][kShapeCount];
  uint64_t generation = 1;
};

// The display list being compiled around the shapes. It must be compiled in
// GL_COMPILE_AND_EXECUTE mode: when a shape is not cached yet its list cannot be
// defined inside the open one, so drawShape ends the open list (everything up to
// here has already been executed) and compiles the new shape list with
// compile-and-execute, so this object is still drawn in this frame; the objects
// after it are then drawn directly.
struct ShapeDrawTarget {
  bool compilingObjectList = false;
  bool objectListEnded = false;  // set when drawShape had to end the open list
};

// Draws one object's shape: a cached list when one exists for the size, a new
// cached list otherwise; the uncached shapes are drawn in immediate mode.
void drawShape(ShapeCache& cache, ShapeDrawTarget& target, GLUquadric* quadric, int shape,
               ShapeVariant variant, float w, float d, float h);

// Starts a new rebuild of the object list (a new generation of use stamps).
void beginShapeCacheUse(ShapeCache& cache);
// Deletes the lists of `variant` that were not used since beginShapeCacheUse.
void trimShapeCache(ShapeCache& cache, ShapeVariant variant);
// Deletes every list (context set-up, new data table).
void clearShapeCache(ShapeCache& cache);
size_t shapeListCount(const ShapeCache& cache);
size_t shapeListCount(const ShapeCache& cache, ShapeVariant variant);

}  // namespace vlm::scene
