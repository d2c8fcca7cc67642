#pragma once
// Colour ramp entries anchored to data values of the colour field.
#include <cstdint>
#include <string>
#include <vector>

namespace vlm {

constexpr int kMaxColorEntries = 33;
constexpr int32_t kRampCategorical = 1;
constexpr int32_t kRampContinuous = 2;

struct ColorEntry {
  float position = 0.0f;
  union {
    float f;    // FT_REAL fields
    int32_t i;  // every other type: a number, a category index or a date/time index
  } value{0};
  float red = 0.0f, green = 0.0f, blue = 0.0f;
  std::string valueText;
};

struct ColorModel {
  int32_t rampType = kRampContinuous;  // 1 categorical, 2 continuous
  float valueMin = 0.0f;
  float valueMax = 100.0f;
  std::vector<ColorEntry> entries;
};

inline float entryValue(const ColorEntry& e, int32_t fieldType) {
  return fieldType == 2 /* FT_REAL */ ? e.value.f : static_cast<float>(e.value.i);
}

}  // namespace vlm
