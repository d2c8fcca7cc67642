#pragma once
// The space settings table: 73 rows of colours, switches and sliders of the space,
// and the per-axis tick records.
#include <array>
#include <cstdint>
#include <string>

namespace vlm {

constexpr int kSpaceSettingCount = 73;

// Editor kinds (flag byte of a row).
constexpr uint8_t kKindSwitch = 0x00;
constexpr uint8_t kKindSwitchWithChildren = 0x02;
constexpr uint8_t kKindSlider = 0x08;
constexpr uint8_t kKindAngleSlider = 0x0C;
constexpr uint8_t kKindColour = 0x10;
constexpr uint8_t kKindColourWithSwitch = 0x12;
constexpr uint8_t kKindText = 0x18;

// Value classes (second flag byte of a row).
constexpr uint8_t kValueNumber = 1;
constexpr uint8_t kValueText = 3;
constexpr uint8_t kValueColour = 9;

struct SpaceSetting {
  std::string name;  // with four blanks of indentation per level
  int32_t index = 0;
  int32_t parent = 0;
  uint8_t kind = 0;        // 0x00 switch, 0x02 switch with children, 0x08 slider, 0x0C angle, 0x10 colour, 0x12 colour with switch, 0x18 text
  uint8_t valueClass = 1;  // 1 number, 3 text, 9 colour
  int32_t value = 0;
  int32_t min = 0;
  int32_t max = 0;
  std::string text;
  uint32_t colorref = 0;
  float alpha = 1.0f;
  float rgba[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  void* font = nullptr;  // label font row only; owned by the engine thread
  bool fontListsValid = false;
  float secondary = 0.0f;  // alpha of a transparency row, or the label size factor
};

// How the label font row's font is to be created.
struct LabelFontSpec {
  std::string face = "Arial";
  int32_t height = -10;  // logical units
  int32_t weight = 400;
  bool italic = false;
  int32_t charSet = 1;
  int32_t outPrecision = 3;
  int32_t clipPrecision = 2;
};

struct AxisRecord {
  float low = -100.0f, high = 100.0f, step = 20.0f;
  int32_t subdivision = 1;
  std::string texturePath;
  int32_t textureNameOffset = 0;
  uint32_t textureId = 0;
};

struct SpaceSettings {
  std::array<SpaceSetting, kSpaceSettingCount> rows;
  std::array<AxisRecord, 3> axes;
  LabelFontSpec labelFont;
  int32_t scheme = 2;  // the last default colour scheme applied
};

}  // namespace vlm
