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

TEST(ClipboardBeginning, EndsAfterTheWantedLineBreak) {
  EXPECT_EQ(beginningLength("a\tb\r\n1\t2\r\n3\t4\r\n", 2), 10u);
  EXPECT_EQ(beginningLength("a\nb\nc\n", 2), 4u) << "LF alone";
  EXPECT_EQ(beginningLength("a\rb\rc", 2), 4u) << "CR alone";
  EXPECT_EQ(beginningLength("a\r\n\r\nc", 2), 5u) << "an empty second line";
  EXPECT_EQ(beginningLength("one line", 2), 8u);
  EXPECT_EQ(beginningLength("", 2), 0u);
  MemoryClipboard board;
  EXPECT_FALSE(board.readBeginning(2));
  board.setText("h\r\nv\r\n" + std::string(100000, 'x'));
  EXPECT_EQ(board.readBeginning(2), std::optional<std::string>("h\r\nv\r\n"));
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
