// The Grid's rows and edits on the space settings table: which rows show,
// the slider arithmetic, the texts of the controls, and the rules some rows
// carry (lattice label switches, the background's colour scheme, the label
// colour, transparency, the label font's size factor).
#include <gtest/gtest.h>

#include <algorithm>

#include "model/color_schemes.h"
#include "model/space_settings_table.h"
#include "tools/grid/grid_edits.h"
#include "tools/grid/grid_rows.h"

namespace vlm::tools {
namespace {

SpaceSettings defaults() {
  SpaceSettings s;
  fillDefaultSpaceSettings(s);
  return s;
}

bool shown(const SpaceSettings& s, int32_t row) {
  const auto rows = shownGridRows(s);
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

TEST(GridRows, TypesFollowTheEditorKinds) {
  const SpaceSettings s = defaults();
  EXPECT_EQ(gridRowType(s.rows[kRowBackgroundColor]), GridRowType::Colour);
  EXPECT_EQ(gridRowType(s.rows[kRowWaterColor]), GridRowType::Colour) << "colour with switch";
  EXPECT_EQ(gridRowType(s.rows[kRowAxes]), GridRowType::Switch);
  EXPECT_TRUE(isGroupHeader(s.rows[kRowAxes]));
  EXPECT_FALSE(isGroupHeader(s.rows[kRowCube]));
  EXPECT_EQ(gridRowType(s.rows[kRowArrowType]), GridRowType::Slider);
  EXPECT_EQ(gridRowType(s.rows[latticeRow(0, kLatRotation)]), GridRowType::Slider) << "angle slider";
  EXPECT_EQ(gridRowType(s.rows[kRowLabelFont]), GridRowType::Text);
  EXPECT_EQ(gridRowType(s.rows[latticeRow(2, kLatBitmapFile)]), GridRowType::Text);
}

TEST(GridRows, TurningAxesOffHidesItsRowsAndOnShowsThemWithTheirValues) {
  SpaceSettings s = defaults();
  s.rows[kRowArrowType].value = 3;
  for (int32_t r = 4; r <= 8; ++r) EXPECT_TRUE(shown(s, r)) << r;
  toggleSwitchRow(s, kRowAxes);
  for (int32_t r = 4; r <= 8; ++r) EXPECT_FALSE(shown(s, r)) << r;
  EXPECT_TRUE(shown(s, kRowAxes));
  EXPECT_TRUE(shown(s, kRowXDensity)) << "densities have no parent";
  toggleSwitchRow(s, kRowAxes);
  for (int32_t r = 4; r <= 8; ++r) EXPECT_TRUE(shown(s, r)) << r;
  EXPECT_EQ(s.rows[kRowArrowType].value, 3);
}

TEST(GridRows, NestedRowsNeedEveryParentOn) {
  SpaceSettings s = defaults();
  EXPECT_FALSE(shown(s, kRowLabel3DDepth)) << "3D is off";
  EXPECT_FALSE(shown(s, kRowEyeOffset)) << "stereo is off";
  s.rows[kRowLabel3D].value = 1;
  EXPECT_TRUE(shown(s, kRowLabel3DDepth));
  s.rows[kRowLabels].value = 0;
  EXPECT_FALSE(shown(s, kRowLabel3DDepth)) << "its parent is hidden";
  const int32_t plane = latticeRow(0, kLatPlane), image = latticeRow(0, kLatImage);
  EXPECT_FALSE(shown(s, image));
  s.rows[plane].value = 1;
  EXPECT_TRUE(shown(s, image));
  EXPECT_FALSE(shown(s, latticeRow(0, kLatBitmapFile)));
}

TEST(GridRows, ALatticeTurnedOffTurnsItsLabelsOffButKeepsThemShown) {
  SpaceSettings s = defaults();
  for (int32_t l = 0; l < 3; ++l) {
    const int32_t lattice = latticeRow(l, 0) - 1;
    toggleSwitchRow(s, lattice);
    EXPECT_FALSE(shown(s, latticeRow(l, kLatColor)));
    for (int32_t off : {kLatFirstLabels, kLatSecondLabels}) {
      EXPECT_EQ(s.rows[latticeRow(l, off)].value, 0);
      EXPECT_TRUE(shown(s, latticeRow(l, off))) << "no parent";
    }
  }
  EXPECT_EQ(latticeRow(0, kLatFirstLabels), 23);
  EXPECT_EQ(latticeRow(2, kLatSecondLabels), 56);
}

TEST(GridRows, SliderValuesFromPixels) {
  // A track from 100 to 200 over 0..100.
  EXPECT_EQ(sliderValueAt(100, 100, 200, 0, 100), 0);
  EXPECT_EQ(sliderValueAt(150, 100, 200, 0, 100), 50);
  EXPECT_EQ(sliderValueAt(200, 100, 200, 0, 100), 100);
  EXPECT_EQ(sliderValueAt(5000, 100, 200, 0, 100), 100) << "past the end: the greatest value";
  EXPECT_EQ(sliderValueAt(20, 100, 200, 0, 100), 0) << "before the start: clamped";
  EXPECT_EQ(sliderValueAt(133, 100, 200, -100, 100), -34) << "truncated towards zero";
  EXPECT_EQ(sliderValueAt(137, 100, 200, 5, 50), 21);
  EXPECT_EQ(sliderValueAt(150, 100, 100, 5, 50), 5) << "no track";
  EXPECT_EQ(sliderPixelOf(50, 100, 200, 0, 100), 150);
  EXPECT_EQ(sliderPixelOf(500, 100, 200, 0, 100), 200);
}

TEST(GridRows, ControlTexts) {
  SpaceSettings s = defaults();
  EXPECT_EQ(switchText(s.rows[kRowAxes]), "On");
  EXPECT_EQ(switchText(s.rows[kRowCube]), "Off");
  const char* names[] = {"No Arrows", "Line", "Pyramid", "Cube", "Ball"};
  for (int v = 0; v <= 4; ++v) EXPECT_EQ(sliderBoundText(s.rows[kRowArrowType], v), names[v]);
  EXPECT_EQ(sliderBoundText(s.rows[kRowEyeOffset], -100), "-100");
  EXPECT_EQ(fontRowText(s), "Arial (10)");
  s.labelFont.weight = 700;
  s.labelFont.italic = true;
  s.labelFont.height = -14;
  EXPECT_EQ(textRowText(s, kRowLabelFont), "Arial (Bold, Italic, 14)");
  EXPECT_EQ(textRowText(s, latticeRow(1, kLatBitmapFile)), "No File");
  EXPECT_TRUE(isNameAreaClick(GridRowType::Switch, 109));
  EXPECT_FALSE(isNameAreaClick(GridRowType::Switch, 110));
  EXPECT_TRUE(isNameAreaClick(GridRowType::Text, 91));
  EXPECT_FALSE(isNameAreaClick(GridRowType::Text, 92));
}

TEST(GridEdits, TransparencySetsTheAlphaOfItsColour) {
  SpaceSettings s = defaults();
  const RowEffects e = setSliderRow(s, kRowAxesTransparency, 30);
  EXPECT_FLOAT_EQ(s.rows[kRowAxesColor].alpha, 0.7f);
  EXPECT_FLOAT_EQ(s.rows[kRowAxesColor].rgba[3], 0.7f);
  EXPECT_EQ(e.colourRow, kRowAxesColor);
  for (int32_t l = 0; l < 3; ++l) {
    setSliderRow(s, latticeRow(l, kLatPlaneTransparency), 100);
    EXPECT_FLOAT_EQ(s.rows[latticeRow(l, kLatPlaneColor)].alpha, 0.0f);
  }
  EXPECT_EQ(setSliderRow(s, kRowWaterTransparency, 40).colourRow, kRowWaterColor);
  setSliderRow(s, kRowArrowSize, 500);
  EXPECT_EQ(s.rows[kRowArrowSize].value, 100) << "clamped to the range";
}

TEST(GridEdits, SlidersDriveThePerspectiveTheEyeAndTheDepth) {
  SpaceSettings s = defaults();
  RowEffects e = setSliderRow(s, kRowPerspective, 100);
  EXPECT_TRUE(e.fieldOfView);
  EXPECT_FLOAT_EQ(e.fieldOfViewDegrees, 140.0f);
  EXPECT_FLOAT_EQ(perspectiveDegrees(0), 35.0f);
  EXPECT_FALSE(e.rebuildModel);
  e = setSliderRow(s, kRowEyeOffset, -40);
  EXPECT_TRUE(e.eyeOffset && e.rebuildModel);
  EXPECT_EQ(e.eyeOffsetValue, -40);
  e = setSliderRow(s, kRowLabel3DDepth, 4);
  EXPECT_TRUE(e.rebuildLabelFont && e.rebuildModel);
  e = setSliderRow(s, kRowXDensity, 20);
  EXPECT_TRUE(e.rebuildModel && !e.rebuildLabelFont && e.colourRow < 0);
}

TEST(GridEdits, ABackgroundOfBrightnessPointFourSelectsTheLightScheme) {
  EXPECT_EQ(schemeForBackground(0x666666), 2) << "0x66 / 255 = 0.4";
  EXPECT_EQ(schemeForBackground(0x656565), 1);
  EXPECT_EQ(schemeForBackground(0x0000FF), 1) << "a pure red has a mean of 1/3";
  SpaceSettings s = defaults();
  applyDefaultColorScheme(s, 1);
  const RowEffects e = setColourRow(s, kRowBackgroundColor, 0x666666);
  EXPECT_EQ(s.scheme, 2);
  EXPECT_EQ(s.rows[kRowBackgroundColor].colorref, 0x666666u) << "set again after the scheme";
  EXPECT_EQ(s.rows[kRowAxesColor].colorref, 0x333333u) << "the light scheme's axes";
  EXPECT_TRUE(e.defaultColourModel);
  setColourRow(s, kRowBackgroundColor, 0x202020);
  EXPECT_EQ(s.scheme, 1);
  EXPECT_EQ(s.rows[kRowBackgroundColor].colorref, 0x202020u);
}

TEST(GridEdits, TheLabelColourTurnsColourByObjectOff) {
  SpaceSettings s = defaults();
  ASSERT_EQ(s.rows[kRowLabelColorByObject].value, 1);
  const RowEffects e = setColourRow(s, kRowLabelColor, 0x0000FF);
  EXPECT_EQ(s.rows[kRowLabelColorByObject].value, 0);
  EXPECT_EQ(s.rows[kRowLabelColor].colorref, 0x0000FFu);
  EXPECT_EQ(e.colourRow, kRowLabelColor);
  EXPECT_TRUE(e.rebuildModel);
  EXPECT_EQ(setColourRow(s, kRowAxes, 1).colourRow, -1) << "not a colour row";
}

TEST(GridEdits, TheSameFontKeepsTheSameLabelSize) {
  SpaceSettings s = defaults();
  const float start = s.rows[kRowLabelFont].secondary;
  setLabelFont(s, labelFontChoice(s));
  EXPECT_FLOAT_EQ(s.rows[kRowLabelFont].secondary, start);
  EXPECT_EQ(s.rows[kRowLabelFont].value, 100) << "points in tenths";
  platform::FontChoice big{"DejaVu Sans", 20, 700, true};
  const RowEffects e = setLabelFont(s, big);
  EXPECT_FLOAT_EQ(s.rows[kRowLabelFont].secondary, 2 * start);
  EXPECT_EQ(s.labelFont.face, "DejaVu Sans");
  EXPECT_EQ(s.labelFont.height, -20);
  EXPECT_EQ(fontRowText(s), "DejaVu Sans (Bold, Italic, 20)");
  EXPECT_TRUE(e.rebuildLabelFont && e.rebuildModel);
}

TEST(GridEdits, SwitchRules) {
  SpaceSettings s = defaults();
  EXPECT_TRUE(toggleSwitchRow(s, kRowLabel3D).rebuildLabelFont);
  EXPECT_EQ(toggleSwitchRow(s, kRowStereo).stereo, 1);
  EXPECT_EQ(toggleSwitchRow(s, kRowStereo).stereo, 0);
  const int32_t image = latticeRow(1, kLatImage), file = latticeRow(1, kLatBitmapFile);
  s.rows[file].text = "old.bmp";
  toggleSwitchRow(s, image);
  EXPECT_EQ(s.rows[file].text, "No File") << "an image switched on without a texture file";
  EXPECT_TRUE(toggleSwitchRow(s, kRowCube).rebuildModel);
}

}  // namespace
}  // namespace vlm::tools
