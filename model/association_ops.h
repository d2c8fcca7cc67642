#pragma once
// Making, changing and removing associations.
//
// Functions named ...Locked expect the caller to hold the data lock; the model
// loader, the rebuild and the tuning code call them while they hold it. The
// plain-named wrappers take the lock themselves for the exported entry points.
#include <cstdint>

#include "model/model_context.h"
#include "platform/data_lock.h"

namespace vlm {

// Binds `field` (or -1) to `attribute`. `categorical` 0 lets the field type decide,
// otherwise bit 0 is the flag; `scale` -1 keeps the previous scale or takes the
// default; `options` 0 takes the default options. A previous association of the
// attribute is removed first, so a refused association (field type 0, or label or
// texture without a field) leaves the attribute without one. Returns 1 when the
// association was added, 0 when it was refused.
int32_t associateFieldLocked(ModelContext& ctx, int32_t field, int32_t categorical,
                             int32_t attribute, int32_t scale, int32_t options);
// Removes association `index` and frees its values; 0 for an index out of range.
int32_t deleteAssociationLocked(ModelContext& ctx, int32_t index);
// Drops every association and frees their values.
void deleteAllAssociationsLocked(ModelContext& ctx);
// Removes the association of `attribute` (0 or negative: the current attribute);
// nothing when the data table has no fields.
void deleteFieldLocked(ModelContext& ctx, int32_t attribute);
// Binds the next usable field to `attribute` (0 or negative: the current attribute),
// wrapping after the last field and skipping fields of type 0. Returns 1 when a
// field was bound.
int32_t rotateFieldLocked(ModelContext& ctx, int32_t attribute);

void setAssociationMappingLocked(ModelContext& ctx, int32_t index, int32_t flag);
void setAssociationScaleLocked(ModelContext& ctx, int32_t index, float value);
// The default scale for the association's attribute and field binding.
void resetAssociationScaleLocked(ModelContext& ctx, int32_t index);

// The data table's growth hook: every association's values array takes the new row
// capacity (pass and saved pass keep sharing it). False when memory ran out.
bool growAssociationValues(AssociationSet& set, int32_t newCapacity);

int32_t associateField(platform::DataLock& lock, ModelContext& ctx, int32_t field,
                       int32_t categorical, int32_t attribute, int32_t scale, int32_t options);
int32_t deleteAssociation(platform::DataLock& lock, ModelContext& ctx, int32_t index);
void deleteAllAssociations(platform::DataLock& lock, ModelContext& ctx);
void deleteField(platform::DataLock& lock, ModelContext& ctx, int32_t attribute);
int32_t rotateField(platform::DataLock& lock, ModelContext& ctx, int32_t attribute);

}  // namespace vlm
