// A paste from the desktop's clipboard reads its text as the desktop wrote it
// (LF or CR LF line ends, UTF-8 of Qt's UTF-16) and must give the very table
// that text converted to the engine's CR LF form gives. (The desktop's own
// clipboard is shared by every test process on the display: a clipboard
// handing over its text as the desktop's does stands in for it.)
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/vlmapi.h"
#include "sources/support/source_fixture.h"

namespace vlm {
namespace {

// Hands its text over for a load as the desktop clipboard does.
class DesktopFormClipboard : public platform::MemoryClipboard {
 public:
  std::optional<platform::ClipboardTable> readTable() override {
    const std::optional<std::string> held = text();
    if (!held) return std::nullopt;
    return platform::desktopClipboardTable(QString::fromUtf8(held->data(), static_cast<qsizetype>(held->size())));
  }
};

// What a user sees of a pasted table.
struct Snapshot {
  int32_t rows = 0, fields = 0, kind = 0;
  std::vector<std::string> names, cells, boxes;
  std::vector<int> types, distinct;
  bool operator==(const Snapshot&) const = default;
};

class DesktopPasteTest : public test::SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    start();
  }

  Snapshot snapshot() {
    Snapshot s;
    s.rows = table().rowCount;
    s.fields = table().fieldCount;
    s.kind = table().sourceKind;
    s.boxes = boxTexts();
    for (int32_t f = 0; f < s.fields; ++f) {
      const DataField& field = table().fields[static_cast<size_t>(f)];
      s.names.push_back(field.name);
      s.types.push_back(field.type);
      s.distinct.push_back(field.distinctCount);
      for (int32_t r = 0; r < s.rows; ++r) s.cells.push_back(cell(f, r));
    }
    return s;
  }

  Snapshot pasteRun() {
    resetBoxes();
    EXPECT_TRUE(request([] {
      vlm_CancelAction();
      vlm_InitConnection(3);
    }));
    return snapshot();
  }

  // The paste of `text` (UTF-8, the desktop's line ends) through the desktop
  // clipboard, and through the in-memory one holding it in the engine's form.
  std::pair<Snapshot, Snapshot> bothWays(const std::string& text) {
    auto desktopBoard = std::make_shared<DesktopFormClipboard>();
    desktopBoard->setText(text);
    platform::setClipboard(desktopBoard);
    const Snapshot desktop = pasteRun();
    platform::setClipboard(clipboard_);
    clipboard_->setText(platform::toEngineLineEnds(text));
    const Snapshot engine = pasteRun();
    return {desktop, engine};
  }
};

TEST_F(DesktopPasteTest, LinesAndCellsAsTheEngineFormGivesThem) {
  const std::vector<std::string> texts = {
      "name\tvalue\tday\nalpha\t2.50\t2003-01-05\nbeta\t3\t2003-01-06\n",
      "a\tb\r\n1\t2\n3\t4",                // CR LF and LF mixed, no final line break
      "h\tk\n\n1\tx\n\n\n2\ty\n\t\n",       // empty lines and a line of a tab only
      "h\tk\n1\tone\rtwo\n2\tthree\n",      // a lone CR stays in its cell
      "h\tk\n1\tend\r\r\n2\tz\r\n",         // CR CR LF: one CR stays
      "\nh\tk\n1\t2\n",                     // an empty first line: no header
      "näme\tpreis\nÄpfel\t1,5\n€uro\t2\n😀\t3\n",  // beyond ASCII and beyond the BMP
      "h\n1\n",                             // one sample
      "a\tb\n",                             // a header alone: bad data
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    const auto [desktop, engine] = bothWays(text);
    EXPECT_TRUE(desktop == engine);
  }
  // Equal, and not for both failing: the desktop's LF lines are lines.
  const Snapshot first = bothWays(texts[0]).first;
  EXPECT_EQ(first.rows, 2);
  EXPECT_EQ(first.types, (std::vector<int>{FT_TEXT, FT_REAL, FT_DATETIME}));
  EXPECT_TRUE(first.boxes.empty());
  EXPECT_EQ(first.cells[1], "beta");
  const Snapshot wide = bothWays(texts[6]).first;
  ASSERT_EQ(wide.rows, 3);
  EXPECT_EQ(wide.names[0], "näme");
  EXPECT_EQ(wide.cells[2], "😀");
}

TEST_F(DesktopPasteTest, ABigTableReadOnBothCoresGivesTheSameTable) {
  // Over a megabyte: both passes split the text, at a line end of its own form.
  std::string text = "id\tcity\tprice\tday\n";
  for (int i = 0; i < 60000; ++i) {
    text += std::to_string(i) + "\t" + (i % 3 ? "Oslo" : "Brno\rNord") + "\t" + std::to_string(i % 977) + "." +
            std::to_string(i % 10) + "\t2010-01-" + std::to_string(1 + i % 28);
    text += i % 5 == 0 ? "\r\n" : i % 7 == 0 ? "\n\n" : "\n";
    if (i == 45000) text += "late text\tx\ty\tz\n";  // a type change late in the column
  }
  ASSERT_GT(text.size(), size_t{1} << 20);
  const auto [desktop, engine] = bothWays(text);
  EXPECT_EQ(desktop.rows, 60001);
  EXPECT_EQ(desktop.types[0], FT_TEXT);
  EXPECT_TRUE(desktop == engine);
}

}  // namespace
}  // namespace vlm
