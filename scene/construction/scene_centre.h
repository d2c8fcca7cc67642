#pragma once
// The extents of the placed objects and the scene centre the frame subtracts.
#include <vector>

#include "model/association.h"
#include "model/space_settings.h"
#include "scene/object_record.h"
#include "scene/scene_values.h"

namespace vlm::scene {

// With an axis association the extents are the scaled tick records of the three
// axes (0 for an axis without one); otherwise they run over the objects: x, -y,
// and z up to z plus the largest width or height met so far. False without objects.
bool computeExtents(const ObjectArray& objects, const AssociationSet& set,
                    const SpaceSettings& space, SceneExtents& out);

// cx, cy (y measured as -y) halfway, cz a third of the way up; (0, 0, 0) when
// "Center in Mass" is off or there are no extents.
void sceneCentreOf(const SceneExtents& e, bool valid, bool centreInMass, float centre[3]);

}  // namespace vlm::scene
