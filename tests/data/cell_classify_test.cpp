#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/cell_classify.h"
#include "data/support/data_test_support.h"

namespace vlm {
namespace {

using test::settings;

uint8_t columnType(const std::vector<std::string>& cells, const platform::RegionalSettings& r = settings()) {
  DataField f;
  f.analysisClass = AC_NONE;
  test::analyseColumn(f, cells, r);
  return f.type;
}

uint8_t classOf(const std::vector<std::string>& cells, const platform::RegionalSettings& r = settings()) {
  DataField f;
  f.analysisClass = AC_NONE;
  for (const std::string& c : cells) f.analysisClass = classifyCell(f, c, r);
  return f.analysisClass;
}

TEST(Classify, DocumentedColumns) {
  EXPECT_EQ(columnType({"1", "2", "x"}), FT_TEXT);
  EXPECT_EQ(columnType({"1", "2.5"}), FT_REAL);
  EXPECT_EQ(columnType({"2.5", "abcd"}), FT_TEXT);
  EXPECT_EQ(columnType({"1", "2", "n/a"}), FT_INTEGER);
  EXPECT_EQ(columnType({"1.5", "NULL"}), FT_REAL);
  EXPECT_EQ(columnType({"-", "-", "-"}), FT_INTEGER);
  EXPECT_EQ(columnType({"12.05.2003"}), FT_DATETIME);
  EXPECT_EQ(columnType({"3.14"}), FT_REAL);
  EXPECT_EQ(columnType({}), FT_NONE);
  EXPECT_EQ(columnType({"", ""}), FT_NONE);
}

TEST(Classify, SummaryStaysText) {
  EXPECT_EQ(columnType({"summary"}), FT_TEXT);
  EXPECT_EQ(columnType({"summary", "primary", "marmalade"}), FT_TEXT);
  EXPECT_EQ(columnType({"March"}), FT_TEXT);
}

TEST(Classify, NegativeRealsAreNoDates) {
  EXPECT_EQ(columnType({"-1.5", "-2.25", "-0.5"}), FT_REAL);
  EXPECT_EQ(columnType({"-7", "-12"}), FT_INTEGER);
}

TEST(Classify, TextIsFinal) {
  EXPECT_EQ(classOf({"abc", "1", "2.5", "1/5/2003"}), AC_TEXT);
}

TEST(Classify, MissingValuesKeepTheClass) {
  EXPECT_EQ(classOf({"1.5", "n/a"}), AC_REAL);
  EXPECT_EQ(classOf({"1/5/2003", "#NUM!"}), AC_DATETIME);
  EXPECT_EQ(classOf({"n/a"}), AC_NONE);
  EXPECT_EQ(classOf({"-"}), AC_INTEGER);
  EXPECT_EQ(classOf({"2.5", "-"}), AC_REAL);
}

TEST(Classify, IntegersThatDoNotFit32BitsMakeTheFieldReal) {
  EXPECT_EQ(columnType({"4915112345678"}), FT_REAL);
  EXPECT_EQ(columnType({"12", "4915112345678", "7"}), FT_REAL);
  EXPECT_EQ(columnType({"2147483647", "-2147483648"}), FT_INTEGER);
  EXPECT_EQ(columnType({"2147483648"}), FT_REAL);
  EXPECT_EQ(columnType({"-2147483649"}), FT_REAL);
  EXPECT_EQ(columnType({"1234567890123456"}), FT_TEXT);  // above 15 characters
}

TEST(Classify, IntegerFieldPaths) {
  EXPECT_EQ(classOf({"5", "$12"}), AC_REAL);
  EXPECT_EQ(classOf({"5", "1.5e3"}), AC_REAL);
  EXPECT_EQ(classOf({"5", "1-2-3"}), AC_TEXT);
  EXPECT_EQ(classOf({"5", "abcd"}), AC_TEXT);
  EXPECT_EQ(classOf({"5", "abc"}), AC_TEXT);
  EXPECT_EQ(classOf({"5", "-x"}), AC_INTEGER);
  EXPECT_EQ(classOf({"5", "1.5--"}), AC_TEXT);  // the dashes outrank the decimal shape
}

TEST(Classify, RealFieldPaths) {
  EXPECT_EQ(classOf({"1.5", "7"}), AC_REAL);
  EXPECT_EQ(classOf({"1.5", "abc"}), AC_TEXT);
  EXPECT_EQ(classOf({"1.5", "-x"}), AC_REAL);
  EXPECT_EQ(classOf({"1.5", "kg 5"}), AC_REAL);
  EXPECT_EQ(classOf({"1.5", "five"}), AC_TEXT);
}

TEST(Classify, OpenFieldPaths) {
  EXPECT_EQ(classOf({"$5"}), AC_REAL);
  EXPECT_EQ(classOf({".5"}), AC_REAL);
  EXPECT_EQ(classOf({"5 kg"}), AC_REAL);
  EXPECT_EQ(classOf({"abc"}), AC_TEXT);
  EXPECT_EQ(classOf({"x"}), AC_TEXT);
  EXPECT_EQ(classOf({"ab-1-2"}), AC_TEXT);
  EXPECT_EQ(classOf({"1234567890.12345"}), AC_TEXT);  // 16 characters
}

TEST(Classify, DatesAmongOtherCellsWithDigitsMakeTheFieldText) {
  // As integers the dates would read as 152003; as text every cell keeps its value.
  EXPECT_EQ(classOf({"1/5/2003", "7"}), AC_TEXT);
  EXPECT_EQ(classOf({"1/5/2003", "10:75"}), AC_TEXT);
  EXPECT_EQ(classOf({"1/5/2003", "abc"}), AC_TEXT);
  EXPECT_EQ(classOf({"1/5/2003", "-"}), AC_DATETIME);
  EXPECT_EQ(classOf({"1/5/2003", "-x"}), AC_DATETIME);  // no digit: a missing value
  EXPECT_EQ(classOf({"1/5/2003", "2/6/2004"}), AC_DATETIME);
}

TEST(Classify, DateOrderStateIsTheGreatestSeen) {
  DataField f;
  f.analysisClass = AC_NONE;
  const auto r = settings();
  f.analysisClass = classifyCell(f, "1/5/2003", r);
  EXPECT_EQ(f.dateOrderState, 1);
  f.analysisClass = classifyCell(f, "25/5/2003", r);
  EXPECT_EQ(f.dateOrderState, 2);
  f.analysisClass = classifyCell(f, "2/6/2003", r);
  EXPECT_EQ(f.dateOrderState, 2);
  EXPECT_EQ(f.analysisClass, AC_DATETIME);
  EXPECT_EQ(f.dateComponentMax[0], 25);
}

TEST(Classify, NumberFormatClassIsTheGreatestSeen) {
  DataField f;
  f.analysisClass = AC_NONE;
  const auto r = settings();
  f.analysisClass = classifyCell(f, "1,234", r);
  EXPECT_EQ(f.numberFormatClass, 0);
  f.analysisClass = classifyCell(f, "1.5", r);
  EXPECT_EQ(f.numberFormatClass, 1);
  f.analysisClass = classifyCell(f, "1.234.567", r);
  EXPECT_EQ(f.numberFormatClass, 2);
  f.analysisClass = classifyCell(f, "7", r);
  EXPECT_EQ(f.numberFormatClass, 2);
  f.analysisClass = classifyCell(f, "1,234.5", r);
  EXPECT_EQ(f.numberFormatClass, 3);
}

TEST(Classify, GarbageNeverCrashes) {
  DataField f;
  f.analysisClass = AC_NONE;
  const auto r = settings();
  std::string big(100000, 'q');
  f.analysisClass = classifyCell(f, big, r);
  EXPECT_EQ(f.analysisClass, AC_TEXT);
  DataField g;
  g.analysisClass = AC_NONE;
  std::string invalid;
  for (int i = 0; i < 1000; ++i) invalid.push_back(static_cast<char>(0x80 + (i % 0x7F)));
  g.analysisClass = classifyCell(g, invalid, r);
  EXPECT_EQ(g.analysisClass, AC_TEXT);
  DataField h;
  h.analysisClass = AC_NONE;
  h.analysisClass = classifyCell(h, std::string(5000, '/'), r);
  EXPECT_EQ(h.analysisClass, AC_TEXT);
}

TEST(Classify, FreeFieldRecordsStartFromNothing) {
  DataField f;  // analysis class 255
  EXPECT_EQ(classifyCell(f, "7", settings()), AC_INTEGER);
}

// Plain numbers in number fields take a shorter road through the typing;
// for every start state of a field it must end where the full rules end.
TEST(Classify, PlainNumbersTypeAsTheFullRulesTypeThem) {
  const std::vector<std::string> texts = {"0", "12", "123456789", "1234567890", "4915112345678", "12.5", "1.2345",
                                          "12345678.25", "123456789012.5", "0.0001", "99.99", "12.345", "-3",
                                          "text", "n/a", "-", "2003-01-05", "2003-13-05", "0003-01-05", "1,234", "7.0",
                                          "3.14159", "0.5", "100", "12.34567890"};
  for (const auto& regional : {settings('.'), settings(',')}) {
    for (uint8_t start : {AC_NONE, AC_TEXT, AC_INTEGER, AC_REAL, AC_DATETIME}) {
      for (NumberFormatClass k = 0; k <= 3; ++k) {
        for (const std::string& text : texts) {
          DataField a, b;
          a.analysisClass = b.analysisClass = start;
          a.numberFormatClass = b.numberFormatClass = k;
          // Maxima that let a year-first date be one, and maxima that do not.
          a.dateComponentMax[1] = b.dateComponentMax[1] = k == 3 ? 20 : 5;
          const uint8_t fast = classifyCell(a, text, regional);
          const uint8_t full = classifyCellInFull(b, text, regional);
          ASSERT_EQ(fast, full) << text << " from " << int{start} << " class " << k;
          ASSERT_EQ(a.numberFormatClass, b.numberFormatClass) << text;
          ASSERT_EQ(a.dateOrderState, b.dateOrderState) << text;
          for (int i = 0; i < 3; ++i) ASSERT_EQ(a.dateComponentMax[i], b.dateComponentMax[i]) << text;
        }
      }
    }
  }
}

}  // namespace
}  // namespace vlm
