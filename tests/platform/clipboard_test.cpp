#include <QString>

#include <gtest/gtest.h>

#include <string>

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

TEST(DesktopClipboardTable, TheUtf8OfTheTextWithTheLineEndsLeftAsTheyAre) {
  std::string big;
  for (int i = 0; i < 100000; ++i) big += "Zürich\t" + std::to_string(i) + (i % 2 ? "\n" : "\r\n");
  const std::string texts[] = {"", "a\tb\n1\t2\r\n3\r4\n", "€\t😀\nß\t\xC2\xA0\n", big};
  for (const std::string& text : texts) {
    const std::optional<ClipboardTable> table = desktopClipboardTable(QString::fromStdString(text));
    ASSERT_TRUE(table);
    EXPECT_TRUE(table->desktopLineEnds);
    EXPECT_TRUE(std::string_view(table->text) == text);
  }
  // Half a surrogate pair (only a program of this process can put one there:
  // the desktop's texts arrive as UTF-8) becomes the replacement character.
  std::u16string odd = u"a\n";
  odd += char16_t{0xD800};
  odd += u"\n";
  const std::optional<ClipboardTable> table = desktopClipboardTable(QString::fromStdU16String(odd));
  ASSERT_TRUE(table);
  EXPECT_EQ(std::string_view(table->text), "a\n\xEF\xBF\xBD\n");
}

TEST(ClipboardTableDefault, TheEngineFormOfReadText) {
  MemoryClipboard board;
  EXPECT_FALSE(board.readTable());
  board.setText("h\r\n1\n2\r\n");
  const std::optional<ClipboardTable> table = board.readTable();
  ASSERT_TRUE(table);
  EXPECT_FALSE(table->desktopLineEnds);
  EXPECT_EQ(std::string_view(table->text), "h\r\n1\n2\r\n");
  board.setText("");
  ASSERT_TRUE(board.readTable());
  EXPECT_EQ(board.readTable()->text.size(), 0u);
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
