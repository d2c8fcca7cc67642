#include "model/value_text.h"

#include <gtest/gtest.h>

#include "model/number_text.h"

namespace vlm {
namespace {

TEST(ValueText, GroupDigits) {
  EXPECT_EQ(groupDigits("1234567.5", '.'), "1,234,567.5");
  EXPECT_EQ(groupDigits("-123456", '.'), "-123,456");
  EXPECT_EQ(groupDigits("999", '.'), "999");
  EXPECT_EQ(groupDigits("1000,25", ','), "1,000,25");
}

TEST(ValueText, RealTexts) {
  EXPECT_EQ(realValueText(12.5f, '.', false), "12.5");
  EXPECT_EQ(realValueText(3.0f, '.', false), "3");
  EXPECT_EQ(realValueText(1234.25f, ',', false), "1234,25");
  EXPECT_EQ(realValueText(-1234567.0f, '.', true), "-1,234,567");
  EXPECT_EQ(normaliseNumberText("12.50%", 1, '.'), "12.5%");
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
