#include <string>

#include <gtest/gtest.h>

#include "data/text_hash.h"

namespace vlm {
namespace {

// The comparison reads short texts as overlapping words: a byte that no
// word covers, or a word read at the wrong place, would let two texts that
// differ in that one byte pass as equal.
TEST(TextHash, SameTextSeesEveryByteAtEveryLength) {
  for (size_t n = 0; n <= 40; ++n) {
    std::string text;
    for (size_t i = 0; i < n; ++i) text += static_cast<char>('a' + (i * 7) % 26);
    const std::string copy = text;  // the same bytes elsewhere in memory
    ASSERT_TRUE(sameText(text, copy)) << n;
    ASSERT_EQ(textHash64(text), textHash64(copy)) << n;
    for (size_t i = 0; i < n; ++i) {
      std::string other = text;
      other[i] = static_cast<char>(other[i] ^ 0x20);
      EXPECT_FALSE(sameText(text, other)) << "length " << n << ", byte " << i;
      EXPECT_FALSE(sameText(other, text)) << "length " << n << ", byte " << i;
    }
    // A text one byte longer that begins alike, even with a zero byte.
    EXPECT_FALSE(sameText(text, text + '\0')) << n;
    EXPECT_FALSE(sameText(text + 'z', text)) << n;
  }
}

TEST(TextHash, SameTextLooksOnlyInsideTheTexts) {
  // Views into a longer buffer: the bytes around them must not count.
  const std::string a = "xxK000123yy", b = "zzK000123ww";
  EXPECT_TRUE(sameText(std::string_view(a).substr(2, 7), std::string_view(b).substr(2, 7)));
  EXPECT_FALSE(sameText(std::string_view(a).substr(1, 8), std::string_view(b).substr(1, 8)));
  EXPECT_TRUE(sameText(std::string_view(), std::string_view("", 0)));
}

}  // namespace
}  // namespace vlm
