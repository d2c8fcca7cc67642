#include <string>

#include <gtest/gtest.h>

#include "data/char_tests.h"
#include "data/number_text.h"
#include "data/separator_analysis.h"
#include "data/support/data_test_support.h"

namespace vlm {
namespace {

using test::settings;

std::string normalised(std::string text, NumberFormatClass k, char decimal = '.') {
  normaliseNumberText(text, k, settings(decimal));
  return text;
}

std::string grouped(std::string text, char decimal = '.') {
  groupDigits(text, settings(decimal));
  return text;
}

TEST(Strip, KeepsOnlyDigitsCommasDashesAndDots) {
  EXPECT_EQ(stripToNumberChars("$ -1,234.50 USD"), "-1,234.50");
  EXPECT_EQ(stripToNumberChars("12.5%"), "12.5");
  EXPECT_EQ(stripToNumberChars("abc"), "");
  EXPECT_EQ(stripToNumberChars("\xff\x80-9"), "-9");
}

TEST(MissingMarker, AnyCaseAnywhere) {
  EXPECT_TRUE(isMissingMarker("NULL"));
  EXPECT_TRUE(isMissingMarker("n/a"));
  EXPECT_TRUE(isMissingMarker("#NUM!"));
  EXPECT_TRUE(isMissingMarker("value: N/A"));
  EXPECT_TRUE(isMissingMarker("Nullable"));
  EXPECT_FALSE(isMissingMarker("nul"));
  EXPECT_FALSE(isMissingMarker("n/"));
  EXPECT_FALSE(isMissingMarker("num"));
  EXPECT_FALSE(isMissingMarker("na"));
}

// Cells are passed over several characters at a time while they hold no 'n':
// a marker is found at any place of a cell of any length, in any case, next
// to characters close to 'n' in the code ('N' + 128, 'm', 'o').
TEST(MissingMarker, FoundAtEveryPlaceOfCellsOfEveryLength) {
  const auto reference = [](const std::string& text) {
    std::string lowered = text;
    for (char& c : lowered)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return lowered.find("null") != std::string::npos || lowered.find("n/a") != std::string::npos ||
           lowered.find("num!") != std::string::npos;
  };
  const std::string words[] = {"null", "NuLl", "n/a", "N/A", "num!", "NUM!", "nul", "n/", "nu", "n", "N"};
  const std::string fillers[] = {"0", "\xCE", "m", "o", "."};
  for (const std::string& word : words) {
    for (const std::string& filler : fillers) {
      for (size_t length = 0; length <= 24; ++length) {
        for (size_t at = 0; at <= length; ++at) {
          std::string text;
          for (size_t i = 0; i < length; ++i) text += filler;
          text.insert(at, word);
          ASSERT_EQ(isMissingMarker(text), reference(text)) << text;
          const std::string withoutWord = text.substr(0, at) + text.substr(at + word.size());
          ASSERT_EQ(isMissingMarker(withoutWord), reference(withoutWord)) << withoutWord;
        }
      }
    }
  }
}

TEST(SeparatorAnalysis, FirstRuleThatApplies) {
  EXPECT_EQ(separatorAnalysis("1,234.5"), 3);
  EXPECT_EQ(separatorAnalysis("1 234.5"), 3);
  EXPECT_EQ(separatorAnalysis("1 234,5"), 3);
  EXPECT_EQ(separatorAnalysis("1.234.567"), 2);
  EXPECT_EQ(separatorAnalysis("1,234,567"), 2);
  EXPECT_EQ(separatorAnalysis("1 234 567"), 2);
  EXPECT_EQ(separatorAnalysis("1.234"), 0);  // three after: thousands
  EXPECT_EQ(separatorAnalysis("1,234"), 0);
  EXPECT_EQ(separatorAnalysis("1.5"), 1);
  EXPECT_EQ(separatorAnalysis("1,25"), 1);
  EXPECT_EQ(separatorAnalysis("1.2345"), 1);
  EXPECT_EQ(separatorAnalysis("1."), 1);
  EXPECT_EQ(separatorAnalysis("1234"), 0);
  EXPECT_EQ(separatorAnalysis(""), 0);
  EXPECT_EQ(separatorAnalysis("1 234"), 0);  // one blank alone is no separator
}

TEST(Normalise, DecimalPointChoice) {
  EXPECT_EQ(normalised("1.234.567", 2), "1234567");
  EXPECT_EQ(normalised("1.234", 1), "1.234");
  EXPECT_EQ(normalised("1.234", 0), "1234");  // a lone kind is grouping for class 0
  EXPECT_EQ(normalised("1,5", 1), "1.5");
  EXPECT_EQ(normalised("1,5", 2), "15");
  EXPECT_EQ(normalised("1,234.5", 0), "1234.5");  // both: the later one
  EXPECT_EQ(normalised("1.234,5", 0), "1234.5");
  EXPECT_EQ(normalised("1.234,5", 3, ','), "1234,5");
  EXPECT_EQ(normalised("2.5", 1, ','), "2,5");
}

TEST(Normalise, FractionZerosAndBlanks) {
  EXPECT_EQ(normalised("1.500000", 1), "1.5");
  EXPECT_EQ(normalised("2.000000", 1), "2");
  EXPECT_EQ(normalised("2.0", 1), "2");
  EXPECT_EQ(normalised("1.05", 1), "1.05");
  EXPECT_EQ(normalised("10.0 ", 1), "10");
  EXPECT_EQ(normalised("100", 1), "100");  // no separator: integer zeros stay
  EXPECT_EQ(normalised("-0.000000", 1), "-0");
}

TEST(Normalise, PercentEndsTheNumberAndComesBack) {
  EXPECT_EQ(normalised("12.50%", 1), "12.5%");
  EXPECT_EQ(normalised("50%", 1), "50%");  // must not turn into 500
  EXPECT_EQ(normalised("%", 1), "%");
}

TEST(Group, ThreesFromTheSeparator) {
  EXPECT_EQ(grouped("1234567.5"), "1,234,567.5");
  EXPECT_EQ(grouped("-123456"), "-123,456");
  EXPECT_EQ(grouped("123"), "123");
  EXPECT_EQ(grouped("-123"), "-123");
  EXPECT_EQ(grouped("1234"), "1,234");
  EXPECT_EQ(grouped("1000000"), "1,000,000");
  EXPECT_EQ(grouped("-2147483648"), "-2,147,483,648");
  EXPECT_EQ(grouped("0.12345"), "0.12345");  // the fraction is never grouped
  EXPECT_EQ(grouped(""), "");
  EXPECT_EQ(grouped("N/A"), "N/A");
}

TEST(Group, CommaDecimalSeparatorGroupsWithDots) {
  EXPECT_EQ(grouped("1234567,5", ','), "1.234.567,5");
  EXPECT_EQ(grouped("-123456", ','), "-123.456");
}

TEST(RealText, PrintsTheShortestTextOfTheFloat) {
  EXPECT_EQ(realText(2.5f, settings()), "2.5");
  EXPECT_EQ(realText(2.0f, settings()), "2");
  EXPECT_EQ(realText(-1.25f, settings(',')), "-1,25");
  EXPECT_EQ(realText(0.1f, settings()), "0.1");
  EXPECT_EQ(realText(1234567.0f, settings()), "1234567");
  // Six fixed decimals would show the float's noise.
  EXPECT_EQ(realText(100.1f, settings()), "100.1");
  EXPECT_EQ(realText(1234.56f, settings()), "1234.56");
  EXPECT_EQ(realText(36.17528f, settings()), "36.17528");
  EXPECT_EQ(realText(36.17528f, settings(',')), "36,17528");
  EXPECT_EQ(realText(0.0001234f, settings()), "0.0001234");
  EXPECT_EQ(realText(16777215.0f, settings()), "16777215");
}

TEST(RealText, TinyAndHugeValuesPrintInScientificNotation) {
  // Neither "0" nor a whole number that the float does not hold.
  EXPECT_EQ(realText(1e-7f, settings()), "1e-07");
  EXPECT_EQ(realText(-2.5e-9f, settings(',')), "-2,5e-09");
  EXPECT_EQ(realText(123456789012345.0f, settings()), "1.2345679e+14");
  EXPECT_EQ(realText(16777216.0f, settings()), "1.6777216e+07");
  EXPECT_EQ(realText(3.4028235e38f, settings()), "3.4028235e+38");
  EXPECT_EQ(realText(0.0f, settings()), "0");
}

TEST(ReadReal, UsesTheRegionalSeparatorOnly) {
  double v = 0;
  ASSERT_TRUE(readRealText("1.5", settings('.'), v));
  EXPECT_DOUBLE_EQ(v, 1.5);
  ASSERT_TRUE(readRealText("1,5", settings(','), v));
  EXPECT_DOUBLE_EQ(v, 1.5);
  ASSERT_TRUE(readRealText("1.5", settings(','), v));  // '.' ends the number
  EXPECT_DOUBLE_EQ(v, 1.0);
  ASSERT_TRUE(readRealText("1,5", settings('.'), v));
  EXPECT_DOUBLE_EQ(v, 1.0);
  ASSERT_TRUE(readRealText("12.5%", settings(), v));
  EXPECT_DOUBLE_EQ(v, 12.5);
  ASSERT_TRUE(readRealText(" -2e3", settings(), v));
  EXPECT_DOUBLE_EQ(v, -2000);
  EXPECT_FALSE(readRealText("-", settings(), v));
  EXPECT_FALSE(readRealText("", settings(), v));
  EXPECT_FALSE(readRealText("inf", settings(), v));
  EXPECT_FALSE(readRealText("nan", settings(), v));
  EXPECT_FALSE(readRealText("1e999", settings(), v));
}

TEST(ScanInteger, SixtyFourBitsAndNoWrap) {
  int64_t v = 0;
  ASSERT_TRUE(scanInteger("4915112345678", v));
  EXPECT_EQ(v, 4915112345678);
  ASSERT_TRUE(scanInteger("-12abc", v));
  EXPECT_EQ(v, -12);
  ASSERT_TRUE(scanInteger(" +7", v));
  EXPECT_EQ(v, 7);
  ASSERT_TRUE(scanInteger("99999999999999999999999", v));
  EXPECT_EQ(v, INT64_MAX);
  ASSERT_TRUE(scanInteger("-99999999999999999999999", v));
  EXPECT_EQ(v, INT64_MIN);
  ASSERT_TRUE(scanInteger("-9223372036854775808", v));
  EXPECT_EQ(v, INT64_MIN);
  // Around the eighteenth digit, where the checked accumulation takes over.
  ASSERT_TRUE(scanInteger("999999999999999999", v));
  EXPECT_EQ(v, 999999999999999999);
  ASSERT_TRUE(scanInteger("9223372036854775807", v));
  EXPECT_EQ(v, INT64_MAX);
  ASSERT_TRUE(scanInteger("9223372036854775808", v));
  EXPECT_EQ(v, INT64_MAX);
  ASSERT_TRUE(scanInteger("-9223372036854775809", v));
  EXPECT_EQ(v, INT64_MIN);
  ASSERT_TRUE(scanInteger("-000000000000000000000012x", v));
  EXPECT_EQ(v, -12);
  ASSERT_TRUE(scanInteger("08", v));  // decimal, not octal
  EXPECT_EQ(v, 8);
  EXPECT_FALSE(scanInteger("-", v));
  EXPECT_FALSE(scanInteger("x1", v));
  EXPECT_FALSE(scanInteger("", v));
}

TEST(Shapes, Tests) {
  EXPECT_TRUE(hasManyLetters(cellShape("abcd")));
  EXPECT_FALSE(hasManyLetters(cellShape("abc1")));
  EXPECT_TRUE(hasManyLetters(cellShape("Müll")));  // letters are characters
  EXPECT_TRUE(hasTwoDashes(cellShape("1-2-3")));
  EXPECT_TRUE(isDecimalShape(cellShape("1.5")));
  EXPECT_TRUE(isDecimalShape(cellShape("-.")));
  EXPECT_TRUE(isDecimalShape(cellShape("1,5 kg")));
  EXPECT_FALSE(isDecimalShape(cellShape("a1.5b")));  // two runs of letters
  EXPECT_FALSE(isDecimalShape(cellShape("15")));
  EXPECT_TRUE(isScientificShape(cellShape("1.5e3")));
  EXPECT_TRUE(isScientificShape(cellShape("1,5E-3")));
  EXPECT_FALSE(isScientificShape(cellShape("15e3")));
  EXPECT_TRUE(isCurrencyShape(cellShape("$5")));
  EXPECT_TRUE(isCurrencyShape(cellShape("5$")));
  EXPECT_TRUE(isCurrencyShape(cellShape("$ 5")));
  EXPECT_TRUE(isCurrencyShape(cellShape("5 $")));
  EXPECT_TRUE(isCurrencyShape(cellShape("EU 5")));
  EXPECT_TRUE(isCurrencyShape(cellShape("5 kg")));
  EXPECT_TRUE(isCurrencyShape(cellShape("USD 12")));
  EXPECT_FALSE(isCurrencyShape(cellShape("$-5")));  // no dash at all
  EXPECT_FALSE(isCurrencyShape(cellShape("$  5")));
  EXPECT_FALSE(isCurrencyShape(cellShape("5 €")));  // the euro sign is no letter
  EXPECT_FALSE(isCurrencyShape(cellShape("E 5")));
  EXPECT_EQ(cellShape("é5").letters, 1);
  EXPECT_EQ(cellShape("\xff\xfe").letters, 0);
  EXPECT_EQ(cellShape("\xff\xfe").characters, 2);
}

}  // namespace
}  // namespace vlm
