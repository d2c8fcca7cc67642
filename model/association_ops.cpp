#include "model/association_ops.h"

#include <cstring>
#include <new>

#include "model/association_lookup.h"
#include "model/attributes.h"
#include "model/color_ramps.h"
#include "model/field_range.h"

namespace vlm {
namespace {

constexpr int32_t kMinimumValueCount = 500;

bool validIndex(const AssociationSet& set, int32_t index) {
  return index >= 0 && index < set.count && index < kAttributeCount;
}

ValueStore allocateValues(int32_t capacity) {
  try {
    return std::make_shared<ValueArray>(
        static_cast<size_t>(capacity > 0 ? capacity : kMinimumValueCount), 0.0f);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void deleteAttribute(ModelContext& ctx, int32_t attribute) {
  const int32_t index = attributeToAssociation(ctx.associations, attribute);
  if (index >= 0) deleteAssociationLocked(ctx, index);
}

int32_t resolveAttribute(const ModelContext& ctx, int32_t attribute) {
  return attribute > 0 ? attribute : currentAttribute(ctx);
}

int32_t fieldTypeOf(const DataTable& table, int32_t field) {
  const DataField* f = associationField(table, field);
  return f == nullptr ? int32_t{FT_NONE} : int32_t{f->type};
}

void runCompanionAction(ModelContext& ctx, int32_t attribute, int32_t field, int32_t fieldType) {
  switch (attribute) {
    case ATTRIB_COLOR:
      applyNamedRamp(ctx, 0, field, fieldType, -1);
      break;
    case ATTRIB_TEXTURE:
      if (ctx.hooks != nullptr && ctx.hooks->createTextures) ctx.hooks->createTextures(field);
      break;
    case ATTRIB_SOUND_FREQ:
    case ATTRIB_SOUND_VOLUME:
      deleteAttribute(ctx, ATTRIB_SPEECH);
      break;
    case ATTRIB_SPEECH: {
      deleteAttribute(ctx, ATTRIB_SOUND_FREQ);
      deleteAttribute(ctx, ATTRIB_SOUND_VOLUME);
      const DataField* f = associationField(ctx.table, field);
      if (f != nullptr && ctx.hooks != nullptr && ctx.hooks->speak) ctx.hooks->speak(f->name);
      break;
    }
    default:
      break;
  }
}

}  // namespace

int32_t associateFieldLocked(ModelContext& ctx, int32_t field, int32_t categorical,
                             int32_t attribute, int32_t scale, int32_t options) {
  AssociationSet& set = ctx.associations;
  markUnsaved(ctx);
  if (!isValidAttribute(attribute)) return 0;

  float remembered = -1.0f;
  const int32_t previous = attributeToAssociation(set, attribute);
  if (previous >= 0) {
    if (set.saved[previous].field >= 0) remembered = set.saved[previous].scale;
    deleteAssociationLocked(ctx, previous);
  }
  if (scale != -1) remembered = static_cast<float>(scale);
  uint8_t mapping = static_cast<uint8_t>(options == 0 ? ctx.defaultOptions : options);

  const DataField* f = nullptr;
  int32_t fieldType = FT_NONE;
  if (field == -1) {
    if (attribute == ATTRIB_LABEL || attribute == ATTRIB_TEXTURE) return 0;
    mapping = static_cast<uint8_t>(ctx.defaultOptions);
  } else {
    f = associationField(ctx.table, field);
    fieldType = f == nullptr ? int32_t{FT_NONE} : int32_t{f->type};
    if (fieldType == FT_NONE) return 0;
  }
  if (set.count >= kAttributeCount) return 0;

  const bool flag = categorical == 0 ? isCategoryType(fieldType) : (categorical & 1) != 0;
  auto values = allocateValues(ctx.table.rowCapacity);
  if (!values) return 0;

  Association& pass = set.passes[set.count];
  pass = Association{};
  pass.field = field;
  if (f != nullptr) {
    std::strncpy(pass.fieldName, f->name, kAssociationNameSize - 1);
    pass.fieldName[kAssociationNameSize - 1] = '\0';
  }
  pass.fieldType = fieldType;
  pass.flags = associationFlags(attribute, flag);
  pass.options = mapping;
  const ValueRange range = associationRange(f, fieldType, flag);
  pass.min = range.low;
  pass.max = range.high;
  pass.scale = remembered >= 0.0f ? remembered : defaultAttributeScale(attribute, f != nullptr);
  attachValues(pass, std::move(values));
  set.saved[set.count] = pass;
  ++set.count;

  runCompanionAction(ctx, attribute, field, fieldType);
  return 1;
}

int32_t deleteAssociationLocked(ModelContext& ctx, int32_t index) {
  AssociationSet& set = ctx.associations;
  if (!validIndex(set, index)) return 0;
  markUnsaved(ctx);
  attachValues(set.passes[index], nullptr);
  attachValues(set.saved[index], nullptr);
  for (int32_t i = index; i + 1 < set.count; ++i) {
    set.passes[i] = std::move(set.passes[i + 1]);
    set.saved[i] = std::move(set.saved[i + 1]);
  }
  --set.count;
  set.passes[set.count] = Association{};
  set.saved[set.count] = Association{};
  return 1;
}

void deleteAllAssociationsLocked(ModelContext& ctx) {
  AssociationSet& set = ctx.associations;
  if (set.count <= 0) return;
  markUnsaved(ctx);
  for (int32_t i = 0; i < kAttributeCount; ++i) {
    set.passes[i] = Association{};
    set.saved[i] = Association{};
  }
  set.count = 0;
}

void deleteFieldLocked(ModelContext& ctx, int32_t attribute) {
  if (ctx.table.fieldCount <= 0) return;
  attribute = resolveAttribute(ctx, attribute);
  if (!isValidAttribute(attribute)) return;
  markUnsaved(ctx);
  deleteAttribute(ctx, attribute);
}

int32_t rotateFieldLocked(ModelContext& ctx, int32_t attribute) {
  const int32_t n = ctx.table.fieldCount;
  if (n <= 0) return 0;
  attribute = resolveAttribute(ctx, attribute);
  if (!isValidAttribute(attribute)) return 0;
  const int32_t current = attributeToField(ctx.associations, attribute);
  int32_t candidate = current >= 0 ? (current + 1) % n : 0;
  for (int32_t steps = 0; steps < n; ++steps) {
    if (fieldTypeOf(ctx.table, candidate) != FT_NONE) {
      return associateFieldLocked(ctx, candidate, 0, attribute, -1, 0);
    }
    candidate = (candidate + 1) % n;
  }
  return 0;
}

void setAssociationMappingLocked(ModelContext& ctx, int32_t index, int32_t flag) {
  AssociationSet& set = ctx.associations;
  if (!validIndex(set, index)) return;
  setCategorical(set.passes[index], (flag & 1) != 0);
  setCategorical(set.saved[index], (flag & 1) != 0);
  markUnsaved(ctx);
}

void setAssociationScaleLocked(ModelContext& ctx, int32_t index, float value) {
  AssociationSet& set = ctx.associations;
  if (!validIndex(set, index)) return;
  set.passes[index].scale = value;
  set.saved[index].scale = value;
  markUnsaved(ctx);
}

void resetAssociationScaleLocked(ModelContext& ctx, int32_t index) {
  AssociationSet& set = ctx.associations;
  if (!validIndex(set, index)) return;
  const Association& a = set.saved[index];
  setAssociationScaleLocked(ctx, index, defaultAttributeScale(attributeOf(a), a.field >= 0));
}

bool growAssociationValues(AssociationSet& set, int32_t newCapacity) {
  if (newCapacity <= 0) return true;
  bool ok = true;
  for (int32_t i = 0; i < set.count && i < kAttributeCount; ++i) {
    Association& pass = set.passes[i];
    try {
      ValueStore store = pass.valueStore ? pass.valueStore : std::make_shared<ValueArray>();
      if (store->size() < static_cast<size_t>(newCapacity)) store->resize(static_cast<size_t>(newCapacity), 0.0f);
      attachValues(pass, std::move(store));
    } catch (const std::bad_alloc&) {
      ok = false;
    }
    attachValues(set.saved[i], pass.valueStore);
  }
  return ok;
}

int32_t associateField(platform::DataLock& lock, ModelContext& ctx, int32_t field,
                       int32_t categorical, int32_t attribute, int32_t scale, int32_t options) {
  platform::DataLockGuard guard(lock);
  return associateFieldLocked(ctx, field, categorical, attribute, scale, options);
}

int32_t deleteAssociation(platform::DataLock& lock, ModelContext& ctx, int32_t index) {
  if (index < 0) return 0;
  platform::DataLockGuard guard(lock);
  return deleteAssociationLocked(ctx, index);
}

void deleteAllAssociations(platform::DataLock& lock, ModelContext& ctx) {
  platform::DataLockGuard guard(lock);
  deleteAllAssociationsLocked(ctx);
}

void deleteField(platform::DataLock& lock, ModelContext& ctx, int32_t attribute) {
  platform::DataLockGuard guard(lock);
  deleteFieldLocked(ctx, attribute);
}

int32_t rotateField(platform::DataLock& lock, ModelContext& ctx, int32_t attribute) {
  platform::DataLockGuard guard(lock);
  return rotateFieldLocked(ctx, attribute);
}

}  // namespace vlm
