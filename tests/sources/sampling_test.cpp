#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "sources/load_control.h"
#include "sources/progress.h"
#include "sources/sampling.h"

namespace vlm {
namespace {

std::vector<int32_t> rowsOf(const SamplingPlan& plan, int32_t sourceRows) {
  std::vector<int32_t> rows;
  for (int32_t r = nextSourceRow(plan, -1); r != kSamplingEnd && r < sourceRows; r = nextSourceRow(plan, r))
    rows.push_back(r);
  return rows;
}

TEST(Sampling, AllRecords) {
  SamplingPlan plan;
  EXPECT_EQ(rowsOf(plan, 4), (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST(Sampling, EachThree) {
  SamplingPlan plan;
  plan.method = SAMPLE_EACH;
  plan.each = 3;
  EXPECT_EQ(rowsOf(plan, 10), (std::vector<int32_t>{0, 3, 6, 9}));
}

TEST(Sampling, EachAndStepOfZeroOrLessStillAdvance) {
  SamplingPlan plan;
  plan.method = SAMPLE_EACH;
  plan.each = 0;
  EXPECT_EQ(rowsOf(plan, 3), (std::vector<int32_t>{0, 1, 2}));
  plan.method = SAMPLE_RANGE;
  plan.from = 1;
  plan.to = 3;
  plan.step = -4;
  EXPECT_EQ(rowsOf(plan, 10), (std::vector<int32_t>{1, 2, 3}));
}

TEST(Sampling, FromToStep) {
  SamplingPlan plan;
  plan.method = SAMPLE_RANGE;
  plan.from = 10;
  plan.to = 20;
  plan.step = 5;
  EXPECT_EQ(rowsOf(plan, 1000), (std::vector<int32_t>{10, 15, 20}));
  plan.to = 22;
  EXPECT_EQ(rowsOf(plan, 1000), (std::vector<int32_t>{10, 15, 20}));
  // A row below from is the end.
  EXPECT_EQ(nextSourceRow(plan, 5), kSamplingEnd);
  plan.from = 30;
  EXPECT_EQ(nextSourceRow(plan, -1), kSamplingEnd);
}

TEST(Sampling, RandomListFollowsItsEntries) {
  SamplingPlan plan;
  plan.method = SAMPLE_RANDOM;
  plan.sampleList = {2, 5, 7, kSampleListEnd};
  EXPECT_EQ(rowsOf(plan, 100), (std::vector<int32_t>{2, 5, 7}));
  plan.sampleList = {kSampleListEnd};
  EXPECT_EQ(nextSourceRow(plan, -1), kSamplingEnd);
}

TEST(Sampling, SampleCount) {
  EXPECT_EQ(sampleCountFor(1000, 10), 100);
  EXPECT_EQ(sampleCountFor(15, 10), 2);  // 1.5 + 0.5
  EXPECT_EQ(sampleCountFor(10, 100), 10);
  EXPECT_EQ(sampleCountFor(0, 50), 0);
}

TEST(Sampling, PercentTenOfAThousandDrawsAHundredDistinctRows) {
  for (uint64_t seed : {1u, 2u, 3u}) {
    const auto list = drawSampleList(1000, sampleCountFor(1000, 10), seed);
    ASSERT_EQ(list.size(), 101u);
    EXPECT_EQ(list.back(), kSampleListEnd);
    const std::set<int32_t> distinct(list.begin(), list.end() - 1);
    EXPECT_EQ(distinct.size(), 100u);
    EXPECT_GE(*distinct.begin(), 0);
    EXPECT_LT(*distinct.rbegin(), 1000);
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end() - 1));
  }
}

TEST(Sampling, LargeSharesOfLargeSourcesAreDrawnQuickly) {
  const auto start = std::chrono::steady_clock::now();
  // 1 000 000 rows at 10 % asks for more picks than a 15-bit generator has values.
  const auto list = drawSampleList(1000000, sampleCountFor(1000000, 10), 42);
  ASSERT_EQ(list.size(), 100001u);
  EXPECT_TRUE(std::adjacent_find(list.begin(), list.end() - 1, std::greater_equal<int32_t>()) == list.end() - 1);
  EXPECT_LT(list[list.size() - 2], 1000000);
  const auto all = drawSampleList(50000, 50000, 7);
  for (int32_t i = 0; i < 50000; ++i) ASSERT_EQ(all[static_cast<size_t>(i)], i);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(Sampling, DrawsCoverTheWholeRange) {
  // Every row, the last included, is drawn sometimes.
  std::vector<int> hits(10, 0);
  for (uint64_t seed = 0; seed < 400; ++seed)
    for (int32_t r : drawSampleList(10, 1, seed))
      if (r >= 0) ++hits[static_cast<size_t>(r)];
  for (int h : hits) EXPECT_GT(h, 10);
}

TEST(Progress, PositionsAreReducedIntoTheRange) {
  EXPECT_EQ(reduceProgress(50, 100), 50);
  EXPECT_EQ(reduceProgress(100, 100), 100);
  EXPECT_EQ(reduceProgress(130, 100), 30);
  EXPECT_EQ(reduceProgress(200, 100), 100);
  EXPECT_EQ(reduceProgress(5, 0), 0);
}

TEST(LoadControlRules, WhenTheDialogIsDue) {
  LoadControl s;
  s.limit = 1000;
  EXPECT_FALSE(loadControlNeeded(s, 1000));
  EXPECT_TRUE(loadControlNeeded(s, 1001));
  s.samplingAccepted = 1;
  EXPECT_FALSE(loadControlNeeded(s, 1001));
  s.withControl = 1;
  EXPECT_TRUE(loadControlNeeded(s, 5));
}

TEST(LoadControlRules, EffectiveMethod) {
  LoadControl s;
  s.limit = 1000;
  s.method = SAMPLE_RANDOM;
  EXPECT_EQ(effectiveMethodFor(s, 1000), SAMPLE_ALL);
  EXPECT_EQ(effectiveMethodFor(s, 1001), SAMPLE_RANDOM);
}

TEST(LoadControlRules, MessageText) { EXPECT_EQ(loadControlMessage(1001), "There is 1001 rows to load!\n"); }

TEST(LoadControlRules, PercentIsClamped) {
  LoadControl s;
  LoadControlAnswer a;
  a.ok = true;
  a.method = SAMPLE_RANDOM;
  a.limit = "500";
  a.percent = "0";
  EXPECT_EQ(applyLoadControlAnswer(s, a), LoadControlOutcome::Accepted);
  EXPECT_EQ(s.percent, 1);
  a.percent = "250";
  applyLoadControlAnswer(s, a);
  EXPECT_EQ(s.percent, 100);
  a.percent = "-3";
  applyLoadControlAnswer(s, a);
  EXPECT_EQ(s.percent, 1);
}

TEST(LoadControlRules, OkStoresTheBoxesOfTheMethod) {
  LoadControl s;
  s.withControl = 1;
  LoadControlAnswer a;
  a.ok = true;
  a.method = SAMPLE_RANGE;
  a.limit = " 2000 ";
  a.from = "10";
  a.to = "20";
  a.step = "0";
  a.each = "99";
  EXPECT_EQ(applyLoadControlAnswer(s, a), LoadControlOutcome::Accepted);
  EXPECT_EQ(s.method, SAMPLE_RANGE);
  EXPECT_EQ(s.limit, 2000);
  EXPECT_EQ(s.from, 10);
  EXPECT_EQ(s.to, 20);
  EXPECT_EQ(s.step, 1);
  EXPECT_EQ(s.each, 10);  // not a box of this method
  EXPECT_EQ(s.samplingAccepted, 1);
  EXPECT_EQ(s.withControl, 0);
}

TEST(LoadControlRules, ABoxWithoutANumberEndsLikeCancel) {
  LoadControl s;
  LoadControlAnswer a;
  a.ok = true;
  a.method = SAMPLE_EACH;
  a.each = "three";
  EXPECT_EQ(applyLoadControlAnswer(s, a), LoadControlOutcome::Rejected);
  EXPECT_EQ(s.samplingAccepted, 0);
  a.ok = false;
  EXPECT_EQ(applyLoadControlAnswer(s, a), LoadControlOutcome::Cancelled);
}

TEST(LoadControlRules, BoxesOfTheSelectedMethodOnly) {
  EXPECT_TRUE(loadControlBoxEnabled(SAMPLE_EACH, LoadControlBox::Each));
  EXPECT_FALSE(loadControlBoxEnabled(SAMPLE_EACH, LoadControlBox::Percent));
  EXPECT_TRUE(loadControlBoxEnabled(SAMPLE_RANDOM, LoadControlBox::Percent));
  for (auto b : {LoadControlBox::From, LoadControlBox::To, LoadControlBox::Step}) {
    EXPECT_TRUE(loadControlBoxEnabled(SAMPLE_RANGE, b));
    EXPECT_FALSE(loadControlBoxEnabled(SAMPLE_ALL, b));
  }
  EXPECT_TRUE(loadControlBoxEnabled(SAMPLE_ALL, LoadControlBox::Limit));
}

}  // namespace
}  // namespace vlm
