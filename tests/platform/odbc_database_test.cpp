#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/database/database.h"
#include "platform/database/odbc_database.h"
#include "platform/support/sqlite_file.h"

namespace vlm::platform::db {
namespace {

using Clock = std::chrono::steady_clock;
using Rows = std::vector<std::vector<std::string>>;

// The ODBC engine over the SQLite ODBC driver, on a file the test writes.
class OdbcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!odbcEngineAvailable()) GTEST_SKIP() << "this build has no ODBC driver manager";
    dir_ = std::filesystem::temp_directory_path() / ("velmora-odbc-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    file_ = dir_ / "shop.sqlite";
    std::filesystem::remove(file_);
    std::string error;
    auto probe = openDatabase(source(), {}, error);
    if (!probe && error.find("river") != std::string::npos)
      GTEST_SKIP() << "the SQLite ODBC driver is not installed: " << error;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string source() const { return "odbc:DRIVER=SQLite3;DATABASE=" + file_.string(); }
  static Rows rows(Database& db, const ObjectInfo& o, std::string* failure = nullptr) {
    std::string error;
    auto cursor = db.open(o, RowSelection::all(), error);
    EXPECT_TRUE(cursor) << error;
    Rows out;
    if (!cursor) return out;
    Step step;
    while ((step = cursor->next(Clock::now() + std::chrono::seconds(10))) == Step::Row) {
      std::vector<std::string> row;
      for (int c = 0; c < cursor->columnCount(); ++c) {
        std::string_view t;
        row.push_back(cursor->cell(c, t) ? std::string(t) : "NULL");
      }
      out.push_back(row);
    }
    if (failure) *failure = step == Step::Failed ? cursor->error() : std::string();
    else EXPECT_EQ(step, Step::End) << cursor->error();
    return out;
  }
  std::filesystem::path dir_, file_;
};

TEST_F(OdbcTest, TablesViewsTypesAndValuesThroughTheDriver) {
  ASSERT_EQ(test::runSql(file_,
                         "CREATE TABLE \"odd \"\"name\"\" [x]\"(id INTEGER, label TEXT, amount DOUBLE, sold DATE,"
                         " big BIGINT);"
                         "INSERT INTO \"odd \"\"name\"\" [x]\" VALUES (1, 'it''s', 0.1, '2024-02-29', 9000000000),"
                         " (2, NULL, NULL, NULL, NULL), (3, 'a\"b', -2.5, '2024-12-31', -1);"
                         "CREATE VIEW cheap AS SELECT id, amount FROM \"odd \"\"name\"\" [x]\" WHERE amount < 1;"),
            "");
  std::string error;
  auto db = openDatabase(source(), {}, error);
  ASSERT_TRUE(db) << error;
  EXPECT_NE(db->engineName().find("ODBC"), std::string::npos);
  auto objects = db->objects(error);
  ASSERT_TRUE(objects) << error;
  ASSERT_EQ(objects->size(), 2u);
  const ObjectInfo table = objects->at(0).kind == ObjectKind::Table ? objects->at(0) : objects->at(1);
  const ObjectInfo view = objects->at(0).kind == ObjectKind::Table ? objects->at(1) : objects->at(0);
  EXPECT_EQ(table.name, "odd \"name\" [x]");
  EXPECT_EQ(view.name, "cheap");
  EXPECT_EQ(view.kind, ObjectKind::Query);
  auto columns = db->columns(table, error);
  ASSERT_TRUE(columns) << error;
  ASSERT_EQ(columns->size(), 5u);
  EXPECT_EQ((*columns)[0].kind, ColumnKind::Integer);
  EXPECT_EQ((*columns)[2].kind, ColumnKind::Double);
  EXPECT_EQ((*columns)[3].kind, ColumnKind::DateTime);
  EXPECT_EQ((*columns)[4].kind, ColumnKind::BigInteger);
  EXPECT_EQ(db->rowCount(table, error), 3);
  EXPECT_EQ(rows(*db, table), (Rows{{"1", "it's", "0.1", "2024-02-29", "9000000000"},
                                    {"2", "NULL", "NULL", "NULL", "NULL"},
                                    {"3", "a\"b", "-2.5", "2024-12-31", "-1"}}));
  EXPECT_EQ(rows(*db, view), (Rows{{"1", "0.1"}, {"3", "-2.5"}}));

  // A filter is a WHERE clause in the driver's quotes.
  auto filter = std::make_shared<RowFilter>();
  RowCondition label;
  label.column = "label";
  label.kind = ConditionKind::Substring;
  label.text = "IT'";
  filter->conditions = {label};
  ObjectInfo filtered = table;
  filtered.filter = filter;
  EXPECT_EQ(db->rowCount(filtered, error), 1) << error;
  EXPECT_EQ(rows(*db, filtered), (Rows{{"1", "it's", "0.1", "2024-02-29", "9000000000"}}));
  // A filtered row knows its row of the whole table.
  label.text = "\"";
  filter->conditions = {label};
  auto cursor = db->open(filtered, RowSelection::all(), error);
  ASSERT_TRUE(cursor) << error;
  ASSERT_EQ(cursor->next(Clock::now() + std::chrono::seconds(10)), Step::Row) << cursor->error();
  EXPECT_EQ(cursor->sourceRow(), 0);
  EXPECT_EQ(cursor->baseRow(), 2);
  EXPECT_EQ(cursor->columnCount(), 5);
  std::string_view id;
  ASSERT_TRUE(cursor->cell(0, id));
  EXPECT_EQ(id, "3");
  EXPECT_EQ(cursor->next(Clock::now() + std::chrono::seconds(10)), Step::End) << cursor->error();
  EXPECT_TRUE(db->reopen(error)) << error;
}

TEST_F(OdbcTest, FailuresSayWhatWentWrong) {
  ASSERT_EQ(test::runSql(file_, "CREATE TABLE gone(a); CREATE VIEW stale AS SELECT a FROM gone; DROP TABLE gone;"), "");
  std::string error;
  auto db = openDatabase(source(), {}, error);
  ASSERT_TRUE(db) << error;
  // A view whose table is gone fails when it is read.
  EXPECT_FALSE(db->columns({"stale", ObjectKind::Query}, error));
  EXPECT_NE(error.find("gone"), std::string::npos) << error;
  EXPECT_FALSE(db->columns({"nothing here", ObjectKind::Table}, error));
  EXPECT_FALSE(error.empty());
  // A driver that is not installed.
  EXPECT_FALSE(openDatabase("odbc:DRIVER={No Such Driver};DATABASE=x", {}, error));
  EXPECT_NE(error.find("cannot be opened"), std::string::npos) << error;
  // The password is not part of the connection shown.
  EXPECT_FALSE(openDatabase("odbc:DRIVER={No Such Driver};UID=ann;PWD=secret", {}, error));
  EXPECT_EQ(error.find("secret"), std::string::npos) << error;
}

}  // namespace
}  // namespace vlm::platform::db
