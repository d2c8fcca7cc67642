#include "scene/shapes/shape_cache.h"

#include <cmath>
#include <cstring>

#include "scene/shapes/shape_draw.h"

namespace vlm::scene {
namespace {

uint64_t bits(double v) {
  uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

}  // namespace

size_t ShapeCacheKeyHash::operator()(const ShapeCacheKey& k) const {
  uint64_t h = bits(k.key[0]) * 0x9E3779B97F4A7C15ull;
  h ^= bits(k.key[1]) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
  h ^= static_cast<uint64_t>(k.count);
  return static_cast<size_t>(h ^ (h >> 29));
}

void drawShape(ShapeCache& cache, ShapeDrawTarget& target, GLUquadric* quadric, int shape,
               ShapeVariant variant, float w, float d, float h) {
  const ShapeKeys keys = shapeKeys(shape, w, d, h);
  const bool finite = std::isfinite(keys.key[0]) && std::isfinite(keys.key[1]);
  if (keys.count == 0 || !finite || variant < 0 || variant >= kShapeVariantCount) {
    drawShapeImmediate(shape, variant, w, d, h, quadric);
    return;
  }
  ShapeCacheKey key;
  key.count = keys.count;
  key.key[0] = keys.key[0];
  key.key[1] = keys.key[1];
  ShapeSlot& slot = cache.slotTable[variant][shape];
  auto found = slot.find(key);
  if (found != slot.end() && found->second.list != 0) {
    found->second.lastUsed = cache.generation;
    glCallList(found->second.list);
    return;
  }
  if (target.compilingObjectList) {
    glEndList();
    target.compilingObjectList = false;
    target.objectListEnded = true;
  }
  const GLuint list = glGenLists(1);
  if (list == 0) {  // out of list names: still draw the object
    drawShapeImmediate(shape, variant, w, d, h, quadric);
    return;
  }
  if (shape == SHAPE_SPHERE) {
    glNewList(list, GL_COMPILE);
    drawShapeImmediate(shape, variant, w, d, h, quadric);
    glEndList();
    glCallList(list);
  } else {
    glNewList(list, GL_COMPILE_AND_EXECUTE);
    drawShapeImmediate(shape, variant, w, d, h, quadric);
    glEndList();
  }
  ShapeCacheEntry& entry = slot[key];
  if (entry.list != 0) glDeleteLists(entry.list, 1);
  entry.list = list;
  entry.lastUsed = cache.generation;
}

void beginShapeCacheUse(ShapeCache& cache) { ++cache.generation; }

void trimShapeCache(ShapeCache& cache, ShapeVariant variant) {
  if (variant < 0 || variant >= kShapeVariantCount) return;
  for (ShapeSlot& slot : cache.slotTable[variant]) {
    for (auto it = slot.begin(); it != slot.end();) {
      if (it->second.lastUsed < cache.generation) {
        if (it->second.list != 0) glDeleteLists(it->second.list, 1);
        it = slot.erase(it);
      } else {
        ++it;
      }
    }
  }
}

void clearShapeCache(ShapeCache& cache) {
  for (auto& variant : cache.slotTable)
    for (ShapeSlot& slot : variant) {
      for (auto& [key, entry] : slot)
        if (entry.list != 0) glDeleteLists(entry.list, 1);
      slot.clear();
    }
}

size_t shapeListCount(const ShapeCache& cache, ShapeVariant variant) {
  size_t n = 0;
  if (variant < 0 || variant >= kShapeVariantCount) return 0;
  for (const ShapeSlot& slot : cache.slotTable[variant]) n += slot.size();
  return n;
}

size_t shapeListCount(const ShapeCache& cache) {
  size_t n = 0;
  for (int v = 0; v < kShapeVariantCount; ++v) n += shapeListCount(cache, static_cast<ShapeVariant>(v));
  return n;
}

}  // namespace vlm::scene
