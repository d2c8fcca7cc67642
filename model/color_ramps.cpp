#include "model/color_ramps.h"

#include "model/association_lookup.h"
#include "model/color_entries.h"
#include "model/field_range.h"

namespace vlm {
namespace {

constexpr NamedRamp kRamps[kNamedRampCount] = {
    {"spectrum inverse", {0.0f, 0.3325f, 0.9f}, {0.9f, 0.0f, 0.25f}},
    {"spectrum", {0.9f, 0.0f, 0.25f}, {0.0f, 0.3325f, 0.9f}},
    {"blue - red", {0, 0, 1}, {1, 0, 0}},
    {"blue - green", {0, 0, 1}, {0, 1, 0}},
    {"blue - yellow", {0, 0, 1}, {1, 1, 0}},
    {"red - blue", {1, 0, 0}, {0, 0, 1}},
    {"red - green", {1, 0, 0}, {0, 1, 0}},
    {"red - yellow", {1, 0, 0}, {1, 1, 0}},
    {"green - red", {0.0f, 0.9f, 0.0f}, {1, 0, 0}},
    {"green - yellow", {0.0f, 0.5f, 0.0f}, {1, 1, 0}},
    {"black - white", {0, 0, 0}, {1, 1, 1}},
    {"black - red", {0, 0, 0}, {1, 0, 0}},
    {"black - green", {0, 0, 0}, {0, 1, 0}},
};

constexpr float kGreen[3] = {0, 1, 0};
constexpr float kYellow[3] = {1, 1, 0};

void addAt(ColorModel& m, float position, const float rgb[3]) {
  ColorEntry e;
  e.position = position;
  e.red = rgb[0];
  e.green = rgb[1];
  e.blue = rgb[2];
  m.entries.push_back(std::move(e));
}

}  // namespace

const NamedRamp* namedRamp(int32_t index) {
  return index >= 0 && index < kNamedRampCount ? &kRamps[index] : nullptr;
}

bool applyNamedRamp(ModelContext& ctx, int32_t rampIndex, int32_t field, int32_t fieldType,
                    int32_t rampType) {
  const NamedRamp* ramp = namedRamp(rampIndex);
  if (ramp == nullptr) return false;
  ColorModel& m = ctx.colour;
  fieldType = colourEntryType(ctx, field, fieldType);
  const ValueRange range = colourFieldRange(associationField(ctx.table, field), fieldType);
  m.valueMin = range.low;
  m.valueMax = range.high;
  m.entries.clear();
  if (rampType == 0) m.rampType = kRampCategorical;
  if (rampType == 1) m.rampType = kRampContinuous;
  const bool continuous = m.rampType == kRampContinuous;

  addAt(m, 0.0f, ramp->start);
  if (rampIndex == 0) {
    addAt(m, 0.333f, kGreen);
    addAt(m, 0.666f, continuous ? kYellow : ramp->end);
  } else if (rampIndex == 1) {
    addAt(m, 0.333f, kYellow);
    addAt(m, 0.666f, continuous ? kGreen : ramp->end);
  }
  addAt(m, 1.0f, ramp->end);

  for (ColorEntry& e : m.entries) {
    const float v = m.valueMin + (m.valueMax - m.valueMin) * e.position;
    if (fieldType == FT_REAL) e.value.f = v;
    else e.value.i = truncToInt32(v);  // truncates; categories become indexes
    e.valueText = colourEntryValueText(ctx, e, field, fieldType);
  }
  sortColourEntries(m);
  copyColourToSaved(ctx);
  return true;
}

}  // namespace vlm
