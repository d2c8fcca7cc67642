#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "data/support/data_test_support.h"
#include "data/text_pool.h"

namespace vlm {
namespace {

std::string internedAs(TextPool& pool, std::string_view text) {
  const int32_t index = internText(pool, text);
  if (index < 0) return "<none>";
  return std::string(*poolText(pool, index));
}

TEST(TextPool, CleaningMatchesTheDocumentedCases) {
  TextPool pool;
  EXPECT_EQ(internedAs(pool, "  a\tb  "), "a b");
  EXPECT_EQ(internedAs(pool, "x\r\ny"), "x;;y");
  EXPECT_EQ(internText(pool, "   "), -1);
  EXPECT_EQ(internText(pool, ""), -1);
  EXPECT_EQ(internText(pool, "\t \t"), -1);
}

TEST(TextPool, LeadingTabsAreSkippedButALeadingLineBreakStays) {
  TextPool pool;
  EXPECT_EQ(internedAs(pool, "\t\t a"), "a");
  // Only line breaks after the first position of the rest become ';'.
  EXPECT_EQ(internedAs(pool, "\nz"), "\nz");
  EXPECT_EQ(internedAs(pool, " \r\nz"), "\r;z");
  // Tabs at the end become blanks and are trimmed.
  EXPECT_EQ(internedAs(pool, "k\t\t"), "k");
}

TEST(TextPool, SameTextSameIndexAndIndexesFollowFirstAppearance) {
  TextPool pool;
  EXPECT_EQ(internText(pool, "alpha"), 0);
  EXPECT_EQ(internText(pool, "beta"), 1);
  EXPECT_EQ(internText(pool, "alpha"), 0);
  EXPECT_EQ(internText(pool, "  alpha "), 0);
  EXPECT_EQ(internText(pool, "Alpha"), 2);  // case-sensitive
  EXPECT_EQ(internText(pool, "a\tb"), 3);
  EXPECT_EQ(internText(pool, "a b"), 3);  // equal once cleaned
  EXPECT_EQ(poolSize(pool), 4);
}

TEST(TextPool, SlotCountGrowsIn4096Steps) {
  TextPool pool;
  EXPECT_EQ(pool.slotCount, 0);
  internText(pool, "t0");
  EXPECT_EQ(pool.slotCount, 4096);
  for (int i = 1; i < 4096; ++i) internText(pool, "t" + std::to_string(i));
  EXPECT_EQ(pool.slotCount, 4096);
  internText(pool, "one more");
  EXPECT_EQ(pool.slotCount, 8192);
}

TEST(TextPool, AgreesWithALinearSearchOverManyTexts) {
  // The hash index must give exactly what a scan from index 0 gives.
  TextPool pool;
  std::vector<std::string> reference;
  uint32_t seed = 12345;
  for (int i = 0; i < 50000; ++i) {
    seed = seed * 1103515245u + 12345u;
    const std::string text = "v" + std::to_string((seed >> 8) % 7000);
    int32_t expected = -1;
    for (size_t j = 0; j < reference.size(); ++j)
      if (reference[j] == text) expected = static_cast<int32_t>(j);
    if (expected < 0) {
      expected = static_cast<int32_t>(reference.size());
      reference.push_back(text);
    }
    ASSERT_EQ(internText(pool, text), expected) << text;
  }
  ASSERT_EQ(poolSize(pool), static_cast<int32_t>(reference.size()));
  for (size_t j = 0; j < reference.size(); ++j) ASSERT_EQ(*poolText(pool, static_cast<int32_t>(j)), reference[j]);
}

TEST(TextPool, CopiedPoolsInternIndependently) {
  TextPool a;
  internText(a, "x");
  TextPool b = a;
  EXPECT_EQ(internText(b, "y"), 1);
  EXPECT_EQ(internText(a, "z"), 1);
  EXPECT_EQ(internText(a, "y"), 2);
  EXPECT_EQ(internText(b, "z"), 2);
}

TEST(TextPool, TextsWithBytesOfAnyValueAreKeptExactly) {
  TextPool pool;
  const std::string odd("\xff\xfe\x80 q\x01", 6);
  const int32_t i = internText(pool, odd);
  ASSERT_GE(i, 0);
  EXPECT_EQ(*poolText(pool, i), odd);
  EXPECT_FALSE(poolText(pool, -1));
  EXPECT_FALSE(poolText(pool, 99));
}

#ifndef VLM_NO_ADDRESS_LIMIT
// In a child process with little address space left, a text too large to copy
// must be refused with the pool's message and leave the pool as it was.
void internUnderAddressLimit() {
  test::ErrorRecorder errors;
  TextPool pool;
  if (internText(pool, "kept") != 0) std::_Exit(10);
  const std::string huge(48u * 1024 * 1024, 'h');
  if (!test::limitAddressSpace(16ul * 1024 * 1024)) std::_Exit(12);
  if (internText(pool, huge) != -1) std::_Exit(13);
  if (errors.messages.size() != 1 || errors.messages[0] != "Unable to store all the text information!") std::_Exit(14);
  if (poolSize(pool) != 1 || *poolText(pool, 0) != "kept" || internText(pool, "kept") != 0) std::_Exit(15);
  std::_Exit(0);
}

TEST(TextPoolDeathTest, ATextThatCannotBeStoredGivesMinusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(internUnderAddressLimit(), ::testing::ExitedWithCode(0), "");
}
#endif

TEST(TextPool, ClearingForgetsTexts) {
  TextPool pool;
  internText(pool, "a");
  internText(pool, "b");
  clearTextPool(pool);
  EXPECT_EQ(internText(pool, "b"), 0);
}

}  // namespace
}  // namespace vlm
