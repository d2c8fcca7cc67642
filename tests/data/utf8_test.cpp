#include <string>

#include <gtest/gtest.h>

#include "data/hash_index.h"
#include "data/text_buffer.h"
#include "data/utf8.h"

namespace vlm {
namespace {

TEST(Utf8, DecodeRejectsMalformedSequences) {
  const std::string bad[] = {"\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xc3", "\x80", "\xfe"};
  for (const std::string& s : bad) {
    size_t pos = 0;
    EXPECT_EQ(utf8::decode(s, pos), utf8::kInvalid) << s;
    EXPECT_EQ(pos, 1u);
  }
  size_t pos = 0;
  EXPECT_EQ(utf8::decode("€", pos), U'€');
  EXPECT_EQ(pos, 3u);
}

TEST(Utf8, CutNeverSplitsACharacter) {
  const std::string s = "ab€";  // 5 bytes
  EXPECT_EQ(utf8::cutLength(s, 5), 5u);
  EXPECT_EQ(utf8::cutLength(s, 4), 2u);
  EXPECT_EQ(utf8::cutLength(s, 3), 2u);
  EXPECT_EQ(utf8::cutLength(s, 2), 2u);
  EXPECT_EQ(utf8::cutLength(s, 0), 0u);
  // Stray continuation bytes are garbage and may be cut anywhere.
  EXPECT_EQ(utf8::cutLength(std::string(10, '\x80'), 6), 6u);
}

TEST(Utf8, LowerCasesAccentedCapitals) {
  EXPECT_EQ(utf8::lower("FÉVRIER"), "février");
  EXPECT_EQ(utf8::lower("ÚNOR"), "únor");
  EXPECT_EQ(utf8::lower("MÄRZ"), "märz");
  EXPECT_EQ(utf8::lower("ŁÓDŹ"), "łódź");
  EXPECT_EQ(utf8::lower("\xff" "A"), "\xff" "a");
}

TEST(TextBuffer, CutsAtTheBufferAndACharacter) {
  char buffer[6];
  EXPECT_EQ(writeText(buffer, sizeof buffer, "abcd€"), 4u);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(writeText(buffer, sizeof buffer, "ab€"), 5u);
  EXPECT_STREQ(buffer, "ab€");
  EXPECT_EQ(writeText(buffer, 1, "abc"), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(writeText(nullptr, 10, "abc"), 0u);
}

TEST(HashIndex, FindsEveryInsertedEntryAcrossGrowth) {
  HashIndex index;
  std::vector<uint32_t> keys;
  for (int32_t i = 0; i < 100000; ++i) {
    const uint32_t h = hashMix64(static_cast<uint64_t>(i) % 5000);  // many equal hashes
    ASSERT_TRUE(hashIndexInsert(index, h, i));
    keys.push_back(h);
  }
  for (int32_t i = 0; i < 100000; i += 997)
    EXPECT_EQ(hashIndexFind(index, keys[i], [&](int32_t e) { return e == i; }), i);
  EXPECT_EQ(hashIndexFind(index, 12345u, [](int32_t) { return false; }), -1);
  hashIndexClear(index);
  EXPECT_EQ(hashIndexFind(index, keys[0], [](int32_t) { return true; }), -1);
}

}  // namespace
}  // namespace vlm
