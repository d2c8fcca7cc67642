#pragma once
// The Grid's rows: which of the 73 space settings are shown, what type of
// control each one is, the texts its control shows, and the slider arithmetic.
// Pure functions over the space settings table; the window draws what they say.
#include <cstdint>
#include <string>
#include <vector>

#include "model/space_settings.h"

namespace vlm::tools {

enum class GridRowType { Switch, Slider, Colour, Text };

// Row flags as the Grid keeps them: bits 3-4 the type, bit 0 shown, bit 1 group header.
constexpr int32_t kGridRowShown = 0x1;
constexpr int32_t kGridRowHeader = 0x2;

GridRowType gridRowType(const SpaceSetting& row);
// A switch whose children hide while it is off.
bool isGroupHeader(const SpaceSetting& row);

// The rows shown, in order: a row is shown when its parent is not a switch, or
// when the parent switch is on and is itself shown.
std::vector<int32_t> shownGridRows(const SpaceSettings& space);

// The control area begins this far from the left edge; left of it a click asks
// for the Grid menu (for text rows up to kGridTextNameEnd).
constexpr int kGridControlLeft = 110;
constexpr int kGridTextNameEnd = 91;
bool isNameAreaClick(GridRowType type, int x);

// Slider value under pixel x of a track from `start` to `end`: truncated and
// clamped to least..greatest; beyond the end counts as the end.
int32_t sliderValueAt(int x, int start, int end, int32_t least, int32_t greatest);
// Where the thumb of `value` stands on that track.
int sliderPixelOf(int32_t value, int start, int end, int32_t least, int32_t greatest);

// Texts of a row's control: "On"/"Off", the slider's bounds and value (Arrow
// Type as names), the font description, the file name.
std::string switchText(const SpaceSetting& row);
std::string sliderBoundText(const SpaceSetting& row, int32_t value);
std::string fontRowText(const SpaceSettings& space);
std::string textRowText(const SpaceSettings& space, int32_t row);
// What a row's control shows, as one text (the colour of a colour row as
// "#RRGGBB"); the list gives it to assistive tools.
std::string controlText(const SpaceSettings& space, int32_t row);
// Arrow Type names: 0 "No Arrows", 1 "Line", 2 "Pyramid", 3 "Cube", 4 "Ball".
const char* arrowTypeName(int32_t value);

}  // namespace vlm::tools
