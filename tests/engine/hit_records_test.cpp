// Walking the hit records of the selection buffer.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "engine/picking/hit_records.h"

namespace vlm::pick {
namespace {

TEST(HitRecords, EqualDepthsKeepTheEarliestRecord) {
  const std::vector<uint32_t> b = {1, 500, 600, 5, 1, 500, 600, 7};
  EXPECT_EQ(nearestHitName(b.data(), b.size(), 2), 5);
}

TEST(HitRecords, DepthsCompareUnsigned) {
  // 0x90000000 would be negative as a signed word and win wrongly.
  const std::vector<uint32_t> b = {1, 0x90000000u, 0x90000000u, 3, 1, 0x10000000u, 0x20000000u, 4};
  EXPECT_EQ(nearestHitName(b.data(), b.size(), 2), 4);
}

TEST(HitRecords, MaximumDepthAlsoCompetes) {
  // Record 2's minimum ties record 1's, but its maximum is nearer than the best.
  const std::vector<uint32_t> b = {1, 100, 900, 8, 1, 100, 50, 9};
  EXPECT_EQ(nearestHitName(b.data(), b.size(), 2), 9);
}

TEST(HitRecords, NothingAndEmptyRecords) {
  const std::vector<uint32_t> b = {0, 10, 10};
  EXPECT_EQ(nearestHitName(b.data(), b.size(), 0), -1);
  EXPECT_EQ(nearestHitName(b.data(), b.size(), 1), -1);
  EXPECT_EQ(nearestHitName(nullptr, 0, 3), -1);
}

TEST(HitRecords, FullDepthIsNoHit) {
  // A depth of 0xFFFFFFFF or 0xFFFFFFFE never beats the starting best.
  const std::vector<uint32_t> b = {1, 0xFFFFFFFEu, 0xFFFFFFFFu, 2};
  EXPECT_EQ(nearestHitName(b.data(), b.size(), 1), -1);
}

TEST(HitRecords, OverflowWalksTheCompleteRecords) {
  // glRenderMode answered -1: the last record is cut off and must be ignored.
  const std::vector<uint32_t> b = {1, 300, 300, 11, 1, 200, 200, 12, 3, 1, 1};
  EXPECT_EQ(nearestHitName(b.data(), b.size(), -1), 12);
  // A count beyond what the buffer holds stops at the end.
  EXPECT_EQ(nearestHitName(b.data(), 8, 1000), 12);
}

TEST(HitRecords, BufferWordsNeverOverflow) {
  EXPECT_EQ(selectionBufferWords(500, 2100), 2100);
  EXPECT_EQ(selectionBufferWords(10, 2100), 140);
  EXPECT_EQ(selectionBufferWords(-5, 2100), 100);
  EXPECT_EQ(selectionBufferWords(0, 0), 0);
  const int64_t huge = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(selectionBufferWords(huge, std::numeric_limits<size_t>::max()), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(selectionBufferWords(huge, 4000), 4000);
}

}  // namespace
}  // namespace vlm::pick
