#pragma once
// The object labels, drawn first inside the object list: the character codes of
// each label go through glCallLists with the label font's list base, so the same
// texts draw as bitmap strings or as outline text.
#include <cstdint>
#include <vector>

#include "scene/object_record.h"
#include "scene/scene_values.h"
#include "scene/space/space_draw.h"

namespace vlm::scene {

struct ObjectLabelStyle {
  bool colourByObject = true;
  float rgba[4] = {0, 0, 0, 1};  // the label colour otherwise
  bool withNames = true;         // 3D labels load the object index as their pick name
};

// Objects whose selection flag is 0, or without a label, are skipped.
void drawObjectLabels(const ObjectArray& objects, const std::vector<uint8_t>& selection,
                      const LabelStore& labels, const LabelFontRef& font, const ObjectLabelStyle& style);

}  // namespace vlm::scene
