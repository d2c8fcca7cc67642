#pragma once
// Object labels: the value text of each sample in the label field, kept as
// character codes for the label font lists.
#include <cstdint>
#include <vector>

#include "data/data_table.h"
#include "platform/regional_settings.h"
#include "scene/object_record.h"
#include "scene/scene_values.h"

namespace vlm::scene {

// Fills `store` with the texts of field `field` and gives each object its label
// id (0 for a sample whose value has no text, or an empty one).
void buildObjectLabels(ObjectArray& objects, LabelStore& store, const DataTable& table,
                       int32_t field, const platform::RegionalSettings& regional);

// Every object loses its label.
void clearObjectLabels(ObjectArray& objects, LabelStore& store);

}  // namespace vlm::scene
