#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <fstream>

#include "platform/database/database.h"
#include "platform/database/date_text.h"
#include "platform/database/mdb_database.h"
#include "platform/database/sqlite_database.h"
#include "platform/support/sqlite_file.h"

namespace vlm::platform::db {
namespace {

using Clock = std::chrono::steady_clock;

class SqliteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("velmora-sqlite-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    file_ = dir_ / "test.sqlite";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::unique_ptr<Database> open() {
    std::string error;
    auto db = openDatabaseFile(file_.string(), error);
    EXPECT_TRUE(db) << error;
    return db;
  }
  // Every row of an object as texts ("NULL" for a NULL).
  std::vector<std::vector<std::string>> rows(Database& db, const ObjectInfo& o, RowSelection s = RowSelection::all()) {
    std::string error;
    auto cursor = db.open(o, s, error);
    EXPECT_TRUE(cursor) << error;
    std::vector<std::vector<std::string>> out;
    if (!cursor) return out;
    while (cursor->next(Clock::now() + std::chrono::seconds(10)) == Step::Row) {
      std::vector<std::string> row;
      for (int c = 0; c < cursor->columnCount(); ++c) {
        std::string_view t;
        row.push_back(cursor->cell(c, t) ? std::string(t) : "NULL");
      }
      out.push_back(row);
    }
    return out;
  }
  std::filesystem::path dir_, file_;
};

TEST_F(SqliteTest, ListsTablesAndViewsByNameWithoutInternalTables) {
  ASSERT_EQ(test::runSql(file_,
                         "CREATE TABLE zeta(a); CREATE TABLE Alpha(a INTEGER PRIMARY KEY AUTOINCREMENT);"
                         "CREATE VIEW beta AS SELECT * FROM zeta; CREATE INDEX zi ON zeta(a);"),
            "");
  auto db = open();
  std::string error;
  auto objects = db->objects(error);
  ASSERT_TRUE(objects);
  ASSERT_EQ(objects->size(), 3u);  // sqlite_sequence is left out
  EXPECT_EQ((*objects)[0].name, "Alpha");
  EXPECT_EQ((*objects)[1].name, "beta");
  EXPECT_EQ((*objects)[1].kind, ObjectKind::Query);
  EXPECT_EQ((*objects)[2].name, "zeta");
  EXPECT_EQ((*objects)[2].kind, ObjectKind::Table);
  EXPECT_EQ(db->engineName(), "SQLite");
}

TEST(SqliteColumnKinds, DeclaredTypesFollowTheAffinityRules) {
  EXPECT_EQ(sqliteColumnKind("INTEGER"), ColumnKind::Integer);
  EXPECT_EQ(sqliteColumnKind("bigint"), ColumnKind::BigInteger);
  EXPECT_EQ(sqliteColumnKind("UNSIGNED BIG INT"), ColumnKind::Integer);
  EXPECT_EQ(sqliteColumnKind("INT8"), ColumnKind::BigInteger);
  EXPECT_EQ(sqliteColumnKind("TINYINT"), ColumnKind::Byte);
  EXPECT_EQ(sqliteColumnKind("smallint"), ColumnKind::SmallInteger);
  EXPECT_EQ(sqliteColumnKind("BOOLEAN"), ColumnKind::Boolean);
  EXPECT_EQ(sqliteColumnKind("VARCHAR(40)"), ColumnKind::Text);
  EXPECT_EQ(sqliteColumnKind("CLOB"), ColumnKind::Memo);
  EXPECT_EQ(sqliteColumnKind("BLOB"), ColumnKind::Binary);
  EXPECT_EQ(sqliteColumnKind("DOUBLE PRECISION"), ColumnKind::Double);
  EXPECT_EQ(sqliteColumnKind("FLOAT"), ColumnKind::Double);
  EXPECT_EQ(sqliteColumnKind("DECIMAL(10,5)"), ColumnKind::Double);
  EXPECT_EQ(sqliteColumnKind("MONEY"), ColumnKind::Currency);
  EXPECT_EQ(sqliteColumnKind("DATE"), ColumnKind::DateTime);
  EXPECT_EQ(sqliteColumnKind("TIMESTAMP"), ColumnKind::DateTime);
  // "POINT" holds "INT": SQLite's first rule gives it integer affinity.
  EXPECT_EQ(sqliteColumnKind("POINT"), ColumnKind::Integer);
  EXPECT_EQ(sqliteColumnKind(""), ColumnKind::Unknown);
  EXPECT_EQ(sqliteColumnKind("WHATEVER"), ColumnKind::Unknown);
}

TEST_F(SqliteTest, ColumnsWithoutDeclaredTypesTakeTheKindOfTheirValues) {
  ASSERT_EQ(test::runSql(file_,
                         "CREATE TABLE t(a INTEGER, b TEXT, c);"
                         "INSERT INTO t VALUES (1, 'x', 2.5), (2, NULL, NULL);"
                         "CREATE VIEW v AS SELECT a * 2 AS twice, a || b AS joined, c, NULL AS blank FROM t;"),
            "");
  auto db = open();
  std::string error;
  auto cols = db->columns({"v", ObjectKind::Query}, error);
  ASSERT_TRUE(cols) << error;
  ASSERT_EQ(cols->size(), 4u);
  EXPECT_EQ((*cols)[0].name, "twice");
  EXPECT_EQ((*cols)[0].kind, ColumnKind::Integer);
  EXPECT_EQ((*cols)[1].kind, ColumnKind::Text);
  EXPECT_EQ((*cols)[2].kind, ColumnKind::Double);
  EXPECT_EQ((*cols)[3].kind, ColumnKind::Text);  // NULL only
  auto table = db->columns({"t", ObjectKind::Table}, error);
  ASSERT_TRUE(table);
  EXPECT_EQ((*table)[2].kind, ColumnKind::Double);
}

TEST_F(SqliteTest, CursorGivesNullsBlobsAndDatesAsTexts) {
  ASSERT_EQ(test::runSql(file_,
                         "CREATE TABLE t(d DATETIME, b BLOB, n INTEGER, r REAL, s TEXT);"
                         "INSERT INTO t VALUES ('2020-02-29 12:00:00', x'00010203', NULL, 1.5, 'a\tb');"
                         "INSERT INTO t VALUES (86400, NULL, 7, -2.25, '');"
                         "INSERT INTO t VALUES (2440588.5, zeroblob(0), 1, 0.1, NULL);"),
            "");
  auto db = open();
  const auto r = rows(*db, {"t", ObjectKind::Table});
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0], (std::vector<std::string>{"2020-02-29 12:00:00", "4 bytes", "NULL", "1.5", "a\tb"}));
  // Dates kept as Unix time (integer) or as a Julian day (real).
  EXPECT_EQ(r[1][0], "1970-01-02 00:00:00");
  EXPECT_EQ(r[1][2], "7");
  EXPECT_EQ(r[1][4], "");
  EXPECT_EQ(r[2][0], "1970-01-02 00:00:00");
  EXPECT_EQ(r[2][1], "0 bytes");
}

TEST(DateTexts, UnixTimeAndJulianDays) {
  EXPECT_EQ(unixTimeText(0), "1970-01-01 00:00:00");
  EXPECT_EQ(unixTimeText(-1), "1969-12-31 23:59:59");
  EXPECT_EQ(unixTimeText(951782400), "2000-02-29 00:00:00");
  EXPECT_EQ(unixTimeText(253402300799), "9999-12-31 23:59:59");
  EXPECT_EQ(unixTimeText(253402300800), "253402300800");  // no such date: the number stays
  EXPECT_EQ(julianDayText(2451544.5), "2000-01-01 00:00:00");
  EXPECT_EQ(julianDayText(1e300), "");
}

TEST_F(SqliteTest, NamesWithQuotesAndBracketsAreQuoted) {
  EXPECT_EQ(quoteSqliteName("a\"b"), "\"a\"\"b\"");
  ASSERT_EQ(test::runSql(file_, "CREATE TABLE \"we\"\"ird [x]\"(\"col]\" INTEGER); INSERT INTO \"we\"\"ird [x]\" VALUES (5);"), "");
  auto db = open();
  std::string error;
  const ObjectInfo o{"we\"ird [x]", ObjectKind::Table};
  EXPECT_EQ(db->rowCount(o, error).value_or(-1), 1) << error;
  auto cols = db->columns(o, error);
  ASSERT_TRUE(cols);
  EXPECT_EQ((*cols)[0].name, "col]");
  EXPECT_EQ(rows(*db, o)[0][0], "5");
}

TEST_F(SqliteTest, RowSelectionsReadAWindowAndReportSourceRows) {
  ASSERT_EQ(test::runSql(file_, test::numberedTableSql("t", 50)), "");
  auto db = open();
  std::string error;
  auto cursor = db->open({"t", ObjectKind::Table}, {10, 3, 1}, error);
  ASSERT_TRUE(cursor);
  std::vector<int64_t> seen;
  while (cursor->next(Clock::now() + std::chrono::seconds(5)) == Step::Row) {
    std::string_view id;
    ASSERT_TRUE(cursor->cell(0, id));
    EXPECT_EQ(std::to_string(cursor->sourceRow()), std::string(id));
    seen.push_back(cursor->sourceRow());
  }
  EXPECT_EQ(seen, (std::vector<int64_t>{10, 11, 12}));
  EXPECT_EQ(db->rowCount({"t", ObjectKind::Table}, error).value_or(-1), 50);
}

TEST_F(SqliteTest, FilesThatAreNoDatabasesAreRefusedWithTheirNames) {
  std::string error;
  EXPECT_FALSE(openDatabaseFile((dir_ / "missing.sqlite").string(), error));
  EXPECT_NE(error.find("missing.sqlite"), std::string::npos);
  std::ofstream(dir_ / "text.db") << "name\tvalue\nx\t1\n";
  EXPECT_FALSE(looksLikeDatabaseFile((dir_ / "text.db").string()));
  EXPECT_FALSE(openDatabaseFile((dir_ / "text.db").string(), error));
  EXPECT_NE(error.find("\"text.db\" is not a database file"), std::string::npos);
  // A SQLite header over garbage: the engine says the file is damaged.
  std::string bytes = "SQLite format 3";
  bytes.push_back('\0');
  bytes += std::string(4000, '\x5a');
  std::ofstream(dir_ / "broken.sqlite", std::ios::binary) << bytes;
  EXPECT_TRUE(looksLikeDatabaseFile((dir_ / "broken.sqlite").string()));
  EXPECT_FALSE(openDatabaseFile((dir_ / "broken.sqlite").string(), error));
  EXPECT_NE(error.find("cannot be opened"), std::string::npos);
}

TEST_F(SqliteTest, ALockedDatabaseAndAFailingViewReportWhy) {
  ASSERT_EQ(test::runSql(file_, test::numberedTableSql("t", 20) +
                                    "CREATE TABLE gone(a); CREATE VIEW broken AS SELECT * FROM gone; DROP TABLE gone;"
                                    "CREATE VIEW late AS SELECT id, CASE WHEN id < 5 THEN id ELSE json('not json') END AS v FROM t;"),
            "");
  auto db = open();
  std::string error;
  EXPECT_FALSE(db->rowCount({"broken", ObjectKind::Query}, error));
  EXPECT_NE(error.find("gone"), std::string::npos);
  // An error on the sixth row: five rows, then the failure.
  auto cursor = db->open({"late", ObjectKind::Query}, RowSelection::all(), error);
  ASSERT_TRUE(cursor);
  int good = 0;
  Step s;
  while ((s = cursor->next(Clock::now() + std::chrono::seconds(5))) == Step::Row) ++good;
  EXPECT_EQ(good, 5);
  EXPECT_EQ(s, Step::Failed);
  EXPECT_NE(cursor->error().find("JSON"), std::string::npos);

  // Another connection holds the file locked for writing.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(file_.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; INSERT INTO t VALUES (99, 'x', 1);", nullptr, nullptr, nullptr), SQLITE_OK);
  auto second = openDatabaseFile(file_.string(), error);
  EXPECT_FALSE(second);
  EXPECT_NE(error.find("locked"), std::string::npos) << error;
  sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(other);
}

TEST_F(SqliteTest, AStepThatOutlastsItsDeadlineFails) {
  ASSERT_EQ(test::runSql(file_,
                         "CREATE VIEW slow AS WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                         "WHERE i < 100000000) SELECT count(*) AS c FROM n;"),
            "");
  auto db = open();
  std::string error;
  auto cursor = db->open({"slow", ObjectKind::Query}, RowSelection::all(), error);
  ASSERT_TRUE(cursor) << error;
  const auto started = Clock::now();
  EXPECT_EQ(cursor->next(Clock::now() + std::chrono::milliseconds(50)), Step::Failed);
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(5));
  EXPECT_NE(cursor->error().find("in time"), std::string::npos);
}

}  // namespace
}  // namespace vlm::platform::db

namespace vlm::platform::db {
namespace {

// A file that begins as an Access database but holds nothing of one.
TEST(AccessFiles, AnAccessHeaderOverGarbageIsRefused) {
  const auto path = std::filesystem::temp_directory_path() / ("velmora-fake-" + std::to_string(::getpid()) + ".mdb");
  std::string bytes(4, '\0');
  bytes[1] = '\1';
  bytes += "Standard Jet DB";
  bytes.push_back('\0');
  bytes += std::string(8192 - bytes.size(), '\0');
  std::ofstream(path, std::ios::binary) << bytes;
  EXPECT_TRUE(isAccessFile(path.string()));
  std::string error;
  auto db = openDatabaseFile(path.string(), error);
  if (db) {
    // mdbtools may accept the header; the file still lists nothing it could read.
    auto objects = db->objects(error);
    EXPECT_TRUE(!objects || objects->empty());
  } else {
    EXPECT_NE(error.find("velmora-fake-"), std::string::npos) << error;
  }
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace vlm::platform::db
