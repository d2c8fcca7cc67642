#include "model/color_lookup.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vlm {
namespace {

ColorEntry entry(float position, float r, float g, float b) {
  ColorEntry e;
  e.position = position;
  e.red = r;
  e.green = g;
  e.blue = b;
  return e;
}

TEST(ColourLookup, CategoricalNeverShowsTheLastColour) {
  ColorModel m;
  m.rampType = kRampCategorical;
  m.entries = {entry(0, 1, 0, 0), entry(0.5f, 0, 1, 0), entry(1, 0, 0, 1)};
  float rgb[3];
  for (float t : {0.0f, 0.2f, 0.4999f}) {
    ASSERT_TRUE(colourOfValue(m, t, rgb));
    EXPECT_EQ(rgb[0], 1.0f) << t;
  }
  for (float t : {0.5f, 0.75f, 1.0f}) {
    colourOfValue(m, t, rgb);
    EXPECT_EQ(rgb[1], 1.0f) << t;
    EXPECT_EQ(rgb[2], 0.0f) << t;
  }
}

TEST(ColourLookup, ContinuousQuarterBlend) {
  ColorModel m;
  m.entries = {entry(0, 0, 0, 0), entry(1, 1, 0.8f, 0.4f)};
  float rgb[3];
  ASSERT_TRUE(colourOfValue(m, 0.25f, rgb));
  EXPECT_FLOAT_EQ(rgb[0], 0.25f);
  EXPECT_FLOAT_EQ(rgb[1], 0.2f);
  EXPECT_FLOAT_EQ(rgb[2], 0.1f);
}

TEST(ColourLookup, TheMaximumGetsTheLastColour) {
  ColorModel m;
  m.entries = {entry(0, 1, 0, 0), entry(0.5f, 0, 1, 0), entry(1, 0, 0, 1)};
  float rgb[3];
  colourOfValue(m, 1.0f, rgb);
  EXPECT_EQ(rgb[2], 1.0f);
  EXPECT_EQ(rgb[0], 0.0f);
  colourOfValue(m, 0.75f, rgb);
  EXPECT_FLOAT_EQ(rgb[1], 0.5f);
  EXPECT_FLOAT_EQ(rgb[2], 0.5f);
}

TEST(ColourLookup, EqualPositions) {
  ColorModel m;
  // A hard edge at 0.5: the pair of equal positions holds no t, so 0.5 starts the
  // next pair.
  m.entries = {entry(0, 1, 0, 0), entry(0.5f, 0, 1, 0), entry(0.5f, 0, 0, 1), entry(1, 1, 1, 1)};
  float rgb[3];
  colourOfValue(m, 0.5f, rgb);
  EXPECT_EQ(rgb[2], 1.0f);
  EXPECT_EQ(rgb[0], 0.0f);
  colourOfValue(m, 0.4999f, rgb);
  EXPECT_GT(rgb[1], 0.99f);
  // A last pair of equal positions takes the colour of its first entry.
  m.entries = {entry(0, 1, 0, 0), entry(1, 0, 1, 0), entry(1, 0, 0, 1)};
  colourOfValue(m, 1.0f, rgb);
  EXPECT_EQ(rgb[1], 1.0f);
}

TEST(ColourLookup, FewerThanTwoEntriesLeaveTheColour) {
  ColorModel m;
  m.entries = {entry(0, 1, 0, 0)};
  float rgb[3] = {0.1f, 0.2f, 0.3f};
  EXPECT_FALSE(colourOfValue(m, 0.5f, rgb));
  EXPECT_EQ(rgb[0], 0.1f);
  EXPECT_EQ(rgb[2], 0.3f);
}

TEST(ColourLookup, OutOfRangeAndNaNStayFinite) {
  ColorModel m;
  m.entries = {entry(0.2f, 1, 0, 0), entry(0.8f, 0, 0, 1)};
  float rgb[3];
  colourOfValue(m, -3.0f, rgb);
  EXPECT_EQ(rgb[0], 1.0f);
  colourOfValue(m, 0.9f, rgb);
  EXPECT_EQ(rgb[2], 1.0f);
  colourOfValue(m, std::nanf(""), rgb);
  EXPECT_EQ(rgb[0], 1.0f);
}

}  // namespace
}  // namespace vlm
