#include <gtest/gtest.h>

#include "platform/clipboard.h"

namespace vlm::platform {
namespace {

TEST(ClipboardLineEnds, DesktopLfBecomesCrLfAndBack) {
  EXPECT_EQ(toEngineLineEnds("a\tb\n1\t2\n"), "a\tb\r\n1\t2\r\n");
  EXPECT_EQ(toEngineLineEnds("a\r\nb\n"), "a\r\nb\r\n");
  EXPECT_EQ(toEngineLineEnds("a\rb"), "a\rb");
  EXPECT_EQ(toDesktopLineEnds("a\tb\r\n1\t2\r\n"), "a\tb\n1\t2\n");
  EXPECT_EQ(toDesktopLineEnds("a\rb\n"), "a\rb\n");
}

TEST(MemoryClipboardTest, HoldsTheTextAsGiven) {
  MemoryClipboard board;
  EXPECT_FALSE(board.readText());
  EXPECT_TRUE(board.writeText("x\r\n"));
  EXPECT_EQ(board.readText(), std::optional<std::string>("x\r\n"));
  board.setBroken(true);
  EXPECT_FALSE(board.readText());
  EXPECT_FALSE(board.writeText("y"));
}

TEST(ClipboardInstall, ReplacementAndRestore) {
  auto memory = std::make_shared<MemoryClipboard>();
  auto previous = setClipboard(memory);
  EXPECT_EQ(clipboard(), memory);
  setClipboard(previous);
  EXPECT_NE(clipboard(), memory);
}

}  // namespace
}  // namespace vlm::platform
