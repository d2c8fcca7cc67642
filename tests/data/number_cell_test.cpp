// Which cell texts are numbers and which numbers they are: the rules every
// loader's passes follow.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/number_cell.h"
#include "data/number_text.h"
#include "data/support/data_test_support.h"

namespace vlm {
namespace {

using test::settings;

TEST(NumberCell, TextsThatHoldDigitsButAreNoNumber) {
  for (const char* text : {"10:75", "555-1234", "2003/13/45", "1.2345.6", "(12)", "12.05.2003", "1,2,3", "10 75",
                           "No. 5", "1-", "5 - 3", "#12", "12ab34", "1.5.2003", "1,234.567.8", "1.234 567",
                           "12\t34", "--5", "1..5", "1,234.", "$"}) {
    EXPECT_EQ(numberKind(text), NumberKind::None) << text;
    float f = 0;
    int64_t i = 0;
    EXPECT_FALSE(parseRealCell(text, 1, settings(), f)) << text;
    EXPECT_FALSE(parseIntegerCell(text, 1, settings(), i)) << text;
  }
}

TEST(NumberCell, WhatTheCleaningLeavesOut) {
  // Blanks, one sign, a currency sign or a code of up to three letters, a
  // trailing percent sign.
  const struct {
    const char* text;
    int64_t value;
  } cases[] = {{"$1,200", 1200},  {"EUR 100", 100},  {"100 EUR", 100}, {"12%", 12},       {"12 %", 12},
               {" 42 ", 42},      {"-$5", -5},       {"$-5", -5},      {"US$ 5", 5},       {"+7", 7},
               {"- 5", -5},       {"5 kg", 5},       {"\xE2\x82\xAC" "3", 3},              {"1\xC2\xA0" "234", 1234},
               {"1 234 567", 1234567}};
  for (const auto& c : cases) {
    int64_t v = 0;
    ASSERT_TRUE(parseIntegerCell(c.text, 0, settings(), v)) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

TEST(NumberCell, GroupsAndDecimalPoints) {
  const struct {
    const char* text;
    float value;
  } cases[] = {
      {"1,234.56", 1234.56f}, {"1.234,56", 1234.56f}, {"1 234,5", 1234.5f},      {"1.234.567", 1234567.0f},
      {"1,234,567.5", 1234567.5f}, {"12,34,567", 1234567.0f},  // lakh grouping
      {"-1,5", -1.5f},        {".5", 0.5f},           {"1,2345", 1.2345f},       {"1234,567", 1234.567f},
      {"3.14", 3.14f},        {"0.0015", 0.0015f},      {"5.", 5.0f},            {"12,", 12.0f}};
  for (const auto& c : cases) {
    float v = 0;
    ASSERT_TRUE(parseRealCell(c.text, 1, settings(), v)) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

TEST(NumberCell, ALoneSeparatorBeforeThreeDigitsIsTheDecimalPointOnlyAsTheRegionWritesIt) {
  float v = 0;
  for (NumberFormatClass k : {0, 1, 3}) {
    ASSERT_TRUE(parseRealCell("1,200", k, settings('.'), v));
    EXPECT_EQ(v, 1200.0f) << k;
    ASSERT_TRUE(parseRealCell("1.234", k, settings('.'), v));
    EXPECT_EQ(v, 1.234f) << k;
    ASSERT_TRUE(parseRealCell("1.234", k, settings(','), v));
    EXPECT_EQ(v, 1234.0f) << k;
    ASSERT_TRUE(parseRealCell("1,234", k, settings(','), v));
    EXPECT_EQ(v, 1.234f) << k;
  }
  // In a field whose cells repeat their separators (class 2) it groups.
  ASSERT_TRUE(parseRealCell("1.234", 2, settings('.'), v));
  EXPECT_EQ(v, 1234.0f);
  // A repeated separator groups in every field.
  ASSERT_TRUE(parseRealCell("1.234.567", 1, settings('.'), v));
  EXPECT_EQ(v, 1234567.0f);
}

TEST(NumberCell, ScientificNotation) {
  for (const char* text : {"1.5e-3", "1e-07", "2E+07", "-1.2345679e+14", "1,5e3", ".5e1", "5.e2", " 3e4 "})
    EXPECT_TRUE(isScientificNumber(text)) << text;
  for (const char* text : {"e5", "1e", "1e+", "1.5e-3x", "1.2.3e4", "1,5,3e4", "Jan 5-2003", "1e5.5"})
    EXPECT_FALSE(isScientificNumber(text)) << text;
  float v = 0;
  ASSERT_TRUE(parseRealCell("1.5e-3", 0, settings(), v));
  EXPECT_EQ(v, 0.0015f);
  ASSERT_TRUE(parseRealCell("1,5e3", 0, settings(','), v));
  EXPECT_EQ(v, 1500.0f);
  ASSERT_TRUE(parseRealCell("1e99", 0, settings(), v));
  EXPECT_EQ(v, 3.4028235e38f) << "held at the float limit";
  ASSERT_TRUE(parseRealCell("-1e99", 0, settings(), v));
  EXPECT_EQ(v, -3.4028235e38f);
  ASSERT_TRUE(parseRealCell("1e-99", 0, settings(), v));
  EXPECT_EQ(v, 0.0f);
  int64_t i = 0;
  ASSERT_TRUE(parseIntegerCell("2.5e3", 0, settings(), i));
  EXPECT_EQ(i, 2500);
}

TEST(NumberCell, IntegersAreReadInFullAndHeldAtTheLimits) {
  int64_t v = 0;
  ASSERT_TRUE(parseIntegerCell("9223372036854775807", 0, settings(), v));
  EXPECT_EQ(v, INT64_MAX);
  ASSERT_TRUE(parseIntegerCell("-9223372036854775808", 0, settings(), v));
  EXPECT_EQ(v, INT64_MIN);
  ASSERT_TRUE(parseIntegerCell("99999999999999999999", 0, settings(), v));
  EXPECT_EQ(v, INT64_MAX);
  ASSERT_TRUE(parseIntegerCell("12.50", 1, settings(), v));  // a fraction is cut off
  EXPECT_EQ(v, 12);
}

// A deterministic sweep over the floats' bit patterns.
float floatAt(uint32_t step) {
  const uint32_t bits = step * 2654435761u;
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

TEST(NumberCell, EveryRealTextReadsBackAsTheSameFloat) {
  // The copy writes realText; a paste reads it with parseRealCell. Grouped
  // texts (the information panel, labels) read back too.
  for (char separator : {'.', ','}) {
    const platform::RegionalSettings r = settings(separator);
    for (uint32_t step = 0; step < 50000; ++step) {
      const float f = floatAt(step);
      if (!std::isfinite(f)) continue;
      std::string text = realText(f, r);
      float back = 0;
      ASSERT_TRUE(parseRealCell(text, 1, r, back)) << text;
      ASSERT_EQ(back, f) << text;
      groupDigits(text, r);
      ASSERT_TRUE(parseRealCell(text, 1, r, back)) << text;
      ASSERT_EQ(back, f) << text;
    }
  }
}

// Plain numbers ("1234", "12.5") are read without the cleaning: each must
// still be the number it shows, the same as when blanks around it send it
// through the cleaning, in every field class and with either decimal comma
// or point.
TEST(NumberCell, PlainNumbersReadAsTheCleaningReadsThem) {
  std::vector<std::string> texts = {"0", "7", "007", "123456789", "2147483648", "123456789012345678",
                                    "0.5", "12.25", "1.2345", "99999.99", "3.40282347", "0.0000001"};
  uint32_t seed = 99;
  for (int i = 0; i < 3000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    std::string t = std::to_string(seed % 1000000u);
    const int fraction = static_cast<int>((seed >> 20) % 7);
    if (fraction > 0) t += "." + std::to_string(seed % 10000000u).substr(0, static_cast<size_t>(fraction));
    texts.push_back(t);
  }
  for (const std::string& text : texts) {
    const bool plain = plainNumber(text).plain;
    for (const auto& regional : {settings('.'), settings(',')}) {
      for (NumberFormatClass k = 0; k <= 3; ++k) {
        float fast = 0, full = 0;
        int64_t fastInt = 0, fullInt = 0;
        const bool a = parseRealCell(text, k, regional, fast);
        const bool b = parseRealCell(" " + text + " ", k, regional, full);
        ASSERT_EQ(a, b) << text;
        if (a) {
          ASSERT_EQ(std::memcmp(&fast, &full, sizeof fast), 0) << text << " class " << k;
        }
        ASSERT_EQ(parseIntegerCell(text, k, regional, fastInt), parseIntegerCell(" " + text + " ", k, regional, fullInt));
        ASSERT_EQ(fastInt, fullInt) << text << " class " << k;
        if (plain) {
          float want = 0;
          std::from_chars(text.data(), text.data() + text.size(), want);
          ASSERT_EQ(std::memcmp(&fast, &want, sizeof fast), 0) << text;
        }
      }
    }
  }
  for (const char* text : {"1.234", "1.", ".5", "-5", "+5", "1,5", "1 234", "12a", ""})
    EXPECT_FALSE(plainNumber(text).plain) << text;
}

// Plain numbers of up to 24 bits of digits and ten decimals are read by a
// division: each must be the float the decimal text reads as.
TEST(NumberCell, ShortPlainNumbersReadAsTheirDecimalTextReads) {
  std::vector<uint32_t> wholes;
  for (uint32_t w = 0; w < (1u << 24) + 2000; w += 89) wholes.push_back(w);
  for (uint32_t w = (1u << 24) - 2000; w < (1u << 24) + 2000; ++w) wholes.push_back(w);
  for (uint32_t w : {9999999u, 1234567u, 16777215u, 16777216u, 16777217u, 33554431u}) wholes.push_back(w);
  const platform::RegionalSettings regional = settings('.');
  for (uint32_t whole : wholes) {
    const std::string digits = std::to_string(whole);
    for (size_t decimals = 0; decimals <= 11; ++decimals) {
      std::string text = digits;
      if (decimals > 0) {
        if (text.size() <= decimals) text.insert(0, decimals + 1 - text.size(), '0');
        text.insert(text.size() - decimals, ".");
      }
      if (!plainNumber(text).plain) continue;
      float read = 0, want = 0;
      ASSERT_TRUE(parseRealCell(text, 1, regional, read)) << text;
      std::from_chars(text.data(), text.data() + text.size(), want);
      ASSERT_EQ(std::memcmp(&read, &want, sizeof read), 0) << text;
    }
  }
}

}  // namespace
}  // namespace vlm
