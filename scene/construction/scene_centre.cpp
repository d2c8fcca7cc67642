#include "scene/construction/scene_centre.h"

#include <algorithm>

#include "model/association_lookup.h"
#include "model/scaled_value.h"

namespace vlm::scene {

bool computeExtents(const ObjectArray& objects, const AssociationSet& set,
                    const SpaceSettings& space, SceneExtents& e) {
  e = SceneExtents{};
  if (objects.empty()) return false;
  const int32_t axes[3] = {ATTRIB_AXISX, ATTRIB_AXISY, ATTRIB_AXISZ};
  bool anyAxis = false;
  for (int32_t a : axes) anyAxis = anyAxis || attributeToAssociation(set, a) >= 0;
  if (anyAxis) {
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
      const int32_t index = attributeToAssociation(set, axes[i]);
      if (index < 0) continue;
      const Association& pass = set.passes[static_cast<size_t>(index)];
      lo[i] = scaledValue(pass, space.axes[static_cast<size_t>(i)].low);
      hi[i] = scaledValue(pass, space.axes[static_cast<size_t>(i)].high);
    }
    e.xMin = lo[0], e.xMax = hi[0];
    e.yMin = lo[1], e.yMax = hi[1];
    e.zMin = lo[2], e.zMax = hi[2];
    return true;
  }
  e.xMin = e.yMin = e.zMin = 3.4e38f;
  e.xMax = e.yMax = e.zMax = -3.4e38f;
  float tallest = 0.0f;
  for (const ObjectRecord& o : objects) {
    e.xMin = std::min(e.xMin, o.x), e.xMax = std::max(e.xMax, o.x);
    e.yMin = std::min(e.yMin, -o.y), e.yMax = std::max(e.yMax, -o.y);
    tallest = std::max({tallest, o.width, o.height});
    e.zMin = std::min(e.zMin, o.z), e.zMax = std::max(e.zMax, o.z + tallest);
  }
  return true;
}

void sceneCentreOf(const SceneExtents& e, bool valid, bool centreInMass, float c[3]) {
  c[0] = c[1] = c[2] = 0.0f;
  if (!valid || !centreInMass) return;
  c[0] = e.xMin + (e.xMax - e.xMin) * 0.5f;
  c[1] = -(e.yMin + (e.yMax - e.yMin) * 0.5f);
  c[2] = e.zMin + (e.zMax - e.zMin) * 0.335f;
}

}  // namespace vlm::scene
