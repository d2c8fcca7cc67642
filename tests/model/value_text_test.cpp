#include "model/value_text.h"

#include <gtest/gtest.h>

#include "model/number_text.h"

namespace vlm {
namespace {

platform::RegionalSettings decimalMark(char separator) {
  platform::RegionalSettings r;
  r.decimalSeparator = separator;
  r.decimalSeparatorKnown = true;
  return r;
}

TEST(ValueText, NumberTextsGroupWithTheOtherMark) {
  EXPECT_EQ(integerValueText(1234567, true, decimalMark('.')), "1,234,567");
  EXPECT_EQ(integerValueText(-123456, true, decimalMark('.')), "-123,456");
  EXPECT_EQ(integerValueText(999, true, decimalMark('.')), "999");
  // Where ',' is the decimal separator it cannot group too.
  EXPECT_EQ(integerValueText(5000, true, decimalMark(',')), "5.000");
  EXPECT_EQ(realValueText(1000.25f, true, decimalMark(',')), "1.000,25");
  EXPECT_EQ(integerValueText(5000, false, decimalMark(',')), "5000");
}

TEST(ValueText, RealTexts) {
  EXPECT_EQ(realValueText(12.5f, false, decimalMark('.')), "12.5");
  EXPECT_EQ(realValueText(3.0f, false, decimalMark('.')), "3");
  EXPECT_EQ(realValueText(1234.25f, false, decimalMark(',')), "1234,25");
  EXPECT_EQ(realValueText(-1234567.0f, true, decimalMark('.')), "-1,234,567");
  // The shortest text of the stored float, not six decimals of its noise.
  EXPECT_EQ(realValueText(100.1f, false, decimalMark('.')), "100.1");
  EXPECT_EQ(realValueText(1234.56f, true, decimalMark('.')), "1,234.56");
}

TEST(ValueText, GroupedTextsReadBackInEveryRegion) {
  for (char separator : {'.', ','}) {
    const platform::RegionalSettings r = decimalMark(separator);
    for (int32_t v : {0, 999, 1000, 5000, 123456, -7654321}) {
      int32_t back = 0;
      ASSERT_TRUE(parseIntegerText(integerValueText(v, true, r).c_str(), separator, back)) << v;
      EXPECT_EQ(back, v) << separator;
    }
    for (float v : {0.5f, 1000.25f, 36.17528f, -98765.4f, 1e-7f, 4.9151124e12f}) {
      float back = 0;
      ASSERT_TRUE(parseRealText(realValueText(v, true, r).c_str(), separator, back)) << v;
      EXPECT_EQ(back, v) << separator;
    }
  }
}

TEST(ValueText, TimeTexts) {
  platform::RegionalSettings r;
  TimeEntry e;
  e.year = 2004;
  e.month = 3;
  e.day = 9;
  EXPECT_EQ(timeEntryText(e, r), "Mar 9-2004");
  r.dateOrder = 1;
  EXPECT_EQ(timeEntryText(e, r), "9-Mar-2004");
  r.dateOrder = 2;
  EXPECT_EQ(timeEntryText(e, r), "2004-Mar-9");
  e.day = 0;
  EXPECT_EQ(timeEntryText(e, r), "2004 Mar");
  TimeEntry t;
  t.hour = 13;
  t.minute = 5;
  t.second = 7;
  t.millisecond = 500;
  r.decimalSeparator = '.';
  r.decimalSeparatorKnown = true;
  EXPECT_EQ(timeEntryText(t, r), " 13:05:07.5");
  t.millisecond = 0;
  EXPECT_EQ(timeEntryText(t, r), " 13:05:07");
}

TEST(NumberText, ReadsGroupedTextsBack) {
  float f = 0;
  ASSERT_TRUE(parseRealText("1,234,567.5", '.', f));
  EXPECT_FLOAT_EQ(f, 1234567.5f);
  ASSERT_TRUE(parseRealText("1.234,5", ',', f));
  EXPECT_FLOAT_EQ(f, 1234.5f);
  ASSERT_TRUE(parseRealText(" -2.5e3", '.', f));
  EXPECT_FLOAT_EQ(f, -2500.0f);
  EXPECT_FALSE(parseRealText("nan", '.', f));
  EXPECT_FALSE(parseRealText("", '.', f));
  int32_t i = 0;
  ASSERT_TRUE(parseIntegerText("12,345.9", '.', i));
  EXPECT_EQ(i, 12345);
  ASSERT_TRUE(parseIntegerText("99999999999", '.', i));
  EXPECT_EQ(i, 2147483647);
  EXPECT_FALSE(parseIntegerText("x1", '.', i));
}

}  // namespace
}  // namespace vlm
