#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "model/association_ops.h"
#include "sources/support/source_fixture.h"

namespace vlm {
namespace {

using test::SourceTest;

class ConnectionTest : public SourceTest {
 protected:
  std::string write(const std::string& name, const std::string& text) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  bool open(const std::string& path) {
    return request([&] { vlm_OpenFile(path.c_str(), 0); });
  }
};

TEST_F(ConnectionTest, TheWorkspaceWithoutADatabaseEndsTheConnection) {
  start();
  // With nothing loaded the connection ends empty, without a word.
  ASSERT_TRUE(request([] { vlm_InitConnection(2); }));
  EXPECT_EQ(table().fieldCount, 0);
  EXPECT_EQ(vlm_GetDataSource(), DSK_NONE);
  EXPECT_EQ(state().main->loadControl.connectionResult, -2);
  EXPECT_TRUE(boxTexts().empty());

  ASSERT_TRUE(paste("a\r\n1\r\n"));
  // Mode 0 goes by the application kind (the database workspace here): the
  // workspace is asked before the table goes, and with no database open
  // there the pasted table stays, and the user hears why.
  for (int mode : {0, 2}) {
    clearMessages();
    resetBoxes();
    ASSERT_TRUE(request([mode] { vlm_InitConnection(mode); }));
    EXPECT_EQ(table().rowCount, 1);
    EXPECT_EQ(table().fieldCount, 1);
    EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
    EXPECT_EQ(state().main->loadControl.connectionResult, -2);
    const auto busy = messagesOf(HM_BUSY);
    ASSERT_FALSE(busy.empty());
    EXPECT_EQ(busy.back().wParam, 0u);
    char source[1024] = "x";
    vlm_GetDataServer(source, nullptr, nullptr);
    EXPECT_STREQ(source, "clipboard");
    ASSERT_EQ(boxTexts().size(), 1u);
    EXPECT_NE(boxTexts()[0].find("No database is open"), std::string::npos);
  }
  // The spreadsheet workspace has no workbook open: the connection ends.
  clearMessages();
  ASSERT_TRUE(request([] { vlm_InitConnection(1); }));
  EXPECT_EQ(state().main->loadControl.connectionResult, -2);
  const auto busy = messagesOf(HM_BUSY);
  ASSERT_FALSE(busy.empty());
  EXPECT_EQ(busy.back().wParam, 0u);
}

TEST_F(ConnectionTest, OtherModesDoNothing) {
  start();
  ASSERT_TRUE(paste("a\r\n1\r\n"));
  EXPECT_EQ(vlm_InitConnection(7), 1);
  flushHostMessages();
  // A later request runs after it: the table stayed.
  ASSERT_TRUE(request([] { vlm_InitConnection(3); }));
  EXPECT_EQ(table().rowCount, 1);
}

TEST_F(ConnectionTest, TabFileLoadsWithItsNameAndPath) {
  start();
  const auto path = write("cars.tsv", "Name\tMiles\tYear\ncar a\t18.5\t1970-01-01\r\ncar b\t\t1971-01-01\n");
  ASSERT_TRUE(open(path));
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_EQ(table().sourceName, "cars.tsv");
  EXPECT_EQ(table().sourcePath, path);
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  EXPECT_EQ(table().fields[1].type, FT_REAL);
  EXPECT_EQ(table().fields[2].type, FT_DATETIME);
  const auto recent = messagesOf(HM_RECENT_FILE);
  ASSERT_EQ(recent.size(), 1u);
  EXPECT_EQ(recent[0].text, path);
  char source[1024];
  vlm_GetDataServer(source, nullptr, nullptr);
  EXPECT_EQ(std::string(source), path);
}

TEST_F(ConnectionTest, CsvFileWithQuotes) {
  start();
  const auto path = write("t.CSV", "\xEF\xBB\xBFname,note,n\n\"Smith, J\",\"a \"\"b\"\"\nc\",1\nx,,2\n");
  ASSERT_TRUE(open(path));
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_STREQ(table().fields[0].name, "name");
  EXPECT_EQ(cell(0, 0), "Smith, J");
  EXPECT_EQ(cell(1, 0), "a \"b\";c");  // a line break in a text cell is stored as ';'
  EXPECT_EQ(cell(2, 1), "2");
}

TEST_F(ConnectionTest, CsvWithAnUnterminatedQuote) {
  start();
  ASSERT_TRUE(open(write("bad.csv", "a,b\n1,2\n\"3,4\n")));
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Incorrect Data Format in the File...");
  EXPECT_EQ(table().rowCount, 0);
  EXPECT_EQ(vlm_GetDataSource(), DSK_NONE);
}

TEST_F(ConnectionTest, AFileThatCannotBeReadKeepsTheTableAndNamesTheFile) {
  start();
  ASSERT_TRUE(paste("a\r\n1\r\n"));
  const std::string missing = (dir_ / "none.txt").string();
  ASSERT_TRUE(open(missing));
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Unable to read the data file \"" + missing + "\": there is no such file.");
  EXPECT_EQ(table().rowCount, 1);
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  // A file that holds no table replaces the table as a bad paste does.
  resetBoxes();
  ASSERT_TRUE(open(write("empty.tab", "")));
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Bad Data in the File.");
  EXPECT_EQ(vlm_GetDataSource(), DSK_NONE);
}

TEST_F(ConnectionTest, AModelFileWithoutAModelIsSaidAndOtherFilesKeepTheTable) {
  start();
  ASSERT_TRUE(paste("a\r\n1\r\n"));
  ASSERT_TRUE(open(write("m.vlm", "[Model]\n")));
  // Any other file is offered to the database workspace, which says it is none.
  ASSERT_TRUE(open(write("book.dat", "x")));
  const auto boxes = boxTexts();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].find("holds no Velmora model"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[1].find("\"book.dat\" is not a database file"), std::string::npos) << boxes[1];
  EXPECT_EQ(table().rowCount, 1);
  EXPECT_EQ(vlm_OpenFile(nullptr, 0), 0);
}

TEST_F(ConnectionTest, ReloadOfAPastedTableKeepsIt) {
  start();
  ASSERT_TRUE(paste("a\r\n1\r\n2\r\n"));
  EXPECT_EQ(vlm_Load(0), 0) << "nothing to read again";
  EXPECT_EQ(vlm_Load(1), 0);
  flushHostMessages();
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
}

TEST_F(ConnectionTest, ReloadOfAFileReadsItAgain) {
  start();
  const auto path = write("d.txt", "a\n1\n");
  ASSERT_TRUE(open(path));
  write("d.txt", "a\n1\n2\n3\n");
  ASSERT_TRUE(request([] { EXPECT_EQ(vlm_Load(0), 1); }));
  EXPECT_EQ(table().rowCount, 3);
  // Gone from the disk: the table stays, and the message names the file.
  std::filesystem::remove(path);
  resetBoxes();
  ASSERT_TRUE(request([] { EXPECT_EQ(vlm_Load(0), 1); }));
  EXPECT_EQ(table().rowCount, 3);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Unable to read the data file \"" + path + "\": there is no such file.");
}

TEST_F(ConnectionTest, APastedTableCannotBeReloadedAndStays) {
  for (int application : {23, 21, 99}) {
    start(application);
    ASSERT_TRUE(paste("a\r\n1\r\n2\r\n"));
    {
      ModelContext ctx = modelContext(state());
      ASSERT_EQ(associateField(state().main->dataLock, ctx, 0, 0, ATTRIB_AXISX, -1, 0), 1);
    }
    EXPECT_EQ(vlm_Load(0), 0) << application;
    EXPECT_EQ(vlm_Load(1), 0) << application;
    flushHostMessages();
    EXPECT_EQ(table().rowCount, 2);
    EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
    EXPECT_EQ(state().model->associations.count, 1);
    EXPECT_TRUE(boxTexts().empty());
    vlm_DeinitSystem();
    state_.reset();
  }
}

TEST_F(ConnectionTest, APasteIsNotReloadedThroughTheDatabase) {
  start(23);
  ASSERT_TRUE(paste("a\r\n1\r\n"));
  EXPECT_EQ(vlm_Load(1), 0);
  flushHostMessages();
  EXPECT_EQ(table().rowCount, 1);
  // Loading a database object without a database source connects first; the
  // workspace has no database open, so the pasted table stays.
  ASSERT_TRUE(request([] { EXPECT_EQ(vlm_LoadDataTable(0, 1), 1); }));
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  EXPECT_EQ(table().rowCount, 1);
}

TEST_F(ConnectionTest, ExportsWithoutEngine) {
  EXPECT_EQ(vlm_InitConnection(3), 0);
  EXPECT_EQ(vlm_GetDataSource(), 0);
  char source[1024] = "x";
  EXPECT_EQ(vlm_GetDataServer(source, nullptr, nullptr), 0);
  EXPECT_STREQ(source, "");
  vlm_CancelAction();
  EXPECT_EQ(vlm_CopyToClipboard(), 0);
}

}  // namespace
}  // namespace vlm
