#include <gtest/gtest.h>

#include <QCoreApplication>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>

#include "engine/commands/handler_table.h"
#include "engine/model_file/model_file_save.h"
#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "platform/atomic_file.h"
#include "platform/database/postgres_database.h"
#include "platform/password_prompt.h"
#include "platform/profile_file.h"
#include "platform/support/postgres_server.h"
#include "platform/workspace/workspace.h"
#include "sources/access/access_session.h"
#include "sources/access/database_reopen.h"
#include "sources/load_control_dialog.h"
#include "sources/load_model.h"
#include "sources/support/source_fixture.h"
#include "tools/selector/row_edits.h"
#include "tools/selector/selector_rules.h"

namespace vlm {
namespace {

using platform::workspace::Workspace;

constexpr int32_t kPing = 1024 + 401;  // no command of the engine uses this number
constexpr int32_t kStopAfterRows = 1024 + 402;  // nor this one
std::atomic<int> pings{0};
std::atomic<bool> streamOpen{false};

// Tables of a database server loaded through the engine's API, as File > Open
// does with a connection.
class PostgresSourceTest : public test::SourceTest {
 protected:
  void SetUp() override {
    SourceTest::SetUp();
    if (!platform::db::postgresEngineAvailable()) GTEST_SKIP() << "this build has no PostgreSQL client library";
    std::string why;
    server_ = test::PostgresServer::shared(why);
    if (!server_) GTEST_SKIP() << "no PostgreSQL server for the test: " << why;
    // The ping reads the record stream where it lives, on the data thread.
    dataHandlers().set(kPing, [](EngineState& s, const platform::Command&) {
      streamOpen = accessSession(s).stream.open;
      ++pings;
      return true;
    });
    Workspace::instance().start();
    Workspace::instance().closeCurrentDatabase();
    Workspace::instance().setOption(platform::workspace::kIgnoreRequests, 0);
    start();
    state().main->loadControl.limit = 1000000;
  }
  void TearDown() override {
    setLoadControlDialogHook(nullptr);
    platform::setPasswordHandler(nullptr);
    Workspace::instance().closeCurrentDatabase();
    SourceTest::TearDown();
  }
  // Waits until the data thread ran everything posted, the record stream's
  // chunks included.
  bool settle(int timeoutMs = 60000) {
    // The stream's last chunk posts what follows the load (a model to apply)
    // behind a ping already waiting; only a ping posted after the stream was
    // seen closed comes after that.
    for (int round = 0, closedRounds = 0;; ++round) {
      const int target = pings.load() + 1;
      postData(state(), kPing);
      const bool ok = platform::HostBridge::instance().waitPumping(
          [&] {
            QCoreApplication::processEvents();
            return pings.load() >= target;
          },
          std::chrono::milliseconds(timeoutMs));
      if (!ok) return false;
      closedRounds = streamOpen.load() ? 0 : closedRounds + 1;
      if (round > 0 && closedRounds >= 2) break;
    }
    flushHostMessages();
    return true;
  }
  bool openFile(const std::string& path) {
    vlm_OpenFile(path.c_str(), 0);
    return settle();
  }
  // The Load Control answers with `method` and its boxes.
  void answerLoadControl(int32_t method, const std::string& each, const std::string& percent, const std::string& from,
                         const std::string& to, const std::string& step) {
    state().main->loadControl.limit = 50;
    setLoadControlDialogHook([=](const LoadControlDialogInput&) {
      LoadControlAnswer a;
      a.ok = true;
      a.method = method;
      a.limit = "50";
      a.each = each;
      a.percent = percent;
      a.from = from;
      a.to = to;
      a.step = step;
      return a;
    });
  }
  test::PostgresServer* server_ = nullptr;
};

TEST_F(PostgresSourceTest, ATableOfTheServerLoadsWithItsTypesNullsAndEscapes) {
  ASSERT_EQ(server_->sql("DROP TABLE IF EXISTS sales; CREATE TABLE sales(id integer, region text, amount double precision,"
                         " sold date);"
                         "INSERT INTO sales VALUES (1, E'North\\tEast', 10.5, '2024-01-02'), (2, NULL, NULL, NULL),"
                         " (3, E'back\\\\slash', -2, '2024-12-31');"),
            "");
  ASSERT_EQ(server_->guardedRole("pa:ss@word"), "");
  // The password rides in the connection the user typed, and nowhere after.
  std::string uri = server_->uri("guarded");
  uri.insert(uri.find('@'), ":pa%3Ass%40word");
  ASSERT_TRUE(openFile(uri));
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  ASSERT_EQ(table().rowCount, 3);
  ASSERT_EQ(table().fieldCount, 4);
  EXPECT_STREQ(table().fields[0].name, "id");
  EXPECT_EQ(table().fields[0].type, FT_INTEGER);
  EXPECT_EQ(table().fields[1].type, FT_TEXT);
  EXPECT_EQ(table().fields[2].type, FT_REAL);
  // A tab inside a value is escaped on the wire and decoded; the record
  // stream carries it as a blank, so the row keeps its four fields.
  EXPECT_EQ(cell(1, 0), "North East");
  EXPECT_EQ(cell(1, 2), "back\\slash");
  EXPECT_EQ(cell(2, 0), "10.5");
  EXPECT_EQ(cell(0, 2), "3");
  EXPECT_FALSE(table().fields[1].cells[1].flags & kCellPresent);
  EXPECT_FALSE(table().fields[2].cells[1].flags & kCellPresent);
  char source[1024], object[1024];
  vlm_GetDataServer(source, object, nullptr);
  EXPECT_EQ(std::string(source).find("word"), std::string::npos) << source;
  EXPECT_NE(std::string(source).find("postgresql://guarded@"), std::string::npos) << source;
  EXPECT_STREQ(object, "sales");
  for (const auto& m : messagesOf(HM_RECENT_FILE)) EXPECT_EQ(m.text.find("word"), std::string::npos) << m.text;
}

TEST_F(PostgresSourceTest, SamplingIsDoneOnTheServerAndRowIdsNameTheSourceRows) {
  ASSERT_EQ(server_->sql("DROP TABLE IF EXISTS big; CREATE TABLE big(id integer, label text);"
                         "INSERT INTO big SELECT i, 'r' || i FROM generate_series(0, 4999) AS i;"),
            "");
  struct Case {
    int32_t method;
    std::string each, percent, from, to, step;
    std::vector<int32_t> expected;  // empty: checked by its share
  };
  std::vector<int32_t> eachSeven, window;
  for (int32_t i = 0; i < 5000; i += 7) eachSeven.push_back(i);
  for (int32_t i = 1000; i <= 1100; i += 25) window.push_back(i);
  const std::vector<Case> cases = {
      {SAMPLE_EACH, "7", "", "", "", "", eachSeven},
      {SAMPLE_RANGE, "", "", "1000", "1100", "25", window},
      {SAMPLE_RANDOM, "", "2", "", "", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method);
    Workspace::instance().closeCurrentDatabase();
    answerLoadControl(c.method, c.each, c.percent, c.from, c.to, c.step);
    state().main->loadControl.samplingAccepted = 0;  // the dialog asks again
    ASSERT_TRUE(openFile(server_->uri()));
    EXPECT_TRUE(boxTexts().empty());
    std::vector<int32_t> ids(table().rowIds.begin(), table().rowIds.begin() + table().rowCount);
    if (!c.expected.empty()) {
      EXPECT_EQ(ids, c.expected);
    } else {
      EXPECT_EQ(ids.size(), 100u);
      EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    }
    // Each row is the source row its id names, and Go To finds it there.
    for (int32_t k = 0; k < table().rowCount; ++k) {
      ASSERT_EQ(cell(0, k), std::to_string(ids[static_cast<size_t>(k)]));
      ASSERT_EQ(cell(1, k), "r" + std::to_string(ids[static_cast<size_t>(k)]));
    }
    if (!ids.empty()) {
      EXPECT_EQ(vlm_GetRowIndex(DSK_ACCESS, table().rowCount - 1), ids.back());
    }
    resetBoxes();
  }
}

// A random sample of a large table is read on two connections at once. A
// failure on the second, after the first sent all its rows, ends the load
// with the server's words, as a failure in the middle of one stream does:
// the rows read before it stay, each under its own row id.
TEST_F(PostgresSourceTest, ASampleThatFailsOnItsSecondConnectionSaysWhy) {
  ASSERT_EQ(server_->sql("DROP TABLE IF EXISTS shown; CREATE TABLE shown AS SELECT i AS id FROM generate_series(0, 9) AS i;"
                         "DROP TABLE IF EXISTS fragile; CREATE TABLE fragile(id integer, label text, pad text);"
                         "INSERT INTO fragile SELECT i, 'row number ' || i, repeat('.', 150) FROM generate_series(0, 59999) AS i;"
                         "ALTER TABLE fragile ENABLE ROW LEVEL SECURITY;"
                         // Only the rows' own query fails, not the count before it.
                         "CREATE POLICY reading ON fragile USING (current_query() NOT LIKE 'COPY%'"
                         " OR 1 / (id - 59000) IS NOT NULL);"),
            "");
  ASSERT_EQ(server_->guardedRole("two parts"), "");
  std::string uri = server_->uri("guarded");
  uri.insert(uri.find('@'), ":two%20parts");
  ASSERT_TRUE(openFile(uri));
  const auto& objects = table().accessObjects;
  auto indexOf = [&](const std::string& name) {
    const auto it = std::find_if(objects.begin(), objects.end(), [&](const AccessObject& o) { return o.name == name; });
    return it == objects.end() ? -1 : static_cast<int>(it - objects.begin());
  };
  ASSERT_GE(indexOf("shown"), 0);
  ASSERT_GE(indexOf("fragile"), 0);
  vlm_LoadDataTable(indexOf("shown"), 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(table().rowCount, 10);
  resetBoxes();
  answerLoadControl(SAMPLE_RANDOM, "", "2", "", "", "");
  state().main->loadControl.samplingAccepted = 0;
  vlm_LoadDataTable(indexOf("fragile"), 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("division by zero"), std::string::npos) << boxTexts()[0];
  EXPECT_EQ(messagesOf(HM_BUSY).back().wParam, 0u);
  // Of the 1200 rows drawn some 1180 lie before the failing one, beyond the
  // first part's 36 000 rows: the second part's rows before it came too.
  ASSERT_GT(table().rowCount, 1000);
  ASSERT_LT(table().rowCount, 1200);
  for (int32_t k = 0; k < table().rowCount; ++k) {
    const int32_t id = table().rowIds[static_cast<size_t>(k)];
    ASSERT_LT(id, 59000);
    ASSERT_EQ(cell(0, k), std::to_string(id));
    if (k > 0) {
      ASSERT_LT(table().rowIds[static_cast<size_t>(k - 1)], id);
    }
  }
}

TEST_F(PostgresSourceTest, LoadSelectionOnlyReadsTheSelectedRowsUnderTheirRowIds) {
  ASSERT_EQ(server_->sql("DROP TABLE IF EXISTS readings; CREATE TABLE readings(id integer, site text,"
                         " level double precision, taken timestamp);"
                         "INSERT INTO readings SELECT i, CASE i % 4 WHEN 0 THEN 'North' WHEN 1 THEN 'south'"
                         " WHEN 2 THEN 'NorthEast' END, CASE WHEN i % 10 = 0 THEN NULL ELSE i * 0.37 END,"
                         " TIMESTAMP '2024-01-01' + i * INTERVAL '7 hours' FROM generate_series(0, 1999) AS i;"),
            "");
  ASSERT_TRUE(openFile(server_->uri()));
  auto& objects = table().accessObjects;
  const auto it = std::find_if(objects.begin(), objects.end(), [](const AccessObject& o) { return o.name == "readings"; });
  ASSERT_NE(it, objects.end());
  vlm_LoadDataTable(static_cast<int>(it - objects.begin()), 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(table().rowCount, 2000);
  // The rows the Selector selects here are the rows the server must send.
  auto reloadedIds = [&] {
    return std::vector<int32_t>(table().rowIds.begin(), table().rowIds.begin() + table().rowCount);
  };
  const std::vector<int32_t> first = selectedRowIdsAfter([&] {
    table().fields[2].selector.includeMissing = true;
    ASSERT_TRUE(selector::setRange(state(), 2, 50.0, 400.0));
    ASSERT_TRUE(selector::setMethod(state(), 1, selector::kSubstring));
    ASSERT_TRUE(selector::pressKey(state(), 1, 0, "north"));
    ASSERT_TRUE(selector::setRange(state(), 3, 100, 1500));  // places in the sorted dates
  });
  ASSERT_GT(first.size(), 100u);
  ASSERT_LT(first.size(), 1000u);
  ASSERT_EQ(vlm_LoadSelectionOnly(), 1);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_EQ(reloadedIds(), first);
  for (int32_t k = 0; k < table().rowCount; ++k)
    ASSERT_EQ(cell(0, k), std::to_string(table().rowIds[static_cast<size_t>(k)]));
  EXPECT_EQ(vlm_GetRowIndex(DSK_ACCESS, table().rowCount - 1), first.back());

  // Narrowing the narrowed table keeps the first rows' conditions.
  const std::vector<int32_t> second = selectedRowIdsAfter([&] { ASSERT_TRUE(selector::setRange(state(), 0, 1000, 2000)); });
  ASSERT_FALSE(second.empty());
  ASSERT_LT(second.size(), first.size());
  ASSERT_EQ(vlm_LoadSelectionOnly(), 1);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_EQ(reloadedIds(), second);

  // Rows that select everything leave nothing out: said, and the table stays.
  ASSERT_EQ(vlm_LoadSelectionOnly(), 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("nothing to leave out"), std::string::npos) << boxTexts()[0];
  EXPECT_EQ(reloadedIds(), second);
  resetBoxes();

  // Load reads every row again.
  ASSERT_EQ(vlm_Load(0), 1);
  ASSERT_TRUE(settle());
  EXPECT_EQ(table().rowCount, 2000);
  EXPECT_EQ(table().rowIds[1999], 1999);

  // On a sample (every 10th row) a bound left at the sample's greatest value
  // takes in the table's rows beyond it: ids 500 to 1999, not to 1990.
  answerLoadControl(SAMPLE_EACH, "10", "", "", "", "");
  state().main->loadControl.samplingAccepted = 0;
  ASSERT_EQ(vlm_Load(1), 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(table().rowCount, 200);
  selectedRowIdsAfter([&] { ASSERT_TRUE(selector::setRange(state(), 0, 500, 1990)); });
  // The selection is a new set of rows: the Load Control asks about it.
  answerLoadControl(SAMPLE_ALL, "", "", "", "", "");
  ASSERT_EQ(vlm_LoadSelectionOnly(), 1);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  ASSERT_EQ(table().rowCount, 1500);
  EXPECT_EQ(table().rowIds[0], 500);
  EXPECT_EQ(table().rowIds[1499], 1999);
  EXPECT_EQ(cell(0, 1499), "1999");
}

// A Stop while the rows are read ahead of the loader ends the load with the
// rows stored so far; the stream's thread and query end with it, and the
// next load reads the table whole.
TEST_F(PostgresSourceTest, AStopWhileRowsAreReadAheadKeepsTheRowsSoFar) {
  ASSERT_EQ(server_->sql("DROP TABLE IF EXISTS long_load; CREATE TABLE long_load AS SELECT i AS id, 'r' || i AS label"
                         " FROM generate_series(0, 299999) AS i;"),
            "");
  // Runs on the data thread between chunks: the Stop comes once rows are in.
  dataHandlers().set(kStopAfterRows, [](EngineState& s, const platform::Command&) {
    if (s.data->rowCount >= 2000) s.main->abortFlag = 1;
    else postData(s, kStopAfterRows);
    return true;
  });
  ASSERT_TRUE(openFile(server_->uri()));
  const auto& objects = table().accessObjects;
  const auto it = std::find_if(objects.begin(), objects.end(), [](const AccessObject& o) { return o.name == "long_load"; });
  ASSERT_NE(it, objects.end());
  const int object = static_cast<int>(it - objects.begin());
  vlm_LoadDataTable(object, 1);
  postData(state(), kStopAfterRows);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_FALSE(streamOpen.load());
  const int32_t kept = table().rowCount;
  EXPECT_GE(kept, 2000);
  EXPECT_LT(kept, 300000);
  for (int32_t r = 0; r < kept; r += 997) {
    EXPECT_EQ(table().rowIds[static_cast<size_t>(r)], r);
    EXPECT_EQ(cell(0, r), std::to_string(r));
  }
  EXPECT_EQ(messagesOf(HM_BUSY).back().wParam, 0u);
  vlm_LoadDataTable(object, 1);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  EXPECT_EQ(table().rowCount, 300000);
}

TEST_F(PostgresSourceTest, AnUnreachableServerSaysSoAndKeepsTheLoadedTable) {
  ASSERT_TRUE(paste("a\r\n1\r\n"));
  ASSERT_TRUE(openFile("postgresql://tester@%2Fnonexistent-folder:5432/velmora"));
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("cannot be opened"), std::string::npos) << boxTexts()[0];
  EXPECT_NE(boxTexts()[0].find("nonexistent-folder"), std::string::npos) << boxTexts()[0];
  EXPECT_EQ(vlm_GetDataSource(), DSK_CLIPBOARD);
  EXPECT_EQ(table().rowCount, 1);
}

TEST_F(PostgresSourceTest, AModelsServerIsReopenedAskingForThePasswordItNeverHeld) {
  ASSERT_EQ(server_->sql("DROP TABLE IF EXISTS a; CREATE TABLE a(x integer); INSERT INTO a VALUES (1), (2);"
                         "DROP TABLE IF EXISTS b; CREATE TABLE b(y text); INSERT INTO b VALUES ('one');"),
            "");
  ASSERT_EQ(server_->guardedRole("sesame"), "");
  std::vector<platform::PasswordRequest> asked;
  std::vector<std::string> answers = {"wrong", "sesame"};
  platform::setPasswordHandler([&](const platform::PasswordRequest& r) -> std::optional<std::string> {
    asked.push_back(r);
    if (answers.empty()) return std::nullopt;
    std::string a = answers.front();
    answers.erase(answers.begin());
    return a;
  });
  std::vector<std::string> applied;
  setModelApplier([&](EngineState&, const std::string& model) { applied.push_back(model); });
  ReopenRequest r;
  r.candidates = {server_->uri("guarded")};
  r.object = "b";
  r.modelPath = "/tmp/sales.vlm";
  EXPECT_EQ(reopenModelSource(state(), r), ReopenResult::Loading);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty());
  // Asked twice: the second time saying why the first answer failed.
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].connection, server_->uri("guarded"));
  EXPECT_EQ(asked[0].reason, "");
  EXPECT_NE(asked[1].reason.find("password authentication failed"), std::string::npos) << asked[1].reason;
  ASSERT_EQ(table().rowCount, 1);
  EXPECT_EQ(cell(0, 0), "one");
  EXPECT_EQ(applied, (std::vector<std::string>{r.modelPath}));

  // Cancelled: nothing is said, and the table stays.
  Workspace::instance().closeCurrentDatabase();
  answers.clear();
  EXPECT_EQ(reopenModelSource(state(), r), ReopenResult::NoDatabase);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty());
  EXPECT_EQ(table().rowCount, 1);
  registerModelFileHandlers();  // the engine's own applier again, for the tests after this one
  setPendingModel(state(), "");
}

// A model saved on a server's table names the connection without its
// password; opened the next day it signs in again, asking for the password,
// and loads the table with the model on it.
TEST_F(PostgresSourceTest, AModelOnAServerTableReopensItAskingForThePassword) {
  ASSERT_EQ(server_->sql("DROP TABLE IF EXISTS \"odd; name=x\"; CREATE TABLE \"odd; name=x\"(k integer, v real);"
                         "INSERT INTO \"odd; name=x\" VALUES (1, 0.5), (2, 1.5), (3, 2.5);"
                         "DROP TABLE IF EXISTS aaa_first; CREATE TABLE aaa_first(z integer); INSERT INTO aaa_first VALUES (9);"),
            "");
  ASSERT_EQ(server_->guardedRole("open sesame"), "");
  std::string uri = server_->uri("guarded");
  uri.insert(uri.find('@'), ":open%20sesame");
  ASSERT_TRUE(openFile(uri));
  auto& objects = table().accessObjects;
  const auto it = std::find_if(objects.begin(), objects.end(), [](const AccessObject& o) { return o.name == "odd; name=x"; });
  ASSERT_NE(it, objects.end());
  vlm_LoadDataTable(static_cast<int>(it - objects.begin()), 1);
  ASSERT_TRUE(settle());
  ASSERT_EQ(table().rowCount, 3);
  vlm_DeleteAllAssociations();
  vlm_AssociateField(1, 0, ATTRIB_AXISY, 60, 0);
  const auto folder = std::filesystem::temp_directory_path() / ("velmora-pgmodel-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string model = (folder / "readings.vlm").string();
  ASSERT_EQ(writeModelFile(state(), model), 1);
  std::string bytes, error;
  ASSERT_TRUE(platform::readWholeFile(model, bytes, error)) << error;
  EXPECT_EQ(bytes.find("sesame"), std::string::npos) << bytes;
  const platform::ProfileDocument doc = platform::ProfileDocument::parse(bytes);
  EXPECT_EQ(doc.get("Source", "SourceFull", ""), table().sourcePath);
  EXPECT_NE(doc.get("Source", "SourceFull", "").find("postgresql://guarded@"), std::string::npos);
  EXPECT_EQ(doc.get("Source", "Table", ""), "odd; name=x");

  // The next day: other data on view, the server signed out.
  ASSERT_TRUE(paste("x\ty\r\n1\t2\r\n"));
  Workspace::instance().closeCurrentDatabase();
  vlm_DeleteAllAssociations();
  state().model->saved = 1;
  std::vector<platform::PasswordRequest> asked;
  platform::setPasswordHandler([&](const platform::PasswordRequest& r) -> std::optional<std::string> {
    asked.push_back(r);
    return std::string("open sesame");
  });
  vlm_OpenModel(model.c_str());
  ASSERT_TRUE(settle());
  EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].connection, doc.get("Source", "SourceFull", ""));
  EXPECT_EQ(vlm_GetDataSource(), DSK_ACCESS);
  ASSERT_EQ(table().rowCount, 3);
  EXPECT_EQ(cell(1, 2), "2.5");
  EXPECT_EQ(vlm_AttributeToField(ATTRIB_AXISY), 1);
  EXPECT_EQ(pendingModel(state()), "");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vlm
