#pragma once
// Pick names of the pickable things other than samples.
#include <cstdint>

namespace vlm::pick {

constexpr int32_t kNothing = -1;
constexpr int32_t kWaterLevel = 2000000000;
constexpr int32_t kElementFirst = 2000000010;  // axis elements and legend items
constexpr int32_t kElementLast = 2000000200;
constexpr int32_t kPlusButton = 2000000201;
constexpr int32_t kMinusButton = 2000000202;
constexpr int32_t kSliderScale = 2000000210;
constexpr int32_t kSliderMinimum = 2000000213;
constexpr int32_t kSliderMaximum = 2000000214;
constexpr int32_t kColourScaleFirst = 2000000250;
constexpr int32_t kColourScaleLast = 2000000251;
constexpr int32_t kColourStopFirst = 2000000252;
constexpr int32_t kColourStopLast = 2000000283;
constexpr int32_t kTreeFirst = 2000000300;
constexpr int32_t kTreeLast = 2000000399;
constexpr int32_t kTableFirst = 2000000400;
constexpr int32_t kNamesEnd = 2001000000;

inline bool isSample(int32_t name) { return name >= 0 && name < kWaterLevel; }
inline bool inRange(int32_t name, int32_t first, int32_t last) { return name >= first && name <= last; }

}  // namespace vlm::pick
