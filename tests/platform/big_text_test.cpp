#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "platform/big_text.h"

namespace vlm::platform {
namespace {

TEST(BigTextTest, OwnsItsRoomUntilMovedOrReleased) {
  BigText a;
  EXPECT_EQ(std::string_view(a), "");
  const size_t big = size_t{5} << 20;  // past the size taken from the system directly
  ASSERT_TRUE(a.allocate(big));
  EXPECT_EQ(a.size(), 0u);
  std::memset(a.data(), 'x', big);
  a.setSize(big + 1);  // never past the room
  EXPECT_EQ(a.size(), big);
  BigText b(std::move(a));
  EXPECT_EQ(a.size(), 0u);
  EXPECT_EQ(a.data(), nullptr);
  EXPECT_EQ(b.size(), big);
  EXPECT_EQ(std::string_view(b).substr(big - 2), "xx");
  BigText c;
  ASSERT_TRUE(c.allocate(10));
  std::memcpy(c.data(), "small", 5);
  c.setSize(5);
  c = std::move(b);  // c's own room goes back
  EXPECT_EQ(c.size(), big);
  c.release();
  EXPECT_EQ(c.size(), 0u);
  EXPECT_EQ(c.data(), nullptr);
}

}  // namespace
}  // namespace vlm::platform
