#include "model/space_settings_table.h"

#include <gtest/gtest.h>

#include "model/color_schemes.h"

namespace vlm {
namespace {

class SpaceTable : public ::testing::Test {
 protected:
  void SetUp() override { fillDefaultSpaceSettings(space); }
  const SpaceSetting& row(int i) const { return space.rows[static_cast<size_t>(i)]; }
  SpaceSettings space;
};

TEST_F(SpaceTable, SeventyThreeRowsIndexedInOrder) {
  ASSERT_EQ(space.rows.size(), 73u);
  for (int i = 0; i < 73; ++i) {
    EXPECT_EQ(row(i).index, i);
    EXPECT_FALSE(row(i).name.empty()) << i;
    EXPECT_LE(row(i).name.size(), 32u) << i;
  }
}

TEST_F(SpaceTable, TopLevelRows) {
  EXPECT_EQ(row(0).name, "Background Color");
  EXPECT_EQ(row(3).name, "Axes");
  EXPECT_EQ(row(3).kind, kKindSwitchWithChildren);
  EXPECT_EQ(row(3).value, 1);
  EXPECT_EQ(row(13).name, "Labels");
  EXPECT_EQ(row(19).name, "Lattice Base");
  EXPECT_EQ(row(35).name, "Lattice Back");
  EXPECT_EQ(row(51).name, "Lattice Side");
  EXPECT_EQ(row(67).name, "Water Color");
  EXPECT_EQ(row(67).kind, kKindColourWithSwitch);
  EXPECT_EQ(row(69).name, "Center in Mass");
  EXPECT_EQ(row(70).name, "Perspective");
  EXPECT_EQ(row(70).value, 25);
  EXPECT_EQ(row(71).name, "3D Stereo");
  EXPECT_EQ(row(72).name, "    Eye Offset");
  EXPECT_EQ(row(72).parent, 71);
  EXPECT_EQ(row(72).min, -100);
  EXPECT_EQ(row(72).value, 20);
}

TEST_F(SpaceTable, AxesLabelsAndDensities) {
  EXPECT_EQ(row(4).name, "    Color");
  EXPECT_EQ(row(4).parent, 3);
  EXPECT_EQ(row(6).value, 20);
  EXPECT_EQ(row(6).min, 5);
  EXPECT_EQ(row(6).max, 50);
  EXPECT_EQ(row(7).value, 2);
  EXPECT_EQ(row(8).max, 100);
  for (int i = 9; i <= 11; ++i) {
    EXPECT_EQ(row(i).parent, 0);
    EXPECT_EQ(row(i).value, 10);
    EXPECT_EQ(row(i).min, 1);
  }
  EXPECT_EQ(row(9).name, "    X Density");
  EXPECT_EQ(row(12).name, "    Cube");
  EXPECT_EQ(row(14).text, "Arial");
  EXPECT_EQ(row(14).kind, kKindText);
  EXPECT_EQ(row(14).valueClass, kValueText);
  EXPECT_FLOAT_EQ(row(14).secondary, 3.5f);
  EXPECT_EQ(space.labelFont.height, -10);
  EXPECT_EQ(space.labelFont.weight, 400);
  EXPECT_EQ(row(16).name, "        3D Depth");
  EXPECT_EQ(row(16).parent, 15);
  EXPECT_EQ(row(16).value, 1);
  EXPECT_EQ(row(18).value, 1);
}

TEST_F(SpaceTable, LatticeGroups) {
  const int first[3] = {20, 36, 52};
  const char* labels[3][2] = {{"    X Labels", "    Y Labels"},
                              {"    X Labels", "    Z Labels"},
                              {"    Y Labels", "    Z Labels"}};
  for (int g = 0; g < 3; ++g) {
    const int b = first[g];
    EXPECT_EQ(latticeRow(g, 0), b);
    EXPECT_EQ(row(b).parent, b - 1);
    EXPECT_EQ(row(b + 1).value, 50);
    EXPECT_EQ(row(b + 2).max, 100);
    EXPECT_EQ(row(b + 3).name, labels[g][0]);
    EXPECT_EQ(row(b + 4).name, labels[g][1]);
    EXPECT_EQ(row(b + 3).parent, 0);
    EXPECT_EQ(row(b + 5).name, "    Plane");
    EXPECT_EQ(row(b + 5).parent, 0);
    EXPECT_EQ(row(b + 6).name, "        Color");
    EXPECT_EQ(row(b + 6).parent, b + 5);
    EXPECT_EQ(row(b + 7).value, 75);
    EXPECT_EQ(row(b + 8).name, "        Image");
    EXPECT_EQ(row(b + 9).name, "            Bitmap File");
    EXPECT_EQ(row(b + 9).text, "No File");
    EXPECT_EQ(row(b + 9).parent, b + 8);
    EXPECT_EQ(row(b + 10).min, -50);
    EXPECT_EQ(row(b + 12).value, 10);
    EXPECT_EQ(row(b + 14).kind, kKindAngleSlider);
    EXPECT_EQ(row(b + 14).max, 360);
    EXPECT_EQ(spaceRowFlags(row(b + 14)), 0x10C);
  }
}

TEST_F(SpaceTable, FlagsAndValueClasses) {
  EXPECT_EQ(spaceRowFlags(row(0)), 0x910);
  EXPECT_EQ(spaceRowFlags(row(14)), 0x318);
  EXPECT_EQ(spaceRowFlags(row(3)), 0x102);
  EXPECT_EQ(spaceRowFlags(row(67)), 0x912);
  for (int i = 0; i < 73; ++i) EXPECT_NE(spaceRowFlags(row(i)) & 0x100, 0) << i;
}

TEST_F(SpaceTable, TransparencyGivesTheAlphaOfItsColour) {
  EXPECT_FLOAT_EQ(row(4).alpha, 0.7f);
  EXPECT_FLOAT_EQ(row(4).rgba[3], 0.7f);
  EXPECT_FLOAT_EQ(row(5).secondary, 0.7f);
  EXPECT_FLOAT_EQ(row(20).alpha, 0.5f);
  EXPECT_FLOAT_EQ(row(26).alpha, 0.25f);
  EXPECT_FLOAT_EQ(row(67).alpha, 0.7f);
  setTransparency(space, 68, 100);
  EXPECT_FLOAT_EQ(row(67).alpha, 0.0f);
  EXPECT_EQ(transparencyRowOf(58), 59);
  EXPECT_EQ(transparencyRowOf(17), -1);
  EXPECT_EQ(colourRowOfTransparency(43), 42);
}

TEST_F(SpaceTable, LightSchemeIsTheStart) {
  EXPECT_EQ(space.scheme, 2);
  EXPECT_EQ(row(0).colorref, 0xFFFFFFu);
  EXPECT_EQ(row(1).colorref, 0x888888u);
  EXPECT_FLOAT_EQ(row(1).alpha, 0.75f);
  EXPECT_EQ(row(2).colorref, 0x333333u);
  EXPECT_EQ(row(4).colorref, 0x333333u);
  EXPECT_EQ(row(20).colorref, 0x444444u);
  EXPECT_EQ(row(42).colorref, 0x999999u);
  EXPECT_EQ(row(17).colorref, 0x333333u);
  EXPECT_EQ(row(67).colorref, 0xDDDDDDu);
  EXPECT_FLOAT_EQ(row(0).rgba[0], 1.0f);
}

TEST_F(SpaceTable, DarkSchemeKeepsTransparencyAlphas) {
  applyDefaultColorScheme(space, 1);
  EXPECT_EQ(space.scheme, 1);
  EXPECT_EQ(row(0).colorref, 0x000000u);
  EXPECT_FLOAT_EQ(row(0).alpha, 1.0f);
  EXPECT_EQ(row(2).colorref, 0xAAAAAAu);
  EXPECT_EQ(row(4).colorref, 0xBBBBBBu);
  EXPECT_FLOAT_EQ(row(4).alpha, 0.7f);
  EXPECT_EQ(row(36).colorref, 0xAAAAAAu);
  EXPECT_EQ(row(58).colorref, 0x666666u);
  EXPECT_FLOAT_EQ(row(58).alpha, 0.25f);
  EXPECT_EQ(row(17).colorref, 0xAAAAAAu);
  EXPECT_EQ(row(67).colorref, 0x222222u);
  applyDefaultColorScheme(space, 7);
  EXPECT_EQ(row(0).colorref, 0xFFFFFFu);
  EXPECT_EQ(space.scheme, 7);
}

TEST_F(SpaceTable, GridSetColourAlphaRule) {
  space.rows[1].alpha = 0.4f;
  ASSERT_TRUE(gridSetColour(space, 1, 0x0000FFu));
  EXPECT_FLOAT_EQ(row(1).rgba[3], 0.4f);
  EXPECT_FLOAT_EQ(row(1).rgba[0], 1.0f);
  space.rows[27].value = 10;
  ASSERT_TRUE(gridSetColour(space, 27, 0x00FF00u));  // a transparency row names its colour
  EXPECT_EQ(row(26).colorref, 0x00FF00u);
  EXPECT_FLOAT_EQ(row(26).alpha, 0.9f);
  EXPECT_FALSE(gridSetColour(space, 6, 0));
  EXPECT_FALSE(gridSetColour(space, 73, 0));
}

TEST_F(SpaceTable, AxisRecords) {
  EXPECT_EQ(space.axes[0].low, -100.0f);
  EXPECT_EQ(space.axes[0].step, 20.0f);
  space.rows[kRowYDensity].value = 0;
  setDefaultAxisRecords(space, 10.0f, 20.0f);
  EXPECT_EQ(space.axes[0].low, -10.0f);
  EXPECT_EQ(space.axes[0].high, 30.0f);
  EXPECT_EQ(space.axes[1].low, -20.0f);
  EXPECT_EQ(space.axes[1].high, 60.0f);
  EXPECT_EQ(space.axes[1].step, 1.0f);
  EXPECT_EQ(space.axes[2].high, 30.0f);
  EXPECT_EQ(space.axes[2].subdivision, 1);
}

}  // namespace
}  // namespace vlm
