#include <string>

#include <gtest/gtest.h>

#include "data/distinct_estimate.h"

namespace vlm {
namespace {

uint64_t estimateOf(int distinct, int repeats) {
  DistinctSketch sketch;
  for (int r = 0; r < repeats; ++r)
    for (int i = 0; i < distinct; ++i) sketchAdd(sketch, "customer " + std::to_string(i * 7));
  return sketchDistinct(sketch);
}

TEST(DistinctSketch, EstimatesWithinAFewPerCentFromTenTextsToManyThousands) {
  EXPECT_EQ(sketchDistinct(DistinctSketch{}), 0u);
  EXPECT_EQ(estimateOf(1, 50), 1u);
  // Ten texts are counted exactly unless two of them share a register (for
  // any hash about one chance in fifty): then one is missed.
  EXPECT_NEAR(static_cast<double>(estimateOf(10, 1000)), 10.0, 1.0);
  for (int distinct : {1000, 30000, 300000}) {
    const double estimate = static_cast<double>(estimateOf(distinct, distinct >= 300000 ? 1 : 3));
    EXPECT_NEAR(estimate / distinct, 1.0, 0.06) << distinct;
  }
}

TEST(DistinctSketch, NeverForeseesMoreTextsThanWereAddedAndKnowsTheirMeanLength) {
  DistinctSketch sketch;
  for (int i = 0; i < 5; ++i) sketchAdd(sketch, "abcd" + std::to_string(i));  // 5 bytes each
  EXPECT_LE(sketchDistinct(sketch), 5u);
  EXPECT_EQ(sketchMeanLength(sketch), 5u);
  EXPECT_EQ(sketchMeanLength(DistinctSketch{}), 0u);
}

}  // namespace
}  // namespace vlm
