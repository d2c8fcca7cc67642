#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>

#include "engine/commands/handler_table.h"
#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "platform/database/postgres_database.h"
#include "platform/password_prompt.h"
#include "platform/support/postgres_server.h"
#include "platform/workspace/workspace.h"
#include "sources/access/access_session.h"
#include "sources/access/database_reopen.h"
#include "sources/load_control_dialog.h"
#include "sources/load_model.h"
#include "sources/support/source_fixture.h"

namespace vlm {
namespace {

using platform::workspace::Workspace;

constexpr int32_t kPing = 1024 + 401;  // no command of the engine uses this number
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
  setModelApplier(nullptr);
  setPendingModel(state(), "");
}

}  // namespace
}  // namespace vlm
