#pragma once
// Edits of the space settings rows as the Grid and the Labels menu make them,
// and what each asks of the engine afterwards. The row changes are pure (the
// caller holds the data lock); applyRowEffects posts the follow-up commands.
#include <cstdint>

#include "model/space_settings.h"
#include "platform/common_dialogs.h"

namespace vlm {
struct EngineState;
}

namespace vlm::tools {

struct RowEffects {
  bool rebuildModel = false;
  bool rebuildLabelFont = false;  // the label font lists are made again
  bool defaultColourModel = false;  // the colour scheme changed: clear colour, light, rebuild
  int32_t colourRow = -1;         // a colour to apply (CMD_GRID_SET_COLOR)
  int32_t stereo = -1;            // the stereo switch's new value (CMD_SET_STEREO)
  bool fieldOfView = false;       // the perspective changed: new field of view, redraw
  float fieldOfViewDegrees = 0.0f;
  bool eyeOffset = false;         // the stereo eye offset changed
  int32_t eyeOffsetValue = 0;
};

// Toggles a switch row, with the rules that go with some of them.
RowEffects toggleSwitchRow(SpaceSettings& space, int32_t row);
// Sets a slider row (clamped to its range) and what its value drives.
RowEffects setSliderRow(SpaceSettings& space, int32_t row, int32_t value);
// Sets a colour row; the background colour also picks the colour scheme by its
// brightness, and the label colour turns colour-by-object off.
RowEffects setColourRow(SpaceSettings& space, int32_t row, uint32_t colorref);
// The label font row from a font dialog's answer.
RowEffects setLabelFont(SpaceSettings& space, const platform::FontChoice& font);
platform::FontChoice labelFontChoice(const SpaceSettings& space);
// The colour scheme a background colour selects: 2 (light) from a mean
// brightness of 0.4 up, else 1 (dark).
int32_t schemeForBackground(uint32_t colorref);
// Field of view of a Perspective value: 0..100 onto 35..140 degrees.
float perspectiveDegrees(int32_t value);

// Carries the effects out: the label font invalidated (caller holds the data
// lock), settings that mirror rows, and the engine commands.
void applyRowEffects(EngineState& state, const RowEffects& effects);

}  // namespace vlm::tools
