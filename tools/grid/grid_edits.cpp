#include "tools/grid/grid_edits.h"

#include <algorithm>
#include <cstdlib>

#include "engine/camera/navigation.h"
#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/worker_thread.h"
#include "model/color_schemes.h"
#include "model/space_settings_table.h"
#include "tools/grid/grid_window.h"
#include "tools/model_edit.h"

namespace vlm::tools {
namespace {

constexpr int32_t kLattices[] = {kRowLatticeBase, kRowLatticeBack, kRowLatticeSide};

int32_t latticeOf(int32_t row) {
  for (int32_t l = 0; l < 3; ++l)
    if (kLattices[l] == row) return l;
  return -1;
}

int32_t imageLatticeOf(int32_t row) {
  for (int32_t l = 0; l < 3; ++l)
    if (latticeRow(l, kLatImage) == row) return l;
  return -1;
}

}  // namespace

RowEffects toggleSwitchRow(SpaceSettings& space, int32_t row) {
  RowEffects e;
  if (row < 0 || row >= kSpaceSettingCount) return e;
  SpaceSetting& r = space.rows[static_cast<size_t>(row)];
  r.value = r.value != 0 ? 0 : 1;
  if (row == kRowLabel3D) e.rebuildLabelFont = true;
  if (const int32_t l = latticeOf(row); l >= 0 && r.value == 0) {
    space.rows[static_cast<size_t>(latticeRow(l, kLatFirstLabels))].value = 0;
    space.rows[static_cast<size_t>(latticeRow(l, kLatSecondLabels))].value = 0;
  }
  if (const int32_t l = imageLatticeOf(row); l >= 0 && r.value != 0 && space.axes[static_cast<size_t>(l)].texturePath.empty()) {
    space.rows[static_cast<size_t>(latticeRow(l, kLatBitmapFile))].text = "No File";
    space.axes[static_cast<size_t>(l)].textureNameOffset = 0;
  }
  if (row == kRowStereo) e.stereo = r.value;
  e.rebuildModel = true;
  return e;
}

RowEffects setSliderRow(SpaceSettings& space, int32_t row, int32_t value) {
  RowEffects e;
  if (row < 0 || row >= kSpaceSettingCount) return e;
  SpaceSetting& r = space.rows[static_cast<size_t>(row)];
  value = std::clamp(value, std::min(r.min, r.max), std::max(r.min, r.max));
  r.value = value;
  if (const int32_t colour = colourRowOfTransparency(row); colour >= 0) {
    setTransparency(space, row, value);
    e.colourRow = colour;
    return e;
  }
  switch (row) {
    case kRowLabel3DDepth:
      e.rebuildLabelFont = true;
      e.rebuildModel = true;
      break;
    case kRowPerspective:
      e.fieldOfView = true;
      e.fieldOfViewDegrees = perspectiveDegrees(value);
      break;
    case kRowEyeOffset:
      e.eyeOffset = true;
      e.eyeOffsetValue = value;
      e.rebuildModel = true;
      break;
    default:
      e.rebuildModel = true;
      break;
  }
  return e;
}

int32_t schemeForBackground(uint32_t c) {
  const float mean = (static_cast<float>(c & 0xFF) + static_cast<float>((c >> 8) & 0xFF) +
                      static_cast<float>((c >> 16) & 0xFF)) / (3.0f * 255.0f);
  return mean >= 0.4f ? 2 : 1;
}

RowEffects setColourRow(SpaceSettings& space, int32_t row, uint32_t colorref) {
  RowEffects e;
  if (row == kRowBackgroundColor) {
    applyDefaultColorScheme(space, schemeForBackground(colorref));
    e.defaultColourModel = true;
  }
  if (!gridSetColour(space, row, colorref)) return e;
  if (row == kRowLabelColor) space.rows[kRowLabelColorByObject].value = 0;
  e.colourRow = row;
  e.rebuildModel = true;
  return e;
}

platform::FontChoice labelFontChoice(const SpaceSettings& space) {
  platform::FontChoice f;
  f.face = space.labelFont.face;
  f.points = std::abs(space.labelFont.height);
  f.weight = space.labelFont.weight;
  f.italic = space.labelFont.italic;
  return f;
}

RowEffects setLabelFont(SpaceSettings& space, const platform::FontChoice& font) {
  RowEffects e;
  const int32_t points = std::clamp(font.points, 1, 500);
  space.labelFont.face = font.face;
  space.labelFont.height = -points;
  space.labelFont.weight = font.weight;
  space.labelFont.italic = font.italic;
  SpaceSetting& r = space.rows[kRowLabelFont];
  r.text = font.face;
  // Point size in tenths, and the 3D scale it gives: the same factor as the
  // start-up font's, so the same font keeps the same label size.
  r.value = points * 10;
  r.secondary = static_cast<float>(r.value) * 0.035f;
  e.rebuildLabelFont = true;
  e.rebuildModel = true;
  return e;
}

float perspectiveDegrees(int32_t value) { return 35.0f + static_cast<float>(value) * (140.0f - 35.0f) / 100.0f; }

void applyRowEffects(EngineState& state, const RowEffects& e) {
  SpaceSettings& space = state.view->space;
  if (e.rebuildLabelFont) space.rows[kRowLabelFont].fontListsValid = false;
  EngineSettings& settings = state.main->settings;
  if (e.eyeOffset) {
    settings.eyeOffset = e.eyeOffsetValue;
    state.view->view.stereoEyeOffset = static_cast<float>(e.eyeOffsetValue) * 0.1f;
  }
  if (e.defaultColourModel) postEngine(state, CMD_SET_DEFAULT_COLOR_MODEL, 0);
  if (e.colourRow >= 0) postEngine(state, CMD_GRID_SET_COLOR, static_cast<uintptr_t>(e.colourRow));
  if (e.stereo >= 0) {
    settings.stereoGridItem = e.stereo;
    postEngine(state, CMD_SET_STEREO, static_cast<uintptr_t>(e.stereo));
    // A display without stereo turns the switch off again: the Grid shows it.
    queueEdit(state, [](EngineState& s) { refreshGridLater(s); });
  }
  if (e.fieldOfView) {
    setFieldOfView(state, e.fieldOfViewDegrees);
    postEngine(state, CMD_DRAW_SCENE);
  }
  if (e.rebuildModel) postEngine(state, CMD_UPDATE_MODEL, 0);
}

}  // namespace vlm::tools
