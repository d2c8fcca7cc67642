#include "model/tuning.h"

#include <algorithm>

#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/field_range.h"

namespace vlm {
namespace {

constexpr float kMaxScale = 200.0f;

struct FieldSpan {
  float from;
  float width;  // never 0, so positions stay finite
};

FieldSpan spanOf(const ModelContext& ctx, const Association& a) {
  const ValueRange r = associationRange(associationField(ctx.table, a.field), a.fieldType,
                                        isCategorical(a) || isCategoryType(a.fieldType));
  const float width = r.high - r.low;
  return {r.low, width > 0.0f ? width : 1.0f};
}

float percentOf(const FieldSpan& s, float v) { return (v - s.from) / s.width * 100.0f; }
float valueAt(const FieldSpan& s, float p) { return s.from + p / 100.0f * s.width; }

int32_t indexWithField(const ModelContext& ctx, int32_t attribute) {
  const int32_t i = attributeToAssociation(ctx.associations, attribute);
  if (i < 0 || associationField(ctx.table, ctx.associations.saved[i].field) == nullptr) return -1;
  return i;
}

void writeBoth(ModelContext& ctx, int32_t index, float Association::*member, float value) {
  ctx.associations.passes[index].*member = value;
  ctx.associations.saved[index].*member = value;
  markUnsaved(ctx);
}

}  // namespace

HandlePositions tuningHandlePositions(const ModelContext& ctx, const Association& a) {
  if (associationField(ctx.table, a.field) == nullptr) return {};
  const FieldSpan s = spanOf(ctx, a);
  return {percentOf(s, a.min), percentOf(s, a.max)};
}

int32_t ensureTuningAssociationLocked(ModelContext& ctx, int32_t attribute, bool& created) {
  created = false;
  int32_t i = attributeToAssociation(ctx.associations, attribute);
  if (i >= 0) return i;
  if (associateFieldLocked(ctx, -1, 0, attribute, -1, 0) == 0) return -1;
  created = true;
  return attributeToAssociation(ctx.associations, attribute);
}

bool tuneMinimumLocked(ModelContext& ctx, int32_t attribute, float p) {
  const int32_t i = indexWithField(ctx, attribute);
  if (i < 0) return false;
  const Association& a = ctx.associations.saved[i];
  const FieldSpan s = spanOf(ctx, a);
  const float pmax = percentOf(s, a.max);
  p = std::clamp(p, 0.0f, 100.0f);
  if (p >= pmax) p = 0.99f * pmax;
  writeBoth(ctx, i, &Association::min, valueAt(s, p));
  return true;
}

bool tuneMaximumLocked(ModelContext& ctx, int32_t attribute, float p) {
  const int32_t i = indexWithField(ctx, attribute);
  if (i < 0) return false;
  const Association& a = ctx.associations.saved[i];
  const FieldSpan s = spanOf(ctx, a);
  const float pmin = percentOf(s, a.min);
  if (p < 0.0f) p = 0.0f;
  if (p <= pmin) p = 1.01f * pmin;
  if (p > 100.0f) p = 100.0f;
  writeBoth(ctx, i, &Association::max, valueAt(s, p));
  return true;
}

bool tuneScaleHandleLocked(ModelContext& ctx, int32_t attribute, float p) {
  const int32_t i = attributeToAssociation(ctx.associations, attribute);
  if (i < 0) return false;
  const Association& a = ctx.associations.saved[i];
  float scale;
  if (associationField(ctx.table, a.field) != nullptr) {
    const HandlePositions h = tuningHandlePositions(ctx, a);
    const float width = h.pmax - h.pmin;
    if (!(width > 0.0f)) return false;  // min and max on one spot leave no slider
    p = std::clamp(p, h.pmin, h.pmax);
    scale = (p - h.pmin) / width * kMaxScale;
  } else {
    scale = std::clamp(2.0f * p, 0.0f, kMaxScale);
  }
  writeBoth(ctx, i, &Association::scale, scale);
  return true;
}

bool tuneLegendLineLocked(ModelContext& ctx, int32_t attribute, int32_t dx, int32_t dy) {
  const int32_t i = attributeToAssociation(ctx.associations, attribute);
  if (i < 0) return false;
  int32_t movement = dx;
  if (attribute == ATTRIB_AXISY) movement = dy;
  if (attribute == ATTRIB_AXISZ) movement = -dy;
  const float scale = std::clamp(
      ctx.associations.saved[i].scale + 0.5f * static_cast<float>(movement), 0.0f, kMaxScale);
  writeBoth(ctx, i, &Association::scale, scale);
  return true;
}

}  // namespace vlm
