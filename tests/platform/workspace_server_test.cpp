#include <gtest/gtest.h>

#include <fstream>

#include "platform/dde/conversation.h"
#include "platform/message_box.h"
#include "platform/support/sqlite_file.h"
#include "platform/support/workspace_fixture.h"
#include "platform/workspace/access_types.h"
#include "platform/workspace/workspace.h"
#include "platform/workspace/workspace_server.h"

namespace vlm::platform::workspace {
namespace {

using dde::Conversation;

TEST(WorkspaceNames, DataSourceNameDropsFolderAndMdb) {
  EXPECT_EQ(dataSourceName("C:\\Data\\Sales.MDB"), "Sales");
  EXPECT_EQ(dataSourceName("/home/u/shop.mdb\r\nmore"), "shop");
  EXPECT_EQ(dataSourceName("/home/u/cars.sqlite"), "cars.sqlite");
  EXPECT_EQ(dataSourceName("plain"), "plain");
  EXPECT_EQ(dataSourceName("/folder/"), "");
}

TEST(WorkspaceNames, TopicsAgainstTheOpenDatabase) {
  EXPECT_EQ(parseTopic("system", "db").kind, TopicKind::System);
  EXPECT_EQ(parseTopic("DB", "db").kind, TopicKind::Database);
  TopicName t = parseTopic("db;TABLE My Table", "db");
  EXPECT_EQ(t.kind, TopicKind::Table);
  EXPECT_EQ(t.name, "My Table");
  t = parseTopic("db; QUERY q;1", "db");
  EXPECT_EQ(t.kind, TopicKind::Query);
  EXPECT_EQ(t.name, "q;1");
  t = parseTopic("db; SQL SELECT Count(*) FROM [x];", "db");
  EXPECT_EQ(t.kind, TopicKind::Sql);
  EXPECT_EQ(parseTopic("other;TABLE t", "db").kind, TopicKind::None);
  EXPECT_EQ(parseTopic("db;TABLE ", "db").kind, TopicKind::None);
  EXPECT_EQ(parseTopic("db;VIEW t", "db").kind, TopicKind::None);
  EXPECT_EQ(parseTopic("dbx", "db").kind, TopicKind::None);
  EXPECT_EQ(parseTopic("db", "").kind, TopicKind::None);
}

TEST(WorkspaceNames, CountSqlAndMacroCommands) {
  EXPECT_EQ(countedObject("SELECT Count(*) FROM [Orders];"), "Orders");
  EXPECT_EQ(countedObject(" select count ( * ) from [a]b] ; "), "a]b");
  EXPECT_EQ(countedObject("SELECT * FROM [a];"), "");
  EXPECT_EQ(countedObject("SELECT Count(*) FROM a;"), "");

  ExecuteCommand c;
  ASSERT_TRUE(parseExecute("[OpenTable \"My \"\"Big\"\" Table\",0,2]", c));
  EXPECT_EQ(c.verb, "OpenTable");
  EXPECT_EQ(c.name, "My \"Big\" Table");
  ASSERT_TRUE(parseExecute("[GoToRecord 1,\"q\",4,11]", c));
  EXPECT_EQ(c.verb, "GoToRecord");
  EXPECT_EQ(c.objectType, 1);
  EXPECT_EQ(c.name, "q");
  EXPECT_EQ(c.record, 11);
  EXPECT_FALSE(parseExecute("[GoToRecord 0,\"q\",4,x]", c));
  EXPECT_FALSE(parseExecute("OpenTable \"t\"", c));
  EXPECT_FALSE(parseExecute("[OpenTable \"t]", c));
}

TEST(WorkspaceTypes, AccessCodesOfColumnKinds) {
  using K = db::ColumnKind;
  EXPECT_EQ(accessTypeCode(K::Boolean), 1);
  EXPECT_EQ(accessTypeCode(K::Integer), 4);
  EXPECT_EQ(accessTypeCode(K::BigInteger), 4);
  EXPECT_EQ(accessTypeCode(K::Currency), 5);
  EXPECT_EQ(accessTypeCode(K::Double), 7);
  EXPECT_EQ(accessTypeCode(K::DateTime), 8);
  EXPECT_EQ(accessTypeCode(K::Text), 10);
  EXPECT_EQ(accessTypeCode(K::Binary), 11);
  EXPECT_EQ(accessTypeCode(K::Memo), 12);
}

// The workspace on a real file, spoken to through the conversation layer.
class WorkspaceTest : public WorkspaceFixture {
 protected:
  void SetUp() override {
    startWorkspace("velmora-ws-", "shop.sqlite");
    std::filesystem::remove(file_);
  }
};

TEST_F(WorkspaceTest, AnswersTheTopicsAndItemsOfTheLoader) {
  ASSERT_EQ(test::runSql(file_, test::numberedTableSql("Orders", 3) +
                                    "CREATE TABLE Empty(x TEXT); CREATE VIEW Big AS SELECT * FROM Orders WHERE id > 0;"),
            "");
  Workspace& w = Workspace::instance();
  EXPECT_EQ(ask("System", "Status"), "Ready");
  EXPECT_EQ(ask("System", "Topics"), "System");
  ASSERT_TRUE(w.openCurrentDatabase(file_.string()));
  EXPECT_EQ(ask("System", "Topics"), "System\t" + file_.string());
  EXPECT_EQ(ask("shop.sqlite", "TableList"), "Empty\tOrders");
  EXPECT_EQ(ask("SHOP.SQLITE", "QueryList"), "Big");
  EXPECT_EQ(ask("shop.sqlite;TABLE Orders", "FieldNames;T"), "id\tlabel\tvalue\r\n4\t10\t7\r\n");
  EXPECT_EQ(ask("shop.sqlite;QUERY Big", "FieldNames"), "id\tlabel\tvalue\r\n");
  EXPECT_EQ(ask("shop.sqlite; SQL SELECT Count(*) FROM [Big];", "NextRow"), "2");
  EXPECT_EQ(ask("shop.sqlite; SQL SELECT Count(*) FROM [Empty];", "NextRow"), "0");

  Conversation stream = Conversation::connect(kServiceName, "shop.sqlite; TABLE Orders");
  std::string record;
  std::vector<std::string> records;
  while (stream.request("NextRow", record)) records.push_back(record);
  EXPECT_EQ(records, (std::vector<std::string>{"0\tr0\t0.0", "1\tr1\t0.25", "2\tr2\t0.5"}));
  EXPECT_FALSE(stream.request("NextRow", record));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(WorkspaceTest, FailuresAreReportedByTheWorkspaceAndAnswerNothing) {
  ASSERT_EQ(test::runSql(file_, "CREATE TABLE gone(a); CREATE VIEW v AS SELECT * FROM gone; DROP TABLE gone;"), "");
  Workspace& w = Workspace::instance();
  ASSERT_TRUE(w.openCurrentDatabase(file_.string()));
  EXPECT_EQ(ask("shop.sqlite; SQL SELECT Count(*) FROM [v];", "NextRow"), "<none>");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("\"v\" cannot be read"), std::string::npos);
  EXPECT_EQ(ask("shop.sqlite; SQL SELECT Count(*) FROM [nothing];", "NextRow"), "<none>");
  EXPECT_EQ(ask("shop.sqlite; SQL DELETE FROM v;", "NextRow"), "<none>");
  // A file that is no database says why and leaves the open one open.
  std::ofstream(dir_ / "notes.txt") << "hello";
  boxes_.clear();
  EXPECT_FALSE(w.openCurrentDatabase((dir_ / "notes.txt").string()));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("notes.txt"), std::string::npos);
  EXPECT_EQ(w.currentPath(), file_.string());
}

TEST_F(WorkspaceTest, AStreamEndsWhenItsDatabaseIsClosedAndIgnoredRequestsRefuseConversations) {
  ASSERT_EQ(test::runSql(file_, test::numberedTableSql("t", 5)), "");
  Workspace& w = Workspace::instance();
  ASSERT_TRUE(w.openCurrentDatabase(file_.string()));
  Conversation stream = Conversation::connect(kServiceName, "shop.sqlite;TABLE t");
  std::string record;
  ASSERT_TRUE(stream.request("NextRow", record));
  w.closeCurrentDatabase();
  EXPECT_FALSE(stream.request("NextRow", record));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("closed"), std::string::npos);

  w.setOption(kIgnoreRequests, 1);
  EXPECT_FALSE(Conversation::connect(kServiceName, "System").connected());
  w.setOption(kIgnoreRequests, 0);
  EXPECT_TRUE(Conversation::connect(kServiceName, "System").connected());
  w.quit();
  EXPECT_FALSE(w.running());
  EXPECT_FALSE(Conversation::connect(kServiceName, "System").connected());
  EXPECT_TRUE(w.start());
  EXPECT_FALSE(w.start());
}

TEST(WorkspaceRecords, CellsKeepOneCellPerField) {
  class Row : public db::Cursor {
   public:
    db::Step next(std::chrono::steady_clock::time_point) override { return db::Step::Row; }
    int columnCount() const override { return 4; }
    bool cell(int c, std::string_view& t) override {
      static const std::string texts[] = {"a\tb", "", "line\r\nbreak", std::string("n\0ul", 4)};
      if (c == 1) return false;
      t = texts[c];
      return true;
    }
    int64_t sourceRow() const override { return 0; }
    const std::string& error() const override { return e; }
    std::string e;
  } row;
  std::string out = "x";
  appendRecord(row, out);
  EXPECT_EQ(out, "xa b\t\tline  break\tn ul");
}

}  // namespace
}  // namespace vlm::platform::workspace
