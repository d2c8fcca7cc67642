#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "model/association_ops.h"
#include "sources/support/source_fixture.h"

namespace vlm {
namespace {

using test::SourceTest;

class PasteTest : public SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    start();
  }
  // The state a failed paste leaves: an empty table without a source.
  void expectEmpty() {
    EXPECT_EQ(table().rowCount, 0);
    EXPECT_EQ(table().fieldCount, 0);
    EXPECT_EQ(table().sourceKind, DSK_NONE);
    EXPECT_EQ(table().sourceName, "No Data");
    EXPECT_EQ(vlm_GetDataSource(), DSK_NONE);
    EXPECT_EQ(state().model->associations.count, 0);
    EXPECT_TRUE(state().main->dataLock.isFree());
    EXPECT_EQ(state().main->loadRunning.load(), 0);
    const auto busy = messagesOf(HM_BUSY);
    ASSERT_FALSE(busy.empty());
    EXPECT_EQ(busy.back().wParam, 0u);
  }
  void expectBadData(const char* text = "Bad Data in the Clipboard.") {
    const auto boxes = boxTexts();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], text);
  }
};

TEST_F(PasteTest, ValidityNeedsTwoLineBreaks) {
  clipboard_->setText("a\r\n1\r\n");
  EXPECT_EQ(vlm_IsClipboardValid(), 1);
  clipboard_->setText("a\r1\r");
  EXPECT_EQ(vlm_IsClipboardValid(), 1);
  clipboard_->setText("a\r\n1");
  EXPECT_EQ(vlm_IsClipboardValid(), 0);
  clipboard_->setText("a\n1\n2\n");
  EXPECT_EQ(vlm_IsClipboardValid(), 0);
  clipboard_->setText("");
  EXPECT_EQ(vlm_IsClipboardValid(), 0);
  clipboard_->setText(std::nullopt);
  EXPECT_EQ(vlm_IsClipboardValid(), 0);
  // The scan ends at the second line break, however long the text.
  clipboard_->setText("a\r\nb\r\n" + std::string(20000000, 'x'));
  EXPECT_EQ(vlm_IsClipboardValid(), 1);
}

TEST_F(PasteTest, PasteLoadsTypedFieldsAndTellsTheHost) {
  flushHostMessages();
  clearMessages();
  ASSERT_TRUE(paste("id\tprice\tname\tday\r\n1\t2.50\tapple\t2003-01-05\r\n2\t3\tpear\t2003-01-06\r\n"));
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_EQ(table().sourceRowCount, 2);
  EXPECT_EQ(table().sourceKind, DSK_CLIPBOARD);
  EXPECT_EQ(table().sourceName, "CLIPBOARD");
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  EXPECT_EQ(table().fields[0].type, FT_INTEGER);
  EXPECT_EQ(table().fields[1].type, FT_REAL);
  EXPECT_EQ(table().fields[2].type, FT_TEXT);
  EXPECT_EQ(table().fields[3].type, FT_DATETIME);
  EXPECT_EQ(cell(1, 0), "2.5");
  EXPECT_EQ(state().main->loadControl.connectionResult, 1);
  // Every sample selected, distinct values built, navigation speed set.
  EXPECT_EQ(state().model->selectedCount, 2);
  EXPECT_EQ(state().model->selectionFlags[0], 1);
  EXPECT_EQ(state().model->selectionFlags[1], 1);
  EXPECT_EQ(table().fields[2].distinctCount, 2);
  EXPECT_NEAR(state().view->view.navigationSpeed.load(), std::pow(250.0, 0.125), 1e-5);

  const auto begins = messagesOf(HM_PROGRESS_BEGIN);
  ASSERT_GE(begins.size(), 2u);
  EXPECT_EQ(begins[0].text, " analyzing");
  EXPECT_EQ(begins[0].wParam, 1u);
  EXPECT_EQ(begins[0].lParam, 10000u);
  EXPECT_EQ(begins[1].text, " loading");
  EXPECT_EQ(messagesOf(HM_PROGRESS_BEGIN).size(), messagesOf(HM_PROGRESS_END).size());
  const auto busy = messagesOf(HM_BUSY);
  ASSERT_GE(busy.size(), 2u);
  EXPECT_EQ(busy.front().wParam, 1u);
  EXPECT_EQ(busy.back().wParam, 0u);
  EXPECT_FALSE(messagesOf(HM_REFRESH).empty());
  const auto hits = messagesOf(HM_HITS);
  ASSERT_FALSE(hits.empty());
  EXPECT_EQ(hits.back().wParam, 2u);
  EXPECT_EQ(hits.back().lParam, 2u);
  EXPECT_EQ(hits.back().extra, 2);
}

TEST_F(PasteTest, DataServerAfterAPasteIsTheClipboard) {
  ASSERT_TRUE(paste("a\r\n1\r\n"));
  char source[1024] = "x", tableName[1024] = "x", third[1024] = "x";
  vlm_GetDataServer(source, tableName, third);
  EXPECT_STREQ(source, "clipboard");
  EXPECT_STREQ(tableName, "");
  EXPECT_STREQ(third, "");
  vlm_GetDataServer(nullptr, nullptr, nullptr);
  char query[1024] = "x";
  EXPECT_EQ(vlm_GetServerQuery(query), 0);
  EXPECT_STREQ(query, "");
}

TEST_F(PasteTest, DataServerDoesNotWaitForTheDataLock) {
  ASSERT_TRUE(paste("a\r\n1\r\n"));
  ASSERT_TRUE(state().main->dataLock.tryAcquire());
  char source[1024] = {};
  const auto start = std::chrono::steady_clock::now();
  vlm_GetDataServer(source, nullptr, nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_STREQ(source, "clipboard");
  state().main->dataLock.release();
}

TEST_F(PasteTest, EmptyHeaderNamesAndBlankLines) {
  ASSERT_TRUE(paste("x\t\tz\r\n1\t2\t3\r\n\r\n\t\t\r\n\r\n4\t5\t6\r\n"));
  EXPECT_STREQ(table().fields[1].name, "(Column2)");
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_EQ(cell(2, 1), "6");
}

TEST_F(PasteTest, NoTextOnTheClipboard) {
  clipboard_->setText(std::nullopt);
  ASSERT_TRUE(request([] { vlm_InitConnection(3); }));
  expectBadData();
  expectEmpty();
}

TEST_F(PasteTest, BadTextsGiveTheMessageAndAnEmptyTable) {
  const std::string longHeader(131072, 'h');
  const std::vector<std::string> texts = {
      "",                        // no text
      "a\tb\r\n",                // one line only
      "a\tb\n1\t2\n3\t4\n",      // line feeds only
      longHeader + "\r\n1\r\n",  // header of 131072 characters
  };
  for (const auto& text : texts) {
    clearMessages();
    resetBoxes();
    ASSERT_TRUE(paste(text));
    expectBadData();
    expectEmpty();
  }
}

TEST_F(PasteTest, OverLongDataLine) {
  ASSERT_TRUE(paste("a\r\n1\r\n" + std::string(131072, '2') + "\r\n"));
  expectBadData("Incorrect Data Format in the Clipboard...");
  expectEmpty();
}

TEST_F(PasteTest, PasteReplacesAnEarlierTableAndAFailureEmptiesIt) {
  ASSERT_TRUE(paste("a\r\n1\r\n2\r\n"));
  EXPECT_EQ(table().rowCount, 2);
  ASSERT_TRUE(paste("a\r\n"));
  expectEmpty();
}

TEST_F(PasteTest, ThreeThousandColumns) {
  std::string header, line;
  for (int c = 0; c < 3000; ++c) {
    header += (c ? "\t" : "") + std::string("c") + std::to_string(c);
    line += (c ? "\t" : "") + std::to_string(c);
  }
  ASSERT_TRUE(paste(header + "\r\n" + line + "\r\n" + line + "\r\n"));
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(table().fieldCount, 2048);
  EXPECT_EQ(table().rowCount, 2);
}

TEST_F(PasteTest, BinaryGarbageLeavesAConsistentState) {
  std::mt19937 random(5);
  for (int round = 0; round < 5; ++round) {
    std::string text(20000, '\0');
    for (char& c : text) c = static_cast<char>(random());
    resetBoxes();
    ASSERT_TRUE(paste(text));
    EXPECT_TRUE(state().main->dataLock.isFree());
    if (table().rowCount > 0) {
      EXPECT_EQ(table().sourceKind, DSK_CLIPBOARD);
      EXPECT_GT(table().fieldCount, 0);
      EXPECT_TRUE(boxTexts().empty());
    } else {
      expectEmpty();
      EXPECT_EQ(boxTexts().size(), 1u);
    }
  }
}

TEST_F(PasteTest, ModelIsKeptWhenTheFieldsStillMatch) {
  ASSERT_TRUE(paste("x\ty\r\n1\t2\r\n3\t4\r\n"));
  {
    ModelContext ctx = modelContext(state());
    ASSERT_EQ(associateField(state().main->dataLock, ctx, 1, 0, ATTRIB_AXISX, -1, 0), 1);
  }
  ASSERT_TRUE(paste("x\ty\r\n5\t6\r\n"));
  EXPECT_EQ(state().model->associations.count, 1);
  ASSERT_TRUE(paste("x\tother\r\n5\t6\r\n"));
  EXPECT_EQ(state().model->associations.count, 0);
}

TEST_F(PasteTest, CopyWritesAllRowsWhenNothingIsSelected) {
  ASSERT_TRUE(paste("a\tb\r\n1\t2.50\r\n2\tn/a\r\n3\tx\r\n"));
  // Flags that do not count as a selection: every row all the same.
  auto& flags = state().model->selectionFlags;
  flags[0] = 0;
  flags[2] = 0;
  state().model->selectedCount = 0;
  EXPECT_EQ(vlm_CopyToClipboard(), 1);
  EXPECT_EQ(clipboard_->text(), std::optional<std::string>("a\tb\r\n1\t2.50\r\n2\t\r\n3\tx\r\n"));
}

TEST_F(PasteTest, CopyWritesTheSelectedRows) {
  ASSERT_TRUE(paste("a\r\n1\r\n2\r\n3\r\n4\r\n"));
  auto& flags = state().model->selectionFlags;
  std::fill(flags.begin(), flags.end(), 0);
  flags[1] = 1;
  flags[3] = 1;
  state().model->selectedCount = 2;
  EXPECT_EQ(vlm_CopyToClipboard(), 1);
  EXPECT_EQ(clipboard_->text(), std::optional<std::string>("a\r\n2\r\n4\r\n"));
}

TEST_F(PasteTest, PasteCopyRoundTrip) {
  const std::string text = "n\tr\tt\td\r\n1\t2.50\tapple\t5-Jan-2003\r\n-7\t1000\tpear\tn/a\r\n";
  ASSERT_TRUE(paste(text));
  EXPECT_EQ(vlm_CopyToClipboard(), 1);
  const std::string copied = *clipboard_->text();
  EXPECT_EQ(copied.substr(0, 18), "n\tr\tt\td\r\n1\t2.5\tapp");
  EXPECT_NE(copied.find("\r\n-7\t1000\tpear\t\r\n"), std::string::npos);
  // Pasting the copy gives the same table again.
  ASSERT_TRUE(paste(copied));
  EXPECT_EQ(vlm_CopyToClipboard(), 1);
  EXPECT_EQ(*clipboard_->text(), copied);
}

TEST_F(PasteTest, CopyFailures) {
  // Nothing loaded: nothing to copy, and no message.
  EXPECT_EQ(vlm_CopyToClipboard(), 0);
  EXPECT_TRUE(boxTexts().empty());
  ASSERT_TRUE(paste("a\r\n1\r\n"));
  clipboard_->setBroken(true);
  EXPECT_EQ(vlm_CopyToClipboard(), 0);
  flushHostMessages();
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Unable to copy data to Clipboard...");
}

TEST_F(PasteTest, CancelALargePasteFromTheHostThread) {
  std::string text = "id\tvalue\tname\r\n";
  for (int i = 0; i < 400000; ++i) text += std::to_string(i) + "\t" + std::to_string(i * 0.5) + "\tn" + std::to_string(i % 97) + "\r\n";
  clipboard_->setText(text);
  state().main->dataDone.reset();
  vlm_InitConnection(3);
  // Wait until the paste is under way, then cancel it.
  platform::HostBridge::instance().waitPumping([this] { return state().main->loadRunning.load() != 0; },
                                               std::chrono::milliseconds(20000));
  const auto start = std::chrono::steady_clock::now();
  vlm_CancelAction();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_TRUE(state().main->dataLock.isFree());
  EXPECT_EQ(state().main->abortFlag.load(), 1);
  platform::HostBridge::instance().waitPumping([this] { return state().main->dataDone.isSet(); },
                                               std::chrono::milliseconds(20000));
  flushHostMessages();
  // Either the cancel came in time and the table is empty, or the paste had
  // already ended; never a half-built table.
  if (table().rowCount == 0) {
    expectEmpty();
    EXPECT_EQ(state().main->loadControl.connectionResult, -11);
    EXPECT_TRUE(boxTexts().empty());
  } else {
    EXPECT_EQ(table().rowCount, 400000);
  }
  // The next paste clears the flag and loads.
  ASSERT_TRUE(paste("a\r\n1\r\n"));
  EXPECT_EQ(table().rowCount, 1);
}

TEST_F(PasteTest, CancelWithoutALoadReturnsAtOnce) {
  const auto start = std::chrono::steady_clock::now();
  vlm_CancelAction();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(state().main->abortFlag.load(), 1);
}

// Builds a table text of `rows` lines under the header "name\tvalue".
std::string numberedTable(const std::string& header, int rows, float step) {
  std::string text = header + "\r\n";
  for (int i = 0; i < rows; ++i) text += std::to_string(i) + "\t" + std::to_string(static_cast<float>(i) * step) + "\r\n";
  return text;
}

TEST_F(PasteTest, CopyWhileLoadsReplaceTheTableGivesOneWholeTableOrNothing) {
  const std::string a = numberedTable("n\tx", 3000, 0.25f), b = numberedTable("m\ty", 2000, 1.5f);
  // What a copy of each table gives.
  ASSERT_TRUE(paste(a));
  ASSERT_EQ(vlm_CopyToClipboard(), 1);
  const std::string copyA = *clipboard_->text();
  ASSERT_TRUE(paste(b));
  ASSERT_EQ(vlm_CopyToClipboard(), 1);
  const std::string copyB = *clipboard_->text();
  int copied = 0, refused = 0;
  for (int round = 0; round < 12; ++round) {
    clipboard_->setText(round % 2 ? b : a);
    state().main->dataDone.reset();
    vlm_CancelAction();
    vlm_InitConnection(3);  // the copy starts at once, while the paste runs
    do {
      if (vlm_CopyToClipboard() == 1) {
        ++copied;
        const std::string text = *clipboard_->text();
        ASSERT_TRUE(text == copyA || text == copyB) << text.substr(0, 40);
      } else {
        ++refused;
      }
      QCoreApplication::processEvents();
    } while (!state().main->dataDone.isSet());
    flushHostMessages();
  }
  EXPECT_GT(copied + refused, 12);
  for (const std::string& box : boxTexts()) EXPECT_EQ(box, "Unable to copy data to Clipboard...");
}

}  // namespace
}  // namespace vlm
