#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/host_messages.h"
#include "engine/model_file/model_file_save.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "platform/atomic_file.h"
#include "platform/database/database.h"
#include "platform/profile_file.h"
#include "platform/support/sqlite_file.h"
#include "platform/workspace/record_browser.h"
#include "platform/workspace/workspace.h"
#include "sources/access/access_loader.h"
#include "sources/access/access_session.h"
#include "sources/access/database_reopen.h"
#include "sources/load_control_dialog.h"
#include "sources/load_model.h"
#include "common/access_files.h"
#include "platform/database/mdb_database.h"
#include "sources/support/source_fixture.h"
#include "sources/support/stub_database.h"
#include "tools/database_tree_commands.h"
#include "tools/selector/row_edits.h"
#include "tools/selector/selector_rules.h"

namespace vlm {
namespace {

using platform::workspace::Workspace;

constexpr int32_t kPing = 1024 + 400;  // no command of the engine uses this number
std::atomic<int> pings{0};
std::atomic<bool> streamOpen{false};

class AccessSourceTest : public test::SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    // The ping reads the record stream where it lives, on the data thread.
    dataHandlers().set(kPing, [](EngineState& s, const platform::Command&) {
      streamOpen = accessSession(s).stream.open;
      ++pings;
      return true;
    });
    Workspace::instance().start();
    Workspace::instance().closeCurrentDatabase();
    Workspace::instance().setOption(platform::workspace::kIgnoreRequests, 0);
  }
  void TearDown() override {
    setLoadControlDialogHook(nullptr);
    Workspace::instance().closeCurrentDatabase();
    SourceTest::TearDown();
  }
  void startEngine() {
    start();
    state().main->loadControl.limit = 1000000;
  }
  std::string database(const std::string& name, const std::string& sql) {
    const auto path = dir_ / name;
    EXPECT_EQ(test::runSql(path, sql), "");
    return path.string();
  }
  // Waits until the data thread has run everything posted so far, and again
  // while a record stream is open (each chunk posts the next). The second
  // round also waits for what the handlers running at the first one posted
  // (a retried connection).
  bool settle(int timeoutMs = 60000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (int round = 0;; ++round) {
      const int target = pings.load() + 1;
      postData(state(), kPing);
      const bool ok = platform::HostBridge::instance().waitPumping(
          [&] {
            QCoreApplication::processEvents();
            return pings.load() >= target;
          },
          std::chrono::milliseconds(timeoutMs));
      if (!ok) return false;
      if (round > 0 && !streamOpen.load()) break;
      if (std::chrono::steady_clock::now() > until) return false;
    }
    flushHostMessages();
    return true;
  }
  bool openFile(const std::string& path) {
    vlm_OpenFile(path.c_str(), 0);
    return settle();
  }
  std::vector<int64_t> hitRows() {
    std::vector<int64_t> out;
    for (auto& m : messagesOf(HM_HITS)) out.push_back(static_cast<int64_t>(m.wParam));
    return out;
  }
};

TEST_F(AccessSourceTest, StartUpFindsTheWorkspaceWithoutADatabase) {
  startEngine();
  EXPECT_EQ(vlm_IsAccessRunning(), 1);
  ASSERT_TRUE(request([] { vlm_InitConnection(0); }));
  ASSERT_TRUE(settle());
  EXPECT_EQ(state().main->loadControl.connectionResult, -2);
  EXPECT_EQ(vlm_GetDataSource(), DSK_NONE);
  EXPECT_EQ(table().fieldCount, 0);
  EXPECT_EQ(state().model->associations.count, 0);
  EXPECT_TRUE(boxTexts().empty());
}

// Connecting asks the workspace first: with no database open there, or no
// workspace answering, the table loaded before stays with its model, and the
// user hears why nothing new came.
TEST_F(AccessSourceTest, ConnectingWithNoDatabaseOpenKeepsTheLoadedTableAndSaysWhy) {
  startEngine();
  ASSERT_TRUE(paste("name\tvalue\r\na\t1.5\r\nb\t2.5\r\n"));
  vlm_AssociateField(1, 0, ATTRIB_AXISY, 60, 0);
  const int32_t associations = state().model->associations.count;
  ASSERT_GT(associations, 0);
  clearMessages();
  ASSERT_TRUE(request([] { vlm_InitConnection(2); }));
  ASSERT_TRUE(settle());
  EXPECT_EQ(state().main->loadControl.connectionResult, -2);
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_EQ(cell(0, 1), "b");
  EXPECT_EQ(cell(1, 1), "2.5");
  EXPECT_EQ(state().model->associations.count, associations);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "No database is open in the Database Workspace.\nThe table loaded before stays as it was.");
  ASSERT_FALSE(messagesOf(HM_BUSY).empty());
  EXPECT_EQ(messagesOf(HM_BUSY).back().wParam, 0u);

  // A database table stays too once its database was closed in the workspace,
  // and names its database and table still.
  const auto path = database("shop.sqlite", test::numberedTableSql("t", 3));
  ASSERT_TRUE(openFile(path));
  ASSERT_EQ(table().rowCount, 3);
  Workspace::instance().closeCurrentDatabase();
  resetBoxes();
  ASSERT_TRUE(request([] { vlm_InitConnection(2); }));
  ASSERT_TRUE(settle());
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  EXPECT_EQ(table().rowCount, 3);
  EXPECT_EQ(cell(1, 2), "r2");
  char source[1024], object[1024];
  vlm_GetDataServer(source, object, nullptr);
  EXPECT_EQ(std::string(source), path);
  EXPECT_STREQ(object, "t");
  EXPECT_EQ(boxTexts().size(), 1u);

  // A workspace that has quit: the table stays as well.
  Workspace::instance().quit();
  resetBoxes();
  ASSERT_TRUE(request([] { vlm_InitConnection(2); }));
  ASSERT_TRUE(settle());
  EXPECT_EQ(table().rowCount, 3);
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("The table loaded before stays as it was."), std::string::npos);

  // The database opened again connects and replaces the table.
  Workspace::instance().start();
  resetBoxes();
  ASSERT_TRUE(openFile(database("other.sqlite", test::numberedTableSql("u", 4))));
  EXPECT_EQ(table().rowCount, 4);
  EXPECT_TRUE(boxTexts().empty());
}

TEST_F(AccessSourceTest, TheDataSourceNameOfAnMdbPathDropsFolderAndExtension) {
  startEngine();
  auto db = std::make_shared<test::StubDatabase>();
  test::StubDatabaseServer stub(db);
  ASSERT_TRUE(request([] { vlm_InitConnection(2); }));
  ASSERT_TRUE(settle());
  EXPECT_EQ(table().sourceName, "Sales");
  EXPECT_EQ(table().sourcePath, "C:\\Shop\\Sales.MDB");
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  EXPECT_EQ(table().rowCount, 10);
  ASSERT_GE(db->topics.size(), 4u);
  EXPECT_EQ(db->topics[2], "Sales");
  EXPECT_NE(std::find(db->topics.begin(), db->topics.end(), "Sales; SQL SELECT Count(*) FROM [Orders];"), db->topics.end());
  char source[1024], object[1024];
  vlm_GetDataServer(source, object, nullptr);
  EXPECT_STREQ(source, "C:\\Shop\\Sales.MDB");
  EXPECT_STREQ(object, "Orders");
}

TEST_F(AccessSourceTest, RecordsLoadInChunksOfAThousandWithTheHostRefreshedAfterEach) {
  startEngine();
  const auto path = database("shop.sqlite", test::numberedTableSql("t", 2500));
  ASSERT_TRUE(openFile(path));
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  EXPECT_EQ(table().rowCount, 2500);
  EXPECT_EQ(table().sourceRowCount, 2500);
  EXPECT_EQ(table().fieldCount, 3);
  EXPECT_EQ(table().fields[0].type, FT_INTEGER);
  EXPECT_EQ(table().fields[1].type, FT_TEXT);
  EXPECT_EQ(table().fields[2].type, FT_REAL);
  EXPECT_EQ(table().rowIds[1234], 1234);
  EXPECT_EQ(cell(1, 2499), "r2499");
  EXPECT_EQ(cell(2, 6), "1.5");
  // The host hears of every chunk: 1000, 2000 and 2500 rows (from the loader
  // and again from the selection computation that follows each chunk).
  auto hits = hitRows();
  hits.erase(std::remove(hits.begin(), hits.end(), 0), hits.end());
  hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
  EXPECT_EQ(hits, (std::vector<int64_t>{1000, 2000, 2500}));
  EXPECT_GE(messagesOf(HM_REFRESH).size(), 3u);
  ASSERT_FALSE(messagesOf(HM_BUSY).empty());
  EXPECT_EQ(messagesOf(HM_BUSY).back().wParam, 0u);
  const auto recent = messagesOf(HM_RECENT_FILE);
  ASSERT_EQ(recent.size(), 1u);
  EXPECT_EQ(recent[0].text, path);
  // Every sample is selected once the load is over.
  EXPECT_EQ(state().model->selectedCount.load(), 2500);
}

TEST_F(AccessSourceTest, EachTenOverNinetyFiveRecordsAndAJumpToTheSecondSample) {
  startEngine();
  state().main->loadControl.limit = 50;
  int dialogs = 0;
  setLoadControlDialogHook([&](const LoadControlDialogInput& in) {
    ++dialogs;
    EXPECT_EQ(in.sourceRows, 95);
    LoadControlAnswer a;
    a.ok = true;
    a.method = SAMPLE_EACH;
    a.limit = "50";
    a.each = "10";
    return a;
  });
  ASSERT_TRUE(openFile(database("shop.sqlite", test::numberedTableSql("t", 95))));
  EXPECT_EQ(dialogs, 1);
  ASSERT_EQ(table().rowCount, 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(table().rowIds[static_cast<size_t>(i)], i * 10);
    EXPECT_EQ(cell(0, i), std::to_string(i * 10));
  }
  EXPECT_EQ(vlm_GetRowIndex(DSK_ACCESS, 1), 10);
  vlm_JumpAccess(1);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty());
  const auto view = platform::workspace::recordBrowserView();
  EXPECT_TRUE(view.exists);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.object, "t");
  EXPECT_EQ(view.currentRecord, 11);
  EXPECT_EQ(view.records, 95);
  vlm_JumpAccess(99);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Can't jump on row 99 in Access.");
}

TEST_F(AccessSourceTest, AnEmptyTableShowsTheNoDataBox) {
  startEngine();
  ASSERT_TRUE(openFile(database("empty.sqlite", "CREATE TABLE blank(a INTEGER, b TEXT);")));
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Sorry, \nno data to load.\n");
  EXPECT_EQ(boxes_->boxes()[0].caption, "Loading Data...");
  EXPECT_EQ(table().rowCount, 0);
  // The database is connected: its tree lists the table.
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  ASSERT_EQ(table().accessObjects.size(), 1u);
}

TEST_F(AccessSourceTest, AStopBetweenChunksEndsTheLoadWithTheRowsSoFar) {
  startEngine();
  auto db = std::make_shared<test::StubDatabase>();
  db->rows = 2500;
  EngineState* s = &state();
  db->onRecord = [s](int index) {
    if (index == 999) s->main->abortFlag = 1;  // the Stop arrives as the first chunk ends
  };
  test::StubDatabaseServer stub(db);
  ASSERT_TRUE(request([] { vlm_InitConnection(2); }));
  ASSERT_TRUE(settle());
  EXPECT_EQ(table().rowCount, 1000);
  EXPECT_EQ(messagesOf(HM_BUSY).back().wParam, 0u);
  EXPECT_FALSE(streamOpen.load());
}

TEST_F(AccessSourceTest, AChunkQueuedBeforeAPasteLeavesThePastedTable) {
  startEngine();
  auto db = std::make_shared<test::StubDatabase>();
  db->rows = 2500;
  clipboard_->setText("pasted\r\n7\r\n");
  db->onRecord = [](int index) {
    if (index == 500) vlm_InitConnection(3);  // queued before the next chunk
  };
  test::StubDatabaseServer stub(db);
  ASSERT_TRUE(request([] { vlm_InitConnection(2); }));
  ASSERT_TRUE(settle());
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  EXPECT_EQ(table().rowCount, 1);
  EXPECT_STREQ(table().fields[0].name, "pasted");
}

TEST_F(AccessSourceTest, ATableOfThreeThousandFieldsLoadsTheFirst2048AndSaysSo) {
  startEngine();
  auto db = std::make_shared<test::StubDatabase>();
  db->fields = 3000;
  db->rows = 3;
  test::StubDatabaseServer stub(db);
  ASSERT_TRUE(request([] { vlm_InitConnection(2); }));
  ASSERT_TRUE(settle());
  EXPECT_EQ(table().fieldCount, 2048);
  EXPECT_EQ(table().rowCount, 3);
  EXPECT_EQ(cell(2047, 2), "2067");
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Only the first 2048 of the 3000 fields of \"Orders\" can be loaded.");
}

TEST_F(AccessSourceTest, BadDatabasesSayWhyAndLeaveTheLoadedTable) {
  startEngine();
  ASSERT_TRUE(paste("a\r\n1\r\n"));
  std::string bytes = "SQLite format 3";
  bytes.push_back('\0');
  bytes += std::string(3000, 'x');
  std::ofstream(dir_ / "broken.sqlite", std::ios::binary) << bytes;
  ASSERT_TRUE(openFile((dir_ / "broken.sqlite").string()));
  std::ofstream(dir_ / "notes.dat") << "just text";
  ASSERT_TRUE(openFile((dir_ / "notes.dat").string()));
  ASSERT_EQ(boxTexts().size(), 2u);
  EXPECT_NE(boxTexts()[0].find("\"broken.sqlite\" cannot be opened"), std::string::npos);
  EXPECT_NE(boxTexts()[1].find("\"notes.dat\" is not a database file"), std::string::npos);
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  EXPECT_EQ(table().rowCount, 1);

  // A locked database and a view that fails: the table loaded before stays.
  const auto path = database("shop.sqlite", test::numberedTableSql("a", 5) + test::numberedTableSql("b", 5) +
                                                "CREATE TABLE gone(x); CREATE VIEW c AS SELECT * FROM gone; DROP TABLE gone;");
  resetBoxes();
  ASSERT_TRUE(openFile(path));
  // The new connection cleared the table; its first object, the view (queries
  // come first), cannot be read.
  EXPECT_EQ(table().rowCount, 0);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("\"c\" cannot be read"), std::string::npos);
  resetBoxes();
  vlm_LoadDataTable(1, 1);  // table a
  ASSERT_TRUE(settle());
  ASSERT_EQ(table().rowCount, 5);
  EXPECT_TRUE(boxTexts().empty());
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; INSERT INTO b VALUES (9, 'x', 1);", nullptr, nullptr, nullptr), SQLITE_OK);
  vlm_LoadDataTable(2, 1);  // table b
  ASSERT_TRUE(settle());
  sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("locked"), std::string::npos);
  EXPECT_EQ(table().currentAccessObject, 1);
  EXPECT_EQ(table().rowCount, 5);
  EXPECT_EQ(cell(1, 4), "r4");
  resetBoxes();
  vlm_LoadDataTable(0, 1);  // the failing view
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("\"c\" cannot be read"), std::string::npos);
  EXPECT_EQ(table().currentAccessObject, 1);
  EXPECT_EQ(table().rowCount, 5);
}

TEST_F(AccessSourceTest, NullsBlobsWideIntegersAndQuotedNames) {
  startEngine();
  const auto path = database("odd.sqlite",
                             "CREATE TABLE \"we\"\"ird [x]\"(n INTEGER, b BLOB, big INTEGER, t TEXT);"
                             "INSERT INTO \"we\"\"ird [x]\" VALUES (NULL, x'0102', 5, 'a\tb'), (3, NULL, 5000000000, NULL);");
  ASSERT_TRUE(openFile(path));
  EXPECT_TRUE(boxTexts().empty());
  ASSERT_EQ(table().rowCount, 2);
  EXPECT_FALSE(table().fields[0].cells[0].flags & kCellPresent);
  EXPECT_EQ(table().fields[0].cells[0].flags & 0x0C, 0x04);
  EXPECT_EQ(cell(1, 0), "2 bytes");
  EXPECT_FALSE(table().fields[1].cells[1].flags & kCellPresent);
  // A value past the int32 range turns its field into reals, the earlier values kept.
  EXPECT_EQ(table().fields[2].type, FT_REAL);
  EXPECT_FLOAT_EQ(table().fields[2].cells[0].value.f, 5.0f);
  EXPECT_FLOAT_EQ(table().fields[2].cells[1].value.f, 5e9f);
  EXPECT_EQ(cell(3, 0), "a b");
}

TEST_F(AccessSourceTest, ADatabaseDeletedWhileOpenStillStreams) {
  startEngine();
  const auto path = database("gone.sqlite", test::numberedTableSql("t", 1500));
  ASSERT_TRUE(openFile(path));
  std::filesystem::remove(path);
  vlm_LoadDataTable(0, 1);
  ASSERT_TRUE(settle());
  EXPECT_EQ(table().rowCount, 1500);
}

TEST_F(AccessSourceTest, LoadReloadsTheCurrentObjectOrTheSameNameInAnotherDatabase) {
  startEngine();
  const auto first = database("one.sqlite", test::numberedTableSql("a", 3) + test::numberedTableSql("b", 4));
  ASSERT_TRUE(openFile(first));
  vlm_LoadDataTable(1, 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(table().rowCount, 4);
  // Ctrl+L with the same database open: the current table again.
  clearMessages();
  EXPECT_EQ(vlm_Load(0), 1);
  ASSERT_TRUE(settle());
  EXPECT_EQ(table().currentAccessObject, 1);
  EXPECT_EQ(table().rowCount, 4);
  // Ctrl+R shows the Load Control dialog even below the limit.
  int dialogs = 0;
  setLoadControlDialogHook([&](const LoadControlDialogInput&) {
    ++dialogs;
    LoadControlAnswer a;
    a.ok = true;
    a.method = SAMPLE_ALL;
    a.limit = "1000000";
    return a;
  });
  EXPECT_EQ(vlm_Load(1), 1);
  ASSERT_TRUE(settle());
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(table().rowCount, 4);
  // Another database open in the workspace: its table of the same name.
  const auto second = database("two.sqlite", test::numberedTableSql("b", 7) + test::numberedTableSql("c", 2));
  ASSERT_TRUE(Workspace::instance().openCurrentDatabase(second));
  EXPECT_EQ(vlm_Load(0), 1);
  ASSERT_TRUE(settle());
  EXPECT_EQ(table().sourcePath, second);
  EXPECT_EQ(table().accessObjects[static_cast<size_t>(table().currentAccessObject)].name, "b");
  EXPECT_EQ(table().rowCount, 7);
  // A pasted table is not reloaded through the database.
  ASSERT_TRUE(paste("x\r\n1\r\n"));
  EXPECT_EQ(vlm_Load(0), 0);
}

TEST_F(AccessSourceTest, CancellingTheLoadControlDialogKeepsTheLoadedTable) {
  startEngine();
  ASSERT_TRUE(openFile(database("shop.sqlite", test::numberedTableSql("a", 4) + test::numberedTableSql("b", 6))));
  ASSERT_EQ(table().rowCount, 4);
  int dialogs = 0;
  setLoadControlDialogHook([&](const LoadControlDialogInput&) {
    ++dialogs;
    return LoadControlAnswer{};  // Cancel
  });
  clearMessages();
  EXPECT_EQ(vlm_Load(1), 1);
  ASSERT_TRUE(settle());
  state().main->loadControl.limit = 5;
  vlm_LoadDataTable(1, 1);  // 6 rows over a limit of 5
  ASSERT_TRUE(settle());
  EXPECT_EQ(dialogs, 2);
  EXPECT_EQ(state().main->loadControl.connectionResult, -11);
  EXPECT_EQ(table().currentAccessObject, 0);
  EXPECT_EQ(table().rowCount, 4);
  EXPECT_EQ(cell(1, 3), "r3");
  EXPECT_EQ(messagesOf(HM_BUSY).back().wParam, 0u);
}

TEST_F(AccessSourceTest, AWorkspaceIgnoringConversationsIsToldToAnswerOnce) {
  startEngine();
  const auto path = database("shop.sqlite", test::numberedTableSql("t", 3));
  ASSERT_TRUE(openFile(path));  // the main window now exists
  Workspace::instance().setOption(platform::workspace::kIgnoreRequests, 1);
  ASSERT_TRUE(request([] { vlm_InitConnection(2); }));
  ASSERT_TRUE(settle());
  EXPECT_EQ(Workspace::instance().option(platform::workspace::kIgnoreRequests), 0);
  EXPECT_EQ(table().rowCount, 3);
}

// A model saved on a database table names the database and the table; opened
// over other data it brings them back, with the model on them.
TEST_F(AccessSourceTest, AModelFileOpensItsDatabaseTableAgain) {
  startEngine();
  const auto path = database("Shop.sqlite", test::numberedTableSql("a", 3) + test::numberedTableSql("b", 4));
  ASSERT_TRUE(openFile(path));
  ASSERT_EQ(table().rowCount, 3);
  vlm_DeleteAllAssociations();
  vlm_AssociateField(2, 0, ATTRIB_AXISY, 60, 0);
  const std::string model = (dir_ / "shop.vlm").string();
  ASSERT_EQ(writeModelFile(state(), model), 1);
  std::string bytes, error;
  ASSERT_TRUE(platform::readWholeFile(model, bytes, error)) << error;
  platform::ProfileDocument doc = platform::ProfileDocument::parse(bytes);
  EXPECT_EQ(doc.get("Source", "Application", ""), "ACCESS");
  EXPECT_EQ(doc.get("Source", "SourceFull", ""), path);
  EXPECT_EQ(doc.get("Source", "Table", ""), "a");

  ASSERT_TRUE(paste("x\ty\r\n1\t2\r\n"));
  vlm_DeleteAllAssociations();
  state().model->saved = 1;
  vlm_OpenModel(model.c_str());
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  EXPECT_EQ(table().rowCount, 3);
  EXPECT_EQ(vlm_AttributeToField(ATTRIB_AXISY), 2);
  EXPECT_EQ(pendingModel(state()), "");

  // The table is matched by its exact name; the path is used as written.
  doc.set("Source", "Table", "b");
  ASSERT_TRUE(platform::writeFileAtomically(model, doc.serialise(), error)) << error;
  vlm_OpenModel(model.c_str());
  ASSERT_TRUE(settle());
  EXPECT_EQ(table().rowCount, 4);
  EXPECT_EQ(vlm_AttributeToField(ATTRIB_AXISY), 2);
}

TEST_F(AccessSourceTest, AModelsDatabaseIsReopenedAndItsTableLoaded) {
  startEngine();
  const auto path = database("shop.sqlite", test::numberedTableSql("a", 3) + test::numberedTableSql("b", 4));
  std::vector<std::string> applied;
  setModelApplier([&](EngineState&, const std::string& model) { applied.push_back(model); });
  ReopenRequest r;
  r.candidates = {(dir_ / "nowhere.mdb").string(), path};
  r.object = "b";
  r.modelPath = (dir_ / "m.vlm").string();
  EXPECT_EQ(reopenModelSource(state(), r), ReopenResult::Loading);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(table().rowCount, 4);
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  char source[1024], object[1024];
  vlm_GetDataServer(source, object, nullptr);
  EXPECT_EQ(std::string(source), path);
  EXPECT_STREQ(object, "b");
  EXPECT_EQ(applied, (std::vector<std::string>{r.modelPath}));
  EXPECT_EQ(pendingModel(state()), "");

  r.object = "B";  // names match exactly
  EXPECT_EQ(reopenModelSource(state(), r), ReopenResult::NoObject);
  EXPECT_EQ(pendingModel(state()), r.modelPath);
  r.candidates = {(dir_ / "nowhere.mdb").string()};
  EXPECT_EQ(reopenModelSource(state(), r), ReopenResult::NoDatabase);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("nowhere.mdb"), std::string::npos);
  registerModelFileHandlers();  // the engine's own applier again, for the tests after this one
  setPendingModel(state(), "");
}

TEST_F(AccessSourceTest, TreeMenuCommandsExpandCollapseAndLoad) {
  startEngine();
  ASSERT_TRUE(openFile(database("shop.sqlite", test::numberedTableSql("a", 3) + test::numberedTableSql("b", 2) +
                                                   "CREATE VIEW q AS SELECT * FROM a;")));
  ASSERT_EQ(table().accessObjects.size(), 3u);  // q, a, b
  EXPECT_STREQ(databaseTreeMenu(state(), 2000000300), "DB_Node");
  EXPECT_STREQ(databaseTreeMenu(state(), 2000000400), "DB_Query");
  EXPECT_STREQ(databaseTreeMenu(state(), 2000000402), "DB_Table");
  EXPECT_EQ(databaseTreeMenu(state(), 2000000200), nullptr);
  {
    platform::DataLockGuard guard(state().main->dataLock);
    // The query in use opened its node when it loaded.
    EXPECT_TRUE(state().model->scene.tree.expanded[1]);
    EXPECT_TRUE(runDatabaseTreeCommand(state(), kMenuCollapse, 2000000400));  // the queries' node
    EXPECT_FALSE(state().model->scene.tree.expanded[1]);
    EXPECT_TRUE(runDatabaseTreeCommand(state(), kMenuExpand, 2000000311));
    EXPECT_FALSE(runDatabaseTreeCommand(state(), kMenuExpand, 2000000310));
    EXPECT_TRUE(runDatabaseTreeCommand(state(), kMenuCollapse, 2000000301));
    EXPECT_FALSE(state().model->scene.tree.expanded[0]);
  }
  EXPECT_TRUE(runDatabaseTreeCommand(state(), kMenuSelectObject, 2000000402));
  ASSERT_TRUE(settle());
  EXPECT_EQ(table().currentAccessObject, 2);
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_FALSE(runDatabaseTreeCommand(state(), kMenuSelectObject, 2000000300));
}

TEST_F(AccessSourceTest, LoadSelectionOnlyOverOdbcAndWhereTheDatabaseCannotPickRows) {
  startEngine();
  const auto path = database("shop.sqlite", test::numberedTableSql("t", 300));
  // The file's own engine picks no rows itself: said, and the table stays.
  ASSERT_TRUE(openFile(path));
  ASSERT_EQ(table().rowCount, 300);
  selectedRowIdsAfter([&] { ASSERT_TRUE(selector::setRange(state(), 0, 10, 20)); });
  ASSERT_EQ(vlm_LoadSelectionOnly(), 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("cannot pick the selected rows"), std::string::npos) << boxTexts()[0];
  EXPECT_EQ(table().rowCount, 300);
  resetBoxes();
  // A pasted table has no database to read from.
  ASSERT_TRUE(paste("a\r\n1\r\n2\r\n"));
  ASSERT_EQ(vlm_LoadSelectionOnly(), 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("open database"), std::string::npos) << boxTexts()[0];
  EXPECT_EQ(table().rowCount, 2);
  resetBoxes();

  // Through the SQLite ODBC driver the database runs the rows itself.
  std::string why;
  if (!platform::db::openDatabase("odbc:DRIVER=SQLite3;DATABASE=" + path, {}, why))
    GTEST_SKIP() << "no ODBC engine or SQLite ODBC driver: " << why;
  ASSERT_TRUE(openFile("odbc:DRIVER=SQLite3;DATABASE=" + path));
  ASSERT_TRUE(boxTexts().empty()) << boxTexts()[0];
  ASSERT_EQ(table().rowCount, 300);
  const std::vector<int32_t> expected = selectedRowIdsAfter([&] {
    ASSERT_TRUE(selector::setMethod(state(), 1, selector::kSubstring));
    ASSERT_TRUE(selector::pressKey(state(), 1, 0, "R1"));
    ASSERT_TRUE(selector::setRange(state(), 2, 3.0, 40.0));
  });
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(vlm_LoadSelectionOnly(), 1);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_EQ(std::vector<int32_t>(table().rowIds.begin(), table().rowIds.begin() + table().rowCount), expected);
  for (int32_t k = 0; k < table().rowCount; ++k)
    ASSERT_EQ(cell(1, k), "r" + std::to_string(table().rowIds[static_cast<size_t>(k)]));
  // An Item row on one value is no condition the database can run.
  selectedRowIdsAfter([&] {
    ASSERT_TRUE(selector::setMethod(state(), 0, selector::kItemSlider));
    ASSERT_TRUE(selector::setItem(state(), 0, 0));
  });
  const int32_t rows = table().rowCount;
  ASSERT_EQ(vlm_LoadSelectionOnly(), 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("\"id\""), std::string::npos) << boxTexts()[0];
  EXPECT_EQ(table().rowCount, rows);
  resetBoxes();

  // A model saved on the ODBC source opens it again, the connection text
  // (with its '=' and ';') read back as written.
  const std::string model = (dir_ / "odbc.vlm").string();
  ASSERT_EQ(writeModelFile(state(), model), 1);
  ASSERT_TRUE(paste("x\r\n1\r\n"));
  state().model->saved = 1;
  vlm_OpenModel(model.c_str());
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  EXPECT_EQ(table().sourcePath.rfind("odbc:", 0), 0u) << table().sourcePath;
  EXPECT_EQ(table().rowCount, 300);
}

TEST_F(AccessSourceTest, TheWorkspacesLifeCycleThroughTheExports) {
  startEngine();
  EXPECT_TRUE(accessSession(state()).foundRunning);
  EXPECT_TRUE(accessSession(state()).foundVisible);
  EXPECT_EQ(vlm_AccessQuit(), 1);
  ASSERT_TRUE(settle());
  EXPECT_EQ(vlm_IsAccessRunning(), 0);
  EXPECT_FALSE(Workspace::instance().running());
  EXPECT_EQ(vlm_AccessStart(), 1);
  ASSERT_TRUE(settle());
  EXPECT_EQ(vlm_IsAccessRunning(), 1);
  EXPECT_TRUE(accessSession(state()).startedByEngine);
  const auto path = database("shop.sqlite", test::numberedTableSql("t", 3));
  EXPECT_EQ(vlm_AccessOpen(path.c_str()), 1);
  ASSERT_TRUE(settle());
  // Opening alone loads nothing; the workspace has the database open.
  EXPECT_EQ(Workspace::instance().currentPath(), path);
  EXPECT_EQ(vlm_GetDataSource(), DSK_NONE);
  EXPECT_EQ(vlm_SwitchAccess(), 1);
  ASSERT_TRUE(settle());
  const auto view = platform::workspace::recordBrowserView();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.tables, 1);
  EXPECT_NE(view.title.find("shop.sqlite"), std::string::npos);
  EXPECT_EQ(vlm_AccessOpen(nullptr), 0);
}

// An Access file (written by the tests' own Jet 4 writer) read through mdbtools.
TEST_F(AccessSourceTest, AnAccessFileOpensWithItsTablesAndLoadsTheirRecords) {
  if (!platform::db::mdbEngineAvailable()) GTEST_SKIP() << "this build reads no Access files (mdbtools-dev was not found)";
  startEngine();
  const std::string path = (dir_ / "Sales.MDB").string();
  ASSERT_TRUE(test::writeJetDatabase(path, test::sampleJetDatabase()));
  ASSERT_TRUE(openFile(path));
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  EXPECT_EQ(table().sourceName, "Sales");
  EXPECT_EQ(table().sourcePath, path);
  ASSERT_EQ(table().accessObjects.size(), 2u);
  EXPECT_EQ(table().accessObjects[0].name, "Orders");
  EXPECT_EQ(table().accessObjects[1].name, "Sales Reps");
  EXPECT_EQ(table().currentAccessObject, 0);
  ASSERT_EQ(table().rowCount, 5);
  ASSERT_EQ(table().fieldCount, 10);
  EXPECT_STREQ(table().fields[0].name, "Order Id");
  EXPECT_STREQ(table().fields[9].name, "Notes");
  EXPECT_EQ(table().fields[0].type, FT_INTEGER);
  EXPECT_EQ(table().fields[1].type, FT_TEXT);
  EXPECT_EQ(table().fields[2].type, FT_REAL);
  EXPECT_EQ(table().fields[3].type, FT_DATETIME);
  EXPECT_EQ(cell(0, 3), "-2147483648");
  EXPECT_EQ(cell(1, 1), "Bob Smith");
  EXPECT_EQ(cell(1, 3), "Zoë");
  EXPECT_EQ(cell(2, 0), "12.5");
  EXPECT_EQ(cell(9, 3), "naïve café");
  // The record without values keeps them missing.
  for (int f : {1, 2, 3, 5, 6, 7, 8, 9}) EXPECT_FALSE(table().fields[f].cells[2].flags & kCellPresent) << f;
  EXPECT_EQ(state().model->selectedCount.load(), 5);

  // The second table, through the tree, as a double-click loads it.
  vlm_LoadDataTable(1, 1);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(table().currentAccessObject, 1);
  ASSERT_EQ(table().rowCount, 3);
  EXPECT_EQ(cell(0, 2), "Cyd");
  EXPECT_EQ(cell(2, 0), "1500.75");
  EXPECT_FALSE(table().fields[1].cells[2].flags & kCellPresent);

  // From an object to its record in the workspace's record browser.
  vlm_JumpAccess(2);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  const auto view = platform::workspace::recordBrowserView();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.tables, 2);
  EXPECT_EQ(view.object, "Sales Reps");
  EXPECT_EQ(view.records, 3);
  EXPECT_EQ(view.currentRecord, 3);
}

TEST_F(AccessSourceTest, ADamagedAccessFileSaysSoAndLeavesTheLoadedTable) {
  if (!platform::db::mdbEngineAvailable()) GTEST_SKIP() << "this build reads no Access files (mdbtools-dev was not found)";
  startEngine();
  ASSERT_TRUE(paste("a\tb\r\n1\t2\r\n3\t4\r\n"));
  ASSERT_EQ(table().rowCount, 2);
  // The catalogue's pages overwritten: the file cannot be opened.
  std::string bytes = test::jetDatabaseBytes(test::sampleJetDatabase());
  ASSERT_FALSE(bytes.empty());
  std::fill(bytes.begin() + 2 * 4096, bytes.begin() + 4 * 4096, '\x7f');
  const std::string broken = (dir_ / "Broken.mdb").string();
  std::ofstream(broken, std::ios::binary) << bytes;
  ASSERT_TRUE(openFile(broken));
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("\"Broken.mdb\" cannot be opened"), std::string::npos) << boxTexts()[0];
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  EXPECT_EQ(table().rowCount, 2);
  EXPECT_EQ(cell(1, 1), "4");

  // A file cut short: the table whose pages are lost says so, and the table loaded before stays.
  test::JetTable big{"Big", {{"id", test::JetType::LongInteger}, {"name", test::JetType::Text}}, {}};
  for (int i = 0; i < 3000; ++i) big.rows.push_back({std::to_string(i), "name number " + std::to_string(i)});
  const std::string cut = (dir_ / "Cut.mdb").string();
  ASSERT_TRUE(test::writeJetDatabase(cut, {{big, test::sampleJetDatabase().tables[1]}, {}}));
  std::filesystem::resize_file(cut, std::filesystem::file_size(cut) - 4096);  // the last page of "Sales Reps"
  resetBoxes();
  ASSERT_TRUE(openFile(cut));
  EXPECT_TRUE(boxTexts().empty());
  ASSERT_EQ(table().rowCount, 3000);
  vlm_LoadDataTable(1, 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(boxTexts()[0],
            "\"Sales Reps\" cannot be read: pages of the table \"Sales Reps\" lie past the end of the file; the file is "
            "damaged.");
  EXPECT_EQ(table().currentAccessObject, 0);
  EXPECT_EQ(table().rowCount, 3000);
}

// A database that cannot be opened leaves the one in use open: the table
// loaded from it still jumps to its records and loads its other tables.
TEST_F(AccessSourceTest, AFileThatCannotBeOpenedLeavesTheOpenDatabaseInUse) {
  if (!platform::db::mdbEngineAvailable()) GTEST_SKIP() << "this build reads no Access files (mdbtools-dev was not found)";
  startEngine();
  const std::string path = (dir_ / "Sales.MDB").string();
  ASSERT_TRUE(test::writeJetDatabase(path, test::sampleJetDatabase()));
  ASSERT_TRUE(openFile(path));
  ASSERT_EQ(table().rowCount, 5);
  std::string bytes = test::jetDatabaseBytes(test::sampleJetDatabase());
  std::fill(bytes.begin() + 2 * 4096, bytes.begin() + 3 * 4096, '\0');
  std::ofstream(dir_ / "Broken.mdb", std::ios::binary) << bytes;
  ASSERT_TRUE(openFile((dir_ / "Broken.mdb").string()));
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("\"Broken.mdb\" cannot be opened"), std::string::npos) << boxTexts()[0];
  EXPECT_EQ(platform::workspace::Workspace::instance().currentPath(), path);
  resetBoxes();
  vlm_JumpAccess(1);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_EQ(platform::workspace::recordBrowserView().object, "Orders");
  EXPECT_EQ(platform::workspace::recordBrowserView().currentRecord, 2);
  vlm_LoadDataTable(1, 1);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_EQ(table().rowCount, 3);
}

// A model saved on an Access table with a blank in its name reopens the file and that table.
TEST_F(AccessSourceTest, AModelFileOpensItsAccessTableAgain) {
  if (!platform::db::mdbEngineAvailable()) GTEST_SKIP() << "this build reads no Access files (mdbtools-dev was not found)";
  startEngine();
  const std::string path = (dir_ / "Sales.MDB").string();
  ASSERT_TRUE(test::writeJetDatabase(path, test::sampleJetDatabase()));
  ASSERT_TRUE(openFile(path));
  vlm_LoadDataTable(1, 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(table().rowCount, 3);
  vlm_DeleteAllAssociations();
  vlm_AssociateField(2, 0, ATTRIB_AXISY, 60, 0);
  const std::string model = (dir_ / "reps.vlm").string();
  ASSERT_EQ(writeModelFile(state(), model), 1);
  std::string bytes, error;
  ASSERT_TRUE(platform::readWholeFile(model, bytes, error)) << error;
  const platform::ProfileDocument doc = platform::ProfileDocument::parse(bytes);
  EXPECT_EQ(doc.get("Source", "Application", ""), "ACCESS");
  EXPECT_EQ(doc.get("Source", "SourceFull", ""), path);
  EXPECT_EQ(doc.get("Source", "Table", ""), "Sales Reps");

  ASSERT_TRUE(paste("x\ty\r\n1\t2\r\n"));
  vlm_DeleteAllAssociations();
  platform::workspace::Workspace::instance().closeCurrentDatabase();
  state().model->saved = 1;
  vlm_OpenModel(model.c_str());
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  ASSERT_EQ(table().rowCount, 3);
  EXPECT_EQ(cell(0, 1), "Bob");
  EXPECT_EQ(vlm_AttributeToField(ATTRIB_AXISY), 2);
}

TEST(AccessLoaderSizes, GrowthIsGeometricWithinWhatTheLoadKeeps) {
  EXPECT_EQ(grownCapacity(0, 1000, 2500), 1000);
  EXPECT_EQ(grownCapacity(1000, 2000, 2500), 2500);
  EXPECT_EQ(grownCapacity(2000, 2500, 2500), 2500);
  EXPECT_EQ(grownCapacity(4000, 5000, 1000000), 16000);
  // A plan that kept more than foreseen still grows, by doubling.
  EXPECT_EQ(grownCapacity(1000, 1500, 1200), 2000);
  EXPECT_EQ(grownCapacity(4000, 5000, -1), 8000);
  EXPECT_EQ(grownCapacity(INT32_MAX - 10, INT32_MAX - 5, -1), INT32_MAX);
  SamplingPlan plan;
  EXPECT_EQ(keptRowCount(plan, 95), 95);
  plan.method = SAMPLE_EACH;
  plan.each = 10;
  EXPECT_EQ(keptRowCount(plan, 95), 10);
  plan.method = SAMPLE_RANGE;
  plan.from = 10, plan.to = 22, plan.step = 5;
  EXPECT_EQ(keptRowCount(plan, 100), 3);
  EXPECT_EQ(keptRowCount(plan, 15), 1);
  plan.method = SAMPLE_RANDOM;
  plan.sampleList = {1, 5, 90, -1};
  EXPECT_EQ(keptRowCount(plan, 50), 2);
  EXPECT_EQ(chunkGeneration(chunkArgument(77)), 77u);
  EXPECT_FALSE(isFullLoad(chunkArgument(77)));
  EXPECT_TRUE(isFullLoad(1));
}

}  // namespace
}  // namespace vlm
