#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/calculator_record.h"
#include "model/support/model_world.h"
#include "tools/calculator/calculator_menu.h"
#include "tools/calculator/calculator_results.h"
#include "tools/calculator/calculator_rows.h"
#include "tools/calculator/calculator_stats.h"
#include "tools/calculator/exact_sum.h"

namespace vlm::calculator {
namespace {

using test::addIntegerField;
using test::addRealField;
using test::addTextField;
using test::setRows;

// A table, the Calculator's rows and the selection flags, calculated as the
// engine does.
class CalculatorTest : public ::testing::Test {
 protected:
  void rows(int32_t n) {
    setRows(table, n);
    flags.assign(static_cast<size_t>(n), 1);
  }
  void calculate() {
    updateStats(stats, table, flags, generation, fieldNeeds(rec, table));
    formatResults(rec, stats, table, regional);
  }
  std::string result(int32_t row) const { return rec.rows[static_cast<size_t>(row)].result; }
  // The same rows calculated afresh over the current flags, as a new
  // Calculator would show them.
  std::vector<std::string> resultsAfresh() {
    CalculatorRecord fresh;
    for (int32_t r = 0; r < rec.count; ++r) addRow(fresh, table, field(r), function(r));
    CalculatorStats afresh;
    updateStats(afresh, table, flags, generation, fieldNeeds(fresh, table));
    formatResults(fresh, afresh, table, regional);
    std::vector<std::string> results;
    for (int32_t r = 0; r < rec.count; ++r) results.push_back(fresh.rows[static_cast<size_t>(r)].result);
    return results;
  }
  std::string label(int32_t row) const { return rec.rows[static_cast<size_t>(row)].label; }
  int32_t function(int32_t row) const { return calcFunction(rec.rows[static_cast<size_t>(row)]); }
  int32_t field(int32_t row) const { return rec.rows[static_cast<size_t>(row)].field; }

  DataTable table;
  CalculatorRecord rec;
  CalculatorStats stats;
  std::vector<uint8_t> flags;
  uint64_t generation = 1;
  platform::RegionalSettings regional;
};

TEST_F(CalculatorTest, NothingSelectedShowsNotAvailableEverywhere) {
  rows(3);
  const int32_t f = addIntegerField(table, "Price", {1, 2, 3});
  addRow(rec, table, -1, CALC_COUNT);
  addRow(rec, table, -1, CALC_PERCENT);
  addRow(rec, table, f, CALC_SUM);
  flags.assign(3, 0);
  calculate();
  for (int32_t r = 0; r < 3; ++r) EXPECT_EQ(result(r), "N/A") << r;
}

TEST_F(CalculatorTest, CountAndPercentOfTheSelection) {
  rows(8);
  addRow(rec, table, -1, CALC_COUNT);
  addRow(rec, table, -1, CALC_PERCENT);
  calculate();
  EXPECT_EQ(result(0), "8");
  EXPECT_EQ(result(1), "100%");
  flags = {0, 0, 1, 0, 0, 0, 0, 0};
  calculate();
  EXPECT_EQ(result(0), "1");
  EXPECT_EQ(result(1), "12.5%");
  flags = {1, 1, 1, 0, 0, 0, 0, 0};
  calculate();
  EXPECT_EQ(result(1), "37.5%");
}

TEST_F(CalculatorTest, IntegerAverageDividesWholeNumbersRealAverageDoesNot) {
  rows(2);
  const int32_t i = addIntegerField(table, "Int", {1, 2});
  const int32_t r = addRealField(table, "Real", {1.0f, 2.0f});
  addRow(rec, table, i, CALC_AVERAGE);
  addRow(rec, table, r, CALC_AVERAGE);
  calculate();
  EXPECT_EQ(result(0), "1");
  EXPECT_EQ(result(1), "1.5");
}

TEST_F(CalculatorTest, IntegerSumsDoNotWrapAt32Bits) {
  rows(3);
  const int32_t f = addIntegerField(table, "Big", {2147483647, 2147483647, 10});
  addRow(rec, table, f, CALC_SUM);
  addRow(rec, table, f, CALC_AVERAGE);
  calculate();
  EXPECT_EQ(result(0), "4,294,967,304");
  EXPECT_EQ(result(1), "1,431,655,768");
  const int32_t g = addIntegerField(table, "Low", {-2147483647 - 1, -2147483647 - 1, -5});
  addRow(rec, table, g, CALC_SUM);
  calculate();
  EXPECT_EQ(result(2), "-4,294,967,301");
}

TEST_F(CalculatorTest, AverageIsTheMeanOfTheValuesPresent) {
  rows(3);
  const int32_t i = addIntegerField(table, "Int", {2, std::nullopt, 4});
  const int32_t r = addRealField(table, "Real", {2.0f, std::nullopt, 5.0f});
  addRow(rec, table, -1, CALC_COUNT);
  addRow(rec, table, i, CALC_AVERAGE);
  addRow(rec, table, r, CALC_AVERAGE);
  addRow(rec, table, i, CALC_SUM);
  calculate();
  EXPECT_EQ(result(0), "3");  // Count keeps every selected sample
  EXPECT_EQ(result(1), "3");
  EXPECT_EQ(result(2), "3.5");
  EXPECT_EQ(result(3), "6");
}

TEST_F(CalculatorTest, NoValueAtAllShowsNotAvailableForMinMaxAndAverage) {
  rows(3);
  const int32_t i = addIntegerField(table, "Int", {std::nullopt, 7, std::nullopt});
  const int32_t r = addRealField(table, "Real", {std::nullopt, 1.5f, std::nullopt});
  for (int32_t fn : {CALC_MIN, CALC_MAX, CALC_AVERAGE, CALC_SUM}) addRow(rec, table, i, fn);
  for (int32_t fn : {CALC_MIN, CALC_MAX, CALC_AVERAGE, CALC_SUM}) addRow(rec, table, r, fn);
  flags = {1, 0, 1};
  calculate();
  EXPECT_EQ(result(0), "N/A");
  EXPECT_EQ(result(1), "N/A");
  EXPECT_EQ(result(2), "N/A");
  EXPECT_EQ(result(3), "0");
  EXPECT_EQ(result(4), "N/A");
  EXPECT_EQ(result(7), "0");
  flags = {1, 1, 1};
  calculate();
  EXPECT_EQ(result(0), "7");
  EXPECT_EQ(result(1), "7");
  EXPECT_EQ(result(4), "1.5");
}

TEST_F(CalculatorTest, RealsShowThreeDecimalsGroupedInTheRegionsWay) {
  rows(2);
  const int32_t r = addRealField(table, "Real", {1234567.125f, 0.0004f});
  addRow(rec, table, r, CALC_SUM);
  addRow(rec, table, r, CALC_MIN);
  addRow(rec, table, r, CALC_MAX);
  calculate();
  EXPECT_EQ(result(0), "1,234,567.125");
  EXPECT_EQ(result(1), "0");  // 0.000 trimmed
  EXPECT_EQ(result(2), "1,234,567.125");
  regional.decimalSeparator = ',';
  calculate();
  EXPECT_EQ(result(0), "1.234.567,125");
}

TEST_F(CalculatorTest, OtherFieldTypesAndMissingFieldsShowNotAvailable) {
  rows(2);
  const int32_t t = addTextField(table, "Name", {"a", "b"});
  addRow(rec, table, t, CALC_SUM);
  calculate();
  EXPECT_EQ(result(0), "N/A");
  EXPECT_EQ(label(0), "Sum (Name) =");
}

TEST_F(CalculatorTest, AddingARowNormalisesFieldAndFunction) {
  rows(1);
  addIntegerField(table, "First", {1});
  addIntegerField(table, "Second", {2});
  EXPECT_TRUE(addRow(rec, table, -5, CALC_SUM));
  EXPECT_EQ(field(0), 0);
  EXPECT_TRUE(addRow(rec, table, 99, CALC_MAX));
  EXPECT_EQ(field(1), 0);
  EXPECT_TRUE(addRow(rec, table, 1, CALC_COUNT));
  EXPECT_EQ(field(2), -1);
  EXPECT_EQ(label(2), "Count =");
  EXPECT_TRUE(addRow(rec, table, 1, 42));
  EXPECT_EQ(function(3), CALC_AVERAGE);
  EXPECT_EQ(label(3), "Average (Second) =");
  EXPECT_TRUE(addRow(rec, table, 1, -3));
  EXPECT_EQ(function(4), CALC_COUNT);
  while (rec.count < kCalculatorRowCapacity) ASSERT_TRUE(addRow(rec, table, 0, CALC_SUM));
  EXPECT_FALSE(addRow(rec, table, 0, CALC_SUM));  // a 37th row does nothing
  EXPECT_EQ(rec.count, 36);
}

TEST_F(CalculatorTest, LabelsKeep127Bytes) {
  rows(1);
  const std::string longName = std::string(120, 'x') + "\u00e9\u00e9\u00e9\u00e9";
  addIntegerField(table, longName.c_str(), {1});
  addRow(rec, table, 0, CALC_AVERAGE);
  EXPECT_LE(label(0).size(), 127u);
  EXPECT_EQ(label(0).substr(0, 10), "Average (x");
  // Never a broken character at the end.
  const std::string& l = rec.rows[0].label;
  EXPECT_NE(static_cast<unsigned char>(l.back()) & 0xC0, 0xC0);
}

TEST_F(CalculatorTest, DefaultSetByFieldCount) {
  rows(1);
  for (int i = 0; i < 7; ++i) addIntegerField(table, ("F" + std::to_string(i)).c_str(), {i});
  buildDefaultRows(rec, table, false);
  ASSERT_EQ(rec.count, 2 + 7 * 4);
  EXPECT_EQ(label(2), "Sum (F0) =");
  EXPECT_EQ(label(3), "Average (F0) =");
  EXPECT_EQ(label(4), "Min (F0) =");
  EXPECT_EQ(label(5), "Max (F0) =");

  addTextField(table, "Text", {"t"});  // 8 fields: Sum and Average
  buildDefaultRows(rec, table, true);
  EXPECT_EQ(rec.count, 2 + 7 * 2);
  EXPECT_TRUE(calcSpoken(rec.rows[0]));
  EXPECT_EQ(spokenRow(rec), 0);
}

TEST_F(CalculatorTest, DefaultSetWithSixteenOrMoreFieldsHasOneSumPerNumericField) {
  rows(1);
  for (int i = 0; i < 50; ++i) {  // 40 numeric fields
    if (i % 5 == 4)
      addTextField(table, ("T" + std::to_string(i)).c_str(), {"x"});
    else
      addRealField(table, ("R" + std::to_string(i)).c_str(), {1.0f});
  }
  buildDefaultRows(rec, table, false);
  ASSERT_EQ(rec.count, 36);  // Count, Percent and 34 sums: the rows are full
  EXPECT_EQ(label(0), "Count =");
  EXPECT_EQ(label(1), "Percent =");
  for (int32_t r = 2; r < 36; ++r) EXPECT_EQ(function(r), CALC_SUM) << r;
  EXPECT_EQ(label(2), "Sum (R0) =");
  EXPECT_EQ(label(6), "Sum (R5) =");  // the text field T4 is passed over
}

TEST_F(CalculatorTest, RemovingRows) {
  rows(1);
  addIntegerField(table, "A", {1});
  addIntegerField(table, "B", {1});
  addRow(rec, table, -1, CALC_COUNT);
  addRow(rec, table, 0, CALC_SUM);
  addRow(rec, table, 1, CALC_SUM);
  addRow(rec, table, 0, CALC_MAX);
  addRow(rec, table, -1, CALC_PERCENT);
  removeRowsOfField(rec, 1);
  ASSERT_EQ(rec.count, 3);
  EXPECT_EQ(label(1), "Sum (B) =");
  removeRow(rec, 0);
  EXPECT_EQ(label(0), "Sum (B) =");
  EXPECT_EQ(label(1), "Percent =");
  removeRow(rec, 7);  // no such row
  EXPECT_EQ(rec.count, 2);
  removeAllRows(rec);
  EXPECT_EQ(rec.count, 0);
}

TEST_F(CalculatorTest, SpeakingIsOneRowAtATime) {
  rows(1);
  addRow(rec, table, -1, CALC_COUNT);
  addRow(rec, table, -1, CALC_PERCENT);
  EXPECT_TRUE(toggleSpoken(rec, 1));
  EXPECT_TRUE(toggleSpoken(rec, 0));
  EXPECT_EQ(spokenRow(rec), 0);
  EXPECT_FALSE(toggleSpoken(rec, 0));  // the spoken row stops speaking
  EXPECT_EQ(spokenRow(rec), -1);
}

TEST_F(CalculatorTest, RowsFollowTheirFieldsToANewTable) {
  rows(1);
  addIntegerField(table, "A", {1});
  addRealField(table, "B", {1.0f});
  addRow(rec, table, -1, CALC_COUNT);
  addRow(rec, table, 1, CALC_MAX);
  DataTable next;
  setRows(next, 1);
  addTextField(next, "C", {"x"});
  addRealField(next, "B", {2.0f});
  fitRowsToTable(rec, next, false);
  ASSERT_EQ(rec.count, 2);
  EXPECT_EQ(field(1), 1);
  EXPECT_EQ(label(1), "Max (B) =");

  // A table without the field: its rows go and the default set comes.
  DataTable other;
  setRows(other, 1);
  addIntegerField(other, "Z", {1});
  fitRowsToTable(rec, other, false);
  EXPECT_EQ(rec.count, 6);
  EXPECT_EQ(label(2), "Sum (Z) =");
}

// The statistics kept from step to step equal those taken afresh.
TEST_F(CalculatorTest, StepByStepEqualsAfresh) {
  const int32_t n = 5000;
  rows(n);
  std::mt19937 rng(7);
  std::vector<std::optional<int32_t>> ints(n);
  std::vector<std::optional<float>> reals(n);
  for (int32_t i = 0; i < n; ++i) {
    if (rng() % 10) ints[static_cast<size_t>(i)] = static_cast<int32_t>(rng() % 200001) - 100000;
    if (rng() % 10) reals[static_cast<size_t>(i)] = static_cast<float>(static_cast<int32_t>(rng() % 2000001) - 1000000) / 997.0f;
  }
  const int32_t fi = addIntegerField(table, "I", ints);
  const int32_t fr = addRealField(table, "R", reals);
  for (int32_t fn = CALC_COUNT; fn <= CALC_AVERAGE; ++fn) {
    addRow(rec, table, fi, fn);
    addRow(rec, table, fr, fn);
  }
  for (int step = 0; step < 60; ++step) {
    // Narrow, widen, or change a scattered part of the selection.
    const uint32_t kind = rng() % 3;
    for (int32_t i = 0; i < n; ++i) {
      if (kind == 0 && rng() % 7 == 0) flags[static_cast<size_t>(i)] = 0;
      if (kind == 1 && rng() % 5 == 0) flags[static_cast<size_t>(i)] = 1;
      if (kind == 2 && rng() % 50 == 0) flags[static_cast<size_t>(i)] = static_cast<uint8_t>(rng() % 2 ? 6 : 0);
    }
    calculate();
    const std::vector<std::string> fresh = resultsAfresh();
    for (int32_t r = 0; r < rec.count; ++r)
      ASSERT_EQ(result(r), fresh[static_cast<size_t>(r)]) << "step " << step << " row " << label(r);
  }
}

TEST_F(CalculatorTest, ANewTableGenerationStartsOver) {
  rows(3);
  const int32_t f = addIntegerField(table, "A", {1, 2, 3});
  addRow(rec, table, f, CALC_SUM);
  calculate();
  EXPECT_EQ(result(0), "6");
  table.fields[static_cast<size_t>(f)].cells[0].value.i = 10;  // as a new load would
  ++generation;
  calculate();
  EXPECT_EQ(result(0), "15");
}

TEST(ExactSumTest, OrderAndRemovalLeaveNoTrace) {
  ExactSum a, b;
  const float values[] = {1e30f, 0.1f, -1e30f, 3.25f, 1e-40f, -0.1f, 7.0f};
  for (float v : values) a.add(v);
  for (int i = 6; i >= 0; --i) b.add(values[i]);
  EXPECT_TRUE(a == b);
  EXPECT_DOUBLE_EQ(a.value(), 10.25 + 1e-40);
  b.add(123.5f);
  b.subtract(123.5f);
  EXPECT_TRUE(a == b);
  ExactSum c;
  for (int i = 0; i < 10; ++i) c.add(0.1f);
  EXPECT_DOUBLE_EQ(c.value(), 10.0 * static_cast<double>(0.1f));
  ExactSum empty;
  EXPECT_EQ(empty.value(), 0.0);
}

TEST(ExactSumTest, ABatchSumsAsValueByValueDoes) {
  std::mt19937 rng(3);
  std::vector<float> values = {1e30f, -1e30f, 1e-40f, -1e-45f, 3.4e38f, 3.4e38f, -0.0f, 0.1f, 16777215.0f};
  for (int i = 0; i < 20000; ++i) {
    uint32_t bits = rng();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
  }
  ExactSum one, batched;
  ExactSumBatch given, taken;
  for (size_t i = 0; i < values.size(); ++i) {
    one.add(values[i]);
    given.add(values[i]);
    if (i % 3 == 0) {
      one.subtract(values[i]);
      taken.add(values[i]);
    }
  }
  given.addTo(batched);
  taken.subtractFrom(batched);
  EXPECT_TRUE(one == batched);
  EXPECT_EQ(one.value(), batched.value());
}

// Selections over a table wide and long enough that a calculation is shared
// by both cores: step by step and afresh still agree on every row.
TEST_F(CalculatorTest, LargeStepsSharedByTwoThreadsEqualAfresh) {
  const int32_t n = 60000;
  rows(n);
  std::mt19937 rng(5);
  for (int k = 0; k < 4; ++k) {  // 32 rows
    std::vector<std::optional<int32_t>> ints(n);
    std::vector<std::optional<float>> reals(n);
    for (int32_t i = 0; i < n; ++i) {
      if (rng() % 20) ints[static_cast<size_t>(i)] = static_cast<int32_t>(rng() % 2000001) - 1000000;
      if (rng() % 20) reals[static_cast<size_t>(i)] = static_cast<float>(static_cast<int32_t>(rng() % 2000001) - 1000000) / 7.0f;
    }
    const int32_t fi = addIntegerField(table, ("I" + std::to_string(k)).c_str(), ints);
    const int32_t fr = addRealField(table, ("R" + std::to_string(k)).c_str(), reals);
    for (int32_t fn : {CALC_MIN, CALC_MAX, CALC_SUM, CALC_AVERAGE}) {
      addRow(rec, table, fi, fn);
      addRow(rec, table, fr, fn);
    }
  }
  for (int step = 0; step < 8; ++step) {
    // Half the samples change, or nearly all go and come back.
    for (int32_t i = 0; i < n; ++i) {
      if (step % 4 == 3)
        flags[static_cast<size_t>(i)] = static_cast<uint8_t>(i == step ? 1 : 0);
      else if (rng() % 2)
        flags[static_cast<size_t>(i)] = static_cast<uint8_t>(1 - flags[static_cast<size_t>(i)]);
    }
    calculate();
    const std::vector<std::string> fresh = resultsAfresh();
    for (int32_t r = 0; r < rec.count; ++r)
      ASSERT_EQ(result(r), fresh[static_cast<size_t>(r)]) << "step " << step << " row " << label(r);
  }
}

// The statistics themselves, not only their printed digits: kept step by
// step, whether the changed samples are listed or every sample is read in
// order, they equal those taken afresh, for integers at both ends of their
// range and reals whose exponents lie close together, exactly 26 apart, far
// apart (subnormals too) or that hold an infinite value.
TEST_F(CalculatorTest, EveryKindOfStepKeepsTheExactStatistics) {
  const int32_t n = 20003;  // not a whole number of 64-sample words
  rows(n);
  std::mt19937 rng(9);
  std::vector<std::optional<int32_t>> ints(n);
  std::vector<std::optional<float>> close(n), span26(n), apart(n), infinite(n);
  const float apartValues[] = {1e-30f, -3e30f, 1e-44f, 2.5f, -7e-39f, 1e30f};
  for (int32_t i = 0; i < n; ++i) {
    const auto s = static_cast<size_t>(i);
    const uint32_t r = rng();
    if (r % 13) ints[s] = r % 7 == 0 ? (r % 2 ? 2147483647 : -2147483647 - 1) : static_cast<int32_t>(r % 2001) - 1000;
    if (r % 11) close[s] = static_cast<float>(static_cast<int32_t>(r % 2000001) - 1000000) / 997.0f;
    if (r % 9) span26[s] = r % 3 == 0 ? 1.0f : (r % 3 == 1 ? -100663296.0f : 0.0f);  // 2^0 and 1.5 x 2^26
    if (r % 8) apart[s] = apartValues[r % 6] * static_cast<float>(1 + r % 5);
    infinite[s] = i == 77 ? std::numeric_limits<float>::infinity() : static_cast<float>(r % 100) / 8.0f;
  }
  const int32_t fi = addIntegerField(table, "I", ints);
  const int32_t fields[] = {fi, addRealField(table, "Close", close), addRealField(table, "Span26", span26),
                            addRealField(table, "Apart", apart), addRealField(table, "Infinite", infinite)};
  for (const int32_t f : fields) addRow(rec, table, f, CALC_SUM);
  addRow(rec, table, fi, CALC_MIN);  // extremes followed for two fields only
  addRow(rec, table, fields[3], CALC_MAX);

  const auto expectSame = [&](const std::string& step) {
    CalculatorStats afresh;
    std::vector<FieldNeed> all;
    for (const int32_t f : fields) all.push_back({f, true, true});
    updateStats(afresh, table, flags, generation, all);
    ASSERT_EQ(stats.selectedCount, afresh.selectedCount) << step;
    for (const FieldNeed& need : fieldNeeds(rec, table)) {
      const CalculatorStats::Field* kept = fieldStats(stats, need.field);
      const CalculatorStats::Field* fresh = fieldStats(afresh, need.field);
      ASSERT_TRUE(kept && fresh) << step;
      EXPECT_EQ(kept->count, fresh->count) << step << " field " << need.field;
      EXPECT_EQ(kept->integerSum, fresh->integerSum) << step << " field " << need.field;
      EXPECT_TRUE(kept->realSum == fresh->realSum) << step << " field " << need.field;
      if (need.least) {
        EXPECT_EQ(kept->integerLeast, fresh->integerLeast) << step;
        EXPECT_EQ(kept->realLeast, fresh->realLeast) << step;
      }
      if (need.greatest) {
        EXPECT_EQ(kept->integerGreatest, fresh->integerGreatest) << step;
        EXPECT_EQ(kept->realGreatest, fresh->realGreatest) << step;
      }
    }
  };
  calculate();
  expectSame("first");
  // Shares of samples changed per step, below and above the point where
  // reading every sample takes over from a list, and all or none selected.
  const double shares[] = {0.001, 0.05, 0.12, 0.13, 0.3, 0.5, 1.0, -1.0, 0.5, 0.2, 2.0, 0.01, 0.9};
  for (const double share : shares) {
    for (int32_t i = 0; i < n; ++i) {
      auto& flag = flags[static_cast<size_t>(i)];
      if (share < 0)
        flag = 0;
      else if (share > 1)
        flag = 1;
      else if (static_cast<double>(rng()) / 4294967296.0 < share)
        flag = static_cast<uint8_t>(flag ? 0 : 3);
    }
    calculate();
    expectSame("share " + std::to_string(share));
  }
  // A field whose extremes were not followed finds them when a row asks.
  flags.assign(static_cast<size_t>(n), 0);
  for (int32_t i = 0; i < n; i += 3) flags[static_cast<size_t>(i)] = 1;
  calculate();
  addRow(rec, table, fields[1], CALC_MIN);
  addRow(rec, table, fields[2], CALC_MAX);
  calculate();
  expectSame("extremes asked later");
}

TEST(CalculatorMenuTest, ChecksAndGreyedItems) {
  const std::vector<std::string> fields = {"A", "B"};
  auto find = [](const tools::Menu& menu, int32_t id) { return tools::findCommand(menu, id); };
  MenuRowState onRow{3, 1, CALC_MAX, 1, true};
  auto menu = calculatorMenu(onRow, fields);
  EXPECT_TRUE(find(menu, MENU_FUNCTION_FIRST + CALC_MAX)->checked);
  EXPECT_FALSE(find(menu, MENU_FUNCTION_FIRST + CALC_MIN)->checked);
  EXPECT_TRUE(find(menu, MENU_FIELD_FIRST + 1)->checked);
  EXPECT_EQ(find(menu, MENU_FIELD_FIRST + 1)->text, "B");
  EXPECT_TRUE(find(menu, MENU_SPEAK)->checked);
  EXPECT_TRUE(find(menu, MENU_REMOVE_THIS)->enabled);

  MenuRowState offRow{3, -1, -1, -1, false};
  menu = calculatorMenu(offRow, fields);
  EXPECT_FALSE(find(menu, MENU_REMOVE_THIS)->enabled);
  EXPECT_TRUE(find(menu, MENU_REMOVE_ALL)->enabled);
  EXPECT_FALSE(find(menu, MENU_SPEAK)->checked);

  MenuRowState empty{0, -1, -1, -1, false};
  menu = calculatorMenu(empty, fields);
  EXPECT_FALSE(find(menu, MENU_REMOVE_ALL)->enabled);
  EXPECT_FALSE(find(menu, MENU_REMOVE_VARIABLE)->enabled);
  EXPECT_TRUE(find(menu, MENU_DEFAULT)->enabled);
  // The texts of the menu.
  EXPECT_EQ(menu.items[0].text, "&Default");
  EXPECT_EQ(menu.items[1].text, "&Remove");
  EXPECT_EQ(menu.items[3].text, "Method");
  EXPECT_EQ(menu.items[3].items[3].text, "Ma&x");
  EXPECT_EQ(menu.items[4].text, "Variable");
  EXPECT_EQ(menu.items[6].text, "&Speak");
}

}  // namespace
}  // namespace vlm::calculator
