#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "platform/database/database.h"
#include "platform/database/postgres_database.h"
#include "platform/support/postgres_server.h"
#include "platform/workspace/access_types.h"

namespace vlm::platform::db {
namespace {

using Clock = std::chrono::steady_clock;
using Rows = std::vector<std::vector<std::string>>;

class PostgresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!postgresEngineAvailable()) GTEST_SKIP() << "this build has no PostgreSQL client library";
    std::string why;
    server_ = test::PostgresServer::shared(why);
    if (!server_) GTEST_SKIP() << "no PostgreSQL server for the test: " << why;
  }
  std::unique_ptr<Database> open(const std::string& source) {
    std::string error;
    auto db = openDatabase(source, {}, error);
    EXPECT_TRUE(db) << error;
    return db;
  }
  void sql(const std::string& statements) { ASSERT_EQ(server_->sql(statements), ""); }
  static Rows rows(Database& db, const ObjectInfo& o, RowSelection s = RowSelection::all(),
                   std::vector<int64_t>* sourceRows = nullptr) {
    std::string error;
    auto cursor = db.open(o, s, error);
    EXPECT_TRUE(cursor) << error;
    Rows out;
    if (!cursor) return out;
    Step step;
    while ((step = cursor->next(Clock::now() + std::chrono::seconds(20))) == Step::Row) {
      std::vector<std::string> row;
      for (int c = 0; c < cursor->columnCount(); ++c) {
        std::string_view t;
        row.push_back(cursor->cell(c, t) ? std::string(t) : "NULL");
      }
      out.push_back(row);
      if (sourceRows) sourceRows->push_back(cursor->sourceRow());
    }
    EXPECT_EQ(step, Step::End) << cursor->error();
    return out;
  }
  test::PostgresServer* server_ = nullptr;
};

TEST_F(PostgresTest, TablesViewsTypesNullsAndEscapesArriveAsTheServerHoldsThem) {
  sql("DROP SCHEMA IF EXISTS kinds CASCADE; CREATE SCHEMA kinds; SET search_path = kinds;"
      "CREATE TABLE \"all \"\"kinds\"\" [x]\"(i integer, b bigint, s smallint, r real, d double precision,"
      " n numeric(12,3), t text, v varchar(20), day date, at timestamp, atz timestamptz, yes boolean,"
      " raw bytea, cash money, \"odd]name\" text);"
      "SET TIME ZONE 'UTC';"
      "INSERT INTO \"all \"\"kinds\"\" [x]\" VALUES"
      " (1, 9000000000, -3, 1.5, 2.25, 1234.5, E'tab\\there\\nline', 'back\\slash', '2024-02-29',"
      "  '2024-03-01 12:34:56.789', '2024-03-01 12:00:00+00', true, '\\x0102', 12.5, 'q\"''[]'),"
      " (NULL, NULL, NULL, NULL, NULL, NULL, NULL, '', NULL, NULL, NULL, false, NULL, NULL, '\\N');"
      "CREATE VIEW \"kinds view\" AS SELECT i, t FROM \"all \"\"kinds\"\" [x]\";"
      "CREATE MATERIALIZED VIEW frozen AS SELECT 7 AS seven;");
  auto db = open(server_->uri() + "?options=-csearch_path%3Dkinds");
  ASSERT_TRUE(db);
  EXPECT_EQ(db->engineName(), "PostgreSQL");
  // The password is not part of the path, and the connection reads back.
  EXPECT_EQ(db->path().find("password"), std::string::npos);
  std::string error;
  auto objects = db->objects(error);
  ASSERT_TRUE(objects) << error;
  auto kindOf = [&](const std::string& name) {
    for (const auto& o : *objects)
      if (o.name == name) return o.kind == ObjectKind::Table ? "table" : "query";
    return "missing";
  };
  EXPECT_STREQ(kindOf("all \"kinds\" [x]"), "table");
  EXPECT_STREQ(kindOf("kinds view"), "query");
  EXPECT_STREQ(kindOf("frozen"), "query");

  const ObjectInfo table{"all \"kinds\" [x]", ObjectKind::Table};
  auto columns = db->columns(table, error);
  ASSERT_TRUE(columns) << error;
  std::vector<ColumnKind> kinds;
  for (const auto& c : *columns) kinds.push_back(c.kind);
  EXPECT_EQ(kinds, (std::vector<ColumnKind>{ColumnKind::Integer, ColumnKind::BigInteger, ColumnKind::SmallInteger,
                                            ColumnKind::Single, ColumnKind::Double, ColumnKind::Double,
                                            ColumnKind::Memo, ColumnKind::Text, ColumnKind::DateTime,
                                            ColumnKind::DateTime, ColumnKind::DateTime, ColumnKind::Boolean,
                                            ColumnKind::Binary, ColumnKind::Currency, ColumnKind::Memo}));
  EXPECT_EQ(columns->back().name, "odd]name");
  EXPECT_EQ(db->rowCount(table, error), 2);

  const Rows got = rows(*db, table);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], (std::vector<std::string>{"1", "9000000000", "-3", "1.5", "2.25", "1234.500", "tab\there\nline",
                                               "back\\slash", "2024-02-29", "2024-03-01 12:34:57",
                                               "2024-03-01 12:00:00", "1", "2 bytes", "12.50", "q\"'[]"}));
  // A NULL is missing; an empty text and the text "\N" are values.
  EXPECT_EQ(got[1], (std::vector<std::string>{"NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "", "NULL",
                                               "NULL", "NULL", "0", "NULL", "NULL", "\\N"}));
  EXPECT_EQ(rows(*db, {"frozen", ObjectKind::Query}), (Rows{{"7"}}));
}

TEST_F(PostgresTest, RowSelectionsAreMadeOnTheServerAndNameTheSourceRows) {
  sql("DROP TABLE IF EXISTS numbered; CREATE TABLE numbered(id integer, label text);"
      "INSERT INTO numbered SELECT i, 'r' || i FROM generate_series(0, 999) AS i;");
  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  EXPECT_TRUE(db->selectsRows());
  const ObjectInfo t{"numbered", ObjectKind::Table};
  std::vector<int64_t> all;
  const Rows whole = rows(*db, t, RowSelection::all(), &all);
  ASSERT_EQ(whole.size(), 1000u);
  // The same selection made locally over the full, ordered scan.
  auto local = [&](auto keep) {
    Rows out;
    std::vector<int64_t> ids;
    for (size_t i = 0; i < whole.size(); ++i)
      if (keep(static_cast<int64_t>(i))) {
        out.push_back(whole[i]);
        ids.push_back(static_cast<int64_t>(i));
      }
    return std::make_pair(out, ids);
  };
  struct Case {
    RowSelection selection;
    std::function<bool(int64_t)> keep;
  };
  auto list = std::make_shared<std::vector<int64_t>>(std::vector<int64_t>{0, 3, 4, 500, 998, 999});
  // A dense list goes to the server as a map of bits, a sparse one as numbers.
  auto dense = std::make_shared<std::vector<int64_t>>();
  for (int64_t i = 1; i < 1000; i += 3) dense->push_back(i);
  RowSelection each{0, -1, 7}, window{100, 11, 3}, chosen, thick;
  chosen.rows = list;
  thick.rows = dense;
  const std::vector<Case> cases = {
      {each, [](int64_t i) { return i % 7 == 0; }},
      {window, [](int64_t i) { return i >= 100 && i <= 130 && (i - 100) % 3 == 0; }},
      {chosen, [&](int64_t i) { return std::find(list->begin(), list->end(), i) != list->end(); }},
      {thick, [](int64_t i) { return i % 3 == 1; }},
  };
  for (const Case& c : cases) {
    std::vector<int64_t> ids;
    const Rows server = rows(*db, t, c.selection, &ids);
    const auto [expected, expectedIds] = local(c.keep);
    EXPECT_EQ(server, expected);
    EXPECT_EQ(ids, expectedIds);
  }
}

TEST_F(PostgresTest, AFilterIsAWhereClauseOnTheServer) {
  sql("DROP TABLE IF EXISTS people; CREATE TABLE people(name text, age integer, score real);"
      "INSERT INTO people VALUES ('Ann', 30, 0.1), ('bob', 41, 0.5), ('Bobby', 52, NULL), ('50%_off', 45, 0.3);");
  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  ASSERT_TRUE(db->filtersRows());
  auto filter = std::make_shared<RowFilter>();
  RowCondition age;
  age.column = "age";
  age.values = RangeValues::Integer;
  age.low = 40;
  age.high = 60;
  RowCondition name;
  name.column = "name";
  name.kind = ConditionKind::Substring;
  name.text = "BOB";
  filter->conditions = {age, name};
  ObjectInfo t{"people", ObjectKind::Table, filter};
  std::string error;
  EXPECT_EQ(db->rowCount(t, error), 2) << error;
  EXPECT_EQ(rows(*db, t), (Rows{{"bob", "41", "0.5"}, {"Bobby", "52", "NULL"}}));
  // '%' and '_' are plain characters of the text.
  filter->conditions = {};
  name.text = "%_";
  filter->conditions.push_back(name);
  EXPECT_EQ(rows(*db, t), (Rows{{"50%_off", "45", "0.3"}}));
  // Quotes and backslashes are text too, whatever the server's settings.
  sql("ALTER DATABASE velmora SET standard_conforming_strings = off;");
  auto other = open(server_->uri());
  ASSERT_TRUE(other);
  filter->conditions[0].text = "\\' OR ''='";
  EXPECT_EQ(other->rowCount(t, error), 0) << error;
  sql("ALTER DATABASE velmora RESET standard_conforming_strings;");
}

TEST_F(PostgresTest, AFilteredRowKnowsItsRowOfTheWholeTableAlsoWhenSampled) {
  sql("DROP TABLE IF EXISTS tens; CREATE TABLE tens(id integer, label text);"
      "INSERT INTO tens SELECT i, CASE WHEN i % 3 = 0 THEN 'fizz' ELSE 'x' || i END"
      " FROM generate_series(0, 299) AS i;");
  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  auto filter = std::make_shared<RowFilter>();
  RowCondition fizz;
  fizz.column = "label";
  fizz.kind = ConditionKind::Substring;
  fizz.text = "FIZZ";
  RowCondition low;
  low.column = "id";
  low.values = RangeValues::Integer;
  low.low = 30;
  low.high = 200;
  filter->conditions = {fizz, low};
  const ObjectInfo t{"tens", ObjectKind::Table, filter};
  std::string error;
  ASSERT_EQ(db->rowCount(t, error), 57) << error;  // 30, 33, ..., 198
  // Every passing row, then every 4th of them and a chosen few: the index
  // counts the passing rows, the base row is the row of the whole table.
  auto chosen = std::make_shared<std::vector<int64_t>>(std::vector<int64_t>{0, 5, 56});
  RowSelection each{0, -1, 4}, list;
  list.rows = chosen;
  for (const RowSelection& s : {RowSelection::all(), each, list}) {
    auto cursor = db->open(t, s, error);
    ASSERT_TRUE(cursor) << error;
    std::vector<int64_t> index, base;
    while (cursor->next(Clock::now() + std::chrono::seconds(20)) == Step::Row) {
      std::string_view id;
      ASSERT_TRUE(cursor->cell(0, id));
      index.push_back(cursor->sourceRow());
      base.push_back(cursor->baseRow());
      EXPECT_EQ(std::to_string(cursor->baseRow()), id) << "the table's row k holds id k";
      EXPECT_EQ(cursor->baseRow(), 30 + 3 * cursor->sourceRow());
    }
    EXPECT_EQ(cursor->error(), "");
    if (s.rows) EXPECT_EQ(index, *chosen);
    else EXPECT_EQ(index.size(), s.step == 4 ? 15u : 57u);
  }
}

// A list of rows asked of a large table is numbered in two parts of the
// table at once; the rows and their ids are those of the whole scan, also
// where deleted and moved rows leave the parts holding unlike counts.
TEST_F(PostgresTest, AListOfRowsOfALargeTableIsTheSameWhenNumberedInParts) {
  sql("DROP TABLE IF EXISTS spread; CREATE TABLE spread(id integer, label text, pad text);"
      "INSERT INTO spread SELECT i, 'row number ' || i, repeat('.', 150) FROM generate_series(0, 59999) AS i;"
      "DELETE FROM spread WHERE id BETWEEN 5000 AND 19999 OR id % 11 = 0;"
      "UPDATE spread SET label = label || ' moved' WHERE id % 13 = 0;"
      "CREATE OR REPLACE VIEW split_copies AS SELECT count(*) FROM pg_stat_activity"
      " WHERE query LIKE 'COPY (SELECT vlm_row - 1%spread%ctid%' AND state = 'idle in transaction';");
  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  const ObjectInfo t{"spread", ObjectKind::Table};
  std::vector<int64_t> allIds;
  const Rows whole = rows(*db, t, RowSelection::all(), &allIds);
  ASSERT_GT(whole.size(), 35000u);
  // The moved rows now lie at the end of the table, out of id order.
  EXPECT_NE(whole.back()[1].find("moved"), std::string::npos);
  std::mt19937 random(11);
  for (const int share : {5, 600}) {  // per thousand: as numbers, as a map of bits
    SCOPED_TRACE(share);
    auto list = std::make_shared<std::vector<int64_t>>();
    for (int64_t i = 0; i < static_cast<int64_t>(whole.size()); ++i)
      if (static_cast<int>(random() % 1000) < share) list->push_back(i);
    list->push_back(static_cast<int64_t>(whole.size()) - 1);
    list->erase(std::unique(list->begin(), list->end()), list->end());
    RowSelection chosen;
    chosen.rows = list;
    std::string error;
    auto cursor = db->open(t, chosen, error);
    ASSERT_TRUE(cursor) << error;
    Rows got;
    std::vector<int64_t> ids;
    Step step;
    while ((step = cursor->next(Clock::now() + std::chrono::seconds(20))) == Step::Row) {
      std::vector<std::string> row;
      for (int c = 0; c < cursor->columnCount(); ++c) {
        std::string_view text;
        row.push_back(cursor->cell(c, text) ? std::string(text) : "NULL");
      }
      got.push_back(row);
      ids.push_back(cursor->sourceRow());
    }
    ASSERT_EQ(step, Step::End) << cursor->error();
    // Both parts' queries are there, each on a connection of its own.
    EXPECT_EQ(rows(*db, {"split_copies", ObjectKind::Query}), (Rows{{"2"}}));
    Rows expected;
    for (const int64_t i : *list) expected.push_back(whole[static_cast<size_t>(i)]);
    EXPECT_EQ(ids, *list);
    EXPECT_EQ(got, expected);
  }
}

// A failure on either part's connection ends the rows with the server's
// words, after the rows that came before it.
TEST_F(PostgresTest, AFailureInEitherPartOfANumberedTableSaysWhatFailed) {
  ASSERT_EQ(server_->guardedRole("part"), "");
  for (const int failing : {3000, 59000}) {  // in the first part, in the second
    SCOPED_TRACE(failing);
    sql("DROP TABLE IF EXISTS fragile; CREATE TABLE fragile(id integer, label text, pad text);"
        "INSERT INTO fragile SELECT i, 'row number ' || i, repeat('.', 150) FROM generate_series(0, 59999) AS i;"
        "GRANT SELECT ON fragile TO guarded; ALTER TABLE fragile ENABLE ROW LEVEL SECURITY;"
        "CREATE POLICY reading ON fragile USING (1 / (id - " + std::to_string(failing) + ") IS NOT NULL);");
    std::string error;
    auto db = openDatabase(server_->uri("guarded"), "part", error);
    ASSERT_TRUE(db) << error;
    auto list = std::make_shared<std::vector<int64_t>>();
    for (int64_t i = 0; i < 60000; i += 2) list->push_back(i);
    RowSelection chosen;
    chosen.rows = list;
    auto cursor = db->open({"fragile", ObjectKind::Table}, chosen, error);
    ASSERT_TRUE(cursor) << error;
    Step step;
    int64_t read = 0;
    while ((step = cursor->next(Clock::now() + std::chrono::seconds(20))) == Step::Row) {
      ASSERT_EQ(cursor->sourceRow(), read * 2);
      ++read;
    }
    EXPECT_EQ(step, Step::Failed);
    EXPECT_NE(cursor->error().find("division by zero"), std::string::npos) << cursor->error();
    EXPECT_LE(read, failing / 2);
    if (failing > 30000) {
      EXPECT_GT(read, 15000);  // the whole first part came
    }
  }
}

// A role allowed one connection besides the one open on the database gets
// its rows from one query, the same rows under the same ids.
TEST_F(PostgresTest, ALargeTableIsNumberedInOneQueryWhereTheServerTakesNoSecondConnection) {
  ASSERT_EQ(server_->guardedRole("few"), "");
  // Earlier tests' server processes of this role may still be ending.
  sql("DO $$ BEGIN FOR i IN 1..200 LOOP PERFORM pg_stat_clear_snapshot();"
      " EXIT WHEN NOT EXISTS (SELECT FROM pg_stat_activity WHERE usename = 'guarded');"
      " PERFORM pg_sleep(0.05); END LOOP; END $$;"
      "DROP TABLE IF EXISTS narrow_door; CREATE TABLE narrow_door(id integer, pad text);"
      "INSERT INTO narrow_door SELECT i, repeat('.', 150) FROM generate_series(0, 59999) AS i;"
      "GRANT SELECT ON narrow_door TO guarded; ALTER ROLE guarded CONNECTION LIMIT 2;");
  std::string error;
  auto db = openDatabase(server_->uri("guarded"), "few", error);
  ASSERT_TRUE(db) << error;
  auto list = std::make_shared<std::vector<int64_t>>();
  for (int64_t i = 0; i < 60000; i += 3) list->push_back(i);
  RowSelection chosen;
  chosen.rows = list;
  auto cursor = db->open({"narrow_door", ObjectKind::Table}, chosen, error);
  ASSERT_TRUE(cursor) << error;
  Step step;
  size_t read = 0;
  while ((step = cursor->next(Clock::now() + std::chrono::seconds(20))) == Step::Row) {
    ASSERT_LT(read, list->size());
    ASSERT_EQ(cursor->sourceRow(), (*list)[read]);
    std::string_view text;
    ASSERT_TRUE(cursor->cell(0, text));
    EXPECT_EQ(text, std::to_string((*list)[read]));
    ++read;
  }
  EXPECT_EQ(step, Step::End) << cursor->error();
  EXPECT_EQ(read, list->size());
  cursor.reset();
  db.reset();
  sql("ALTER ROLE guarded CONNECTION LIMIT -1;");
}

TEST_F(PostgresTest, FailuresSayWhatWentWrong) {
  std::string error;
  bool needsPassword = false;
  // No server behind the socket.
  EXPECT_FALSE(openDatabase("postgresql://tester@%2Fnonexistent-folder:5432/velmora", {}, error));
  EXPECT_NE(error.find("cannot be opened"), std::string::npos) << error;
  EXPECT_NE(error.find("nonexistent-folder"), std::string::npos) << error;
  // A role that needs a password, first without one and then with a wrong one.
  ASSERT_EQ(server_->guardedRole("right one"), "");
  sql("DROP VIEW IF EXISTS broken; CREATE VIEW broken AS SELECT 1 / (i - 3) AS x FROM generate_series(1, 5) AS i;"
      "DROP TABLE IF EXISTS wide;");
  EXPECT_FALSE(openDatabase(server_->uri("guarded"), {}, error, &needsPassword));
  EXPECT_TRUE(needsPassword);
  EXPECT_FALSE(openDatabase(server_->uri("guarded"), "wrong", error, &needsPassword));
  EXPECT_NE(error.find("password authentication failed"), std::string::npos) << error;
  EXPECT_EQ(error.find("wrong"), std::string::npos) << error;
  auto guarded = openDatabase(server_->uri("guarded"), "right one", error);
  ASSERT_TRUE(guarded) << error;
  // A second connection signs in again with the password kept in memory.
  EXPECT_TRUE(guarded->reopen(error)) << error;
  EXPECT_EQ(guarded->path().find("right"), std::string::npos);

  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  // A view that fails only when its rows are read.
  auto cursor = db->open({"broken", ObjectKind::Query}, RowSelection::all(), error);
  ASSERT_TRUE(cursor) << error;
  Step step;
  while ((step = cursor->next(Clock::now() + std::chrono::seconds(10))) == Step::Row) {
  }
  EXPECT_EQ(step, Step::Failed);
  EXPECT_NE(cursor->error().find("division by zero"), std::string::npos) << cursor->error();
  // An object that is not there.
  EXPECT_FALSE(db->columns({"no such table", ObjectKind::Table}, error));
  EXPECT_FALSE(error.empty());
}

TEST_F(PostgresTest, TheWidestTableTheServerAllowsStreams) {
  std::string columns;
  for (int i = 0; i < 1600; ++i) columns += std::string(i ? ", " : "") + "c" + std::to_string(i) + " smallint DEFAULT " + std::to_string(i % 100);
  sql("DROP TABLE IF EXISTS wide; CREATE TABLE wide(" + columns + "); INSERT INTO wide DEFAULT VALUES;"
      "INSERT INTO wide DEFAULT VALUES;");
  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  std::string error;
  auto cols = db->columns({"wide", ObjectKind::Table}, error);
  ASSERT_TRUE(cols) << error;
  EXPECT_EQ(cols->size(), 1600u);
  const Rows got = rows(*db, {"wide", ObjectKind::Table}, RowSelection{1, -1, 1});
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0][1599], "99");
}

// The rows are read ahead of the reader in blocks (by count and by bytes):
// rows on either side of a block's end, rows far larger than a block, NULLs
// and escapes all arrive whole, in order, as cells and as records.
TEST_F(PostgresTest, RowsReadAheadArriveWholeAndInOrderAcrossBlocks) {
  sql("DROP TABLE IF EXISTS blocks; CREATE TABLE blocks AS SELECT i,"
      " CASE WHEN i % 11 = 0 THEN NULL WHEN i % 7 = 0 THEN E'a\\tb\\nc\\\\d\\re' || i"
      " WHEN i % 997 = 0 THEN repeat('w', 300000) || i ELSE 'v' || i END AS t,"
      " CASE WHEN i % 13 = 0 THEN NULL ELSE i * 2 END AS twice FROM generate_series(0, 19999) AS i;");
  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  auto expectedText = [](int64_t i) -> std::string {
    if (i % 11 == 0) return "NULL";
    if (i % 7 == 0) return "a\tb\nc\\d\re" + std::to_string(i);
    if (i % 997 == 0) return std::string(300000, 'w') + std::to_string(i);
    return "v" + std::to_string(i);
  };
  for (const RowSelection& selection : {RowSelection::all(), RowSelection{1, -1, 3}}) {
    std::string error;
    auto cursor = db->open({"blocks", ObjectKind::Table}, selection, error);
    ASSERT_TRUE(cursor) << error;
    int64_t expected = selection.first;
    Step step;
    while ((step = cursor->next(Clock::now() + std::chrono::seconds(20))) == Step::Row) {
      ASSERT_EQ(cursor->sourceRow(), expected);
      std::string_view id, text, twice;
      ASSERT_TRUE(cursor->cell(0, id));
      ASSERT_EQ(id, std::to_string(expected));
      EXPECT_EQ(cursor->cell(1, text) ? std::string(text) : "NULL", expectedText(expected));
      EXPECT_EQ(cursor->cell(2, twice) ? std::string(twice) : "NULL",
                expected % 13 == 0 ? "NULL" : std::to_string(expected * 2));
      // The record made as the row was read equals the one its cells make.
      std::string record;
      workspace::appendRecord(*cursor, record);
      std::string byCells = std::to_string(expected) + "\t";
      if (expected % 11 != 0) {
        std::string t = expectedText(expected);
        std::replace_if(t.begin(), t.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
        byCells += t;
      }
      byCells += "\t" + (expected % 13 == 0 ? std::string() : std::to_string(expected * 2));
      ASSERT_EQ(record, byCells) << "row " << expected;
      expected += selection.step;
    }
    EXPECT_EQ(step, Step::End) << cursor->error();
    EXPECT_EQ(expected, selection.first + (20000 - selection.first + selection.step - 1) / selection.step * selection.step);
  }
}

// An error the server raises after many rows reaches the reader once the
// rows sent before it are read, with the server's words.
TEST_F(PostgresTest, AnErrorRaisedInTheMiddleOfAStreamFollowsTheRowsBeforeIt) {
  sql("DROP VIEW IF EXISTS fails_late; CREATE VIEW fails_late AS SELECT i, 100 / (15000 - i) AS x"
      " FROM generate_series(1, 20000) AS i;");
  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  std::string error;
  auto cursor = db->open({"fails_late", ObjectKind::Query}, RowSelection::all(), error);
  ASSERT_TRUE(cursor) << error;
  int64_t read = 0;
  Step step;
  while ((step = cursor->next(Clock::now() + std::chrono::seconds(20))) == Step::Row) ++read;
  EXPECT_EQ(step, Step::Failed);
  EXPECT_EQ(read, 14999);
  EXPECT_NE(cursor->error().find("division by zero"), std::string::npos) << cursor->error();
  EXPECT_EQ(cursor->next(Clock::now() + std::chrono::seconds(1)), Step::End);
}

// Rows the server sent before it went quiet are read at once, also those of
// a block the reading ahead had not filled yet; only then does the reader
// wait for more (and give up at its deadline).
TEST_F(PostgresTest, RowsSentBeforeTheServerGoesQuietArriveWithoutWaitingForMore) {
  sql("DROP VIEW IF EXISTS pausing; CREATE VIEW pausing AS SELECT i, repeat('x', 50) AS pad"
      " FROM generate_series(1, 5000) AS i UNION ALL SELECT 0, pg_sleep(30)::text;");
  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  std::string error;
  auto cursor = db->open({"pausing", ObjectKind::Query}, RowSelection::all(), error);
  ASSERT_TRUE(cursor) << error;
  int64_t read = 0;
  Step step;
  while ((step = cursor->next(Clock::now() + std::chrono::seconds(2))) == Step::Row) ++read;
  EXPECT_EQ(step, Step::Failed);
  EXPECT_EQ(cursor->error(), "the server did not answer in time");
  // The server holds back at most its last unsent buffer (8 KiB, about 140 of these rows).
  EXPECT_GE(read, 4800);
  EXPECT_LE(read, 5000);
}

// A reader that gives up (a Stop, a time-out) ends the reading ahead at
// once: while it waits for a server that sends nothing, and while it waits
// for the reader to take what it read. The connection's query is cancelled.
TEST_F(PostgresTest, GivingUpEndsTheReadingAheadAtOnce) {
  sql("DROP VIEW IF EXISTS sleepy; CREATE VIEW sleepy AS SELECT 1 AS i FROM pg_sleep(60);"
      "DROP TABLE IF EXISTS plenty; CREATE TABLE plenty AS SELECT i, repeat('p', 100) AS pad"
      " FROM generate_series(1, 300000) AS i;"
      "CREATE OR REPLACE VIEW copies_running AS SELECT count(*) FROM pg_stat_activity"
      " WHERE query LIKE 'COPY%' AND state = 'active' AND pid <> pg_backend_pid();");
  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  std::string error;
  const auto giveUpWithin = std::chrono::seconds(5);  // far above what it takes; a hang fails
  {
    auto cursor = db->open({"sleepy", ObjectKind::Query}, RowSelection::all(), error);
    ASSERT_TRUE(cursor) << error;
    EXPECT_EQ(cursor->next(Clock::now() + std::chrono::milliseconds(200)), Step::Failed);
    EXPECT_EQ(cursor->error(), "the server did not answer in time");
    const auto start = Clock::now();
    cursor.reset();
    EXPECT_LT(Clock::now() - start, giveUpWithin);
  }
  {
    auto cursor = db->open({"sleepy", ObjectKind::Query}, RowSelection::all(), error);
    ASSERT_TRUE(cursor) << error;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto start = Clock::now();
    cursor.reset();  // never read
    EXPECT_LT(Clock::now() - start, giveUpWithin);
  }
  {
    auto cursor = db->open({"plenty", ObjectKind::Table}, RowSelection::all(), error);
    ASSERT_TRUE(cursor) << error;
    ASSERT_EQ(cursor->next(Clock::now() + std::chrono::seconds(20)), Step::Row);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the blocks ahead fill up
    const auto start = Clock::now();
    cursor.reset();
    EXPECT_LT(Clock::now() - start, giveUpWithin);
  }
  // No query of the cursors runs on: the sleeps were cancelled.
  const ObjectInfo running{"copies_running", ObjectKind::Query};
  const auto until = Clock::now() + std::chrono::seconds(10);
  Rows count;
  for (;;) {
    count = rows(*db, running);
    if (count == Rows{{"0"}} || Clock::now() > until) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(count, (Rows{{"0"}}));
  EXPECT_EQ(rows(*db, {"plenty", ObjectKind::Table}, RowSelection{299998, -1, 1}).size(), 2u);
}

// Last in the program's order of its own tests: the server goes away.
TEST_F(PostgresTest, ZServerStoppedInTheMiddleOfAStreamEndsItWithAMessage) {
  sql("DROP TABLE IF EXISTS long_one; CREATE TABLE long_one AS SELECT i, repeat('x', 200) AS pad"
      " FROM generate_series(1, 400000) AS i;");
  auto db = open(server_->uri());
  ASSERT_TRUE(db);
  std::string error;
  auto cursor = db->open({"long_one", ObjectKind::Table}, RowSelection::all(), error);
  ASSERT_TRUE(cursor) << error;
  ASSERT_EQ(cursor->next(Clock::now() + std::chrono::seconds(20)), Step::Row);
  ASSERT_TRUE(server_->stop());
  Step step;
  int64_t read = 1;
  while ((step = cursor->next(Clock::now() + std::chrono::seconds(20))) == Step::Row) ++read;
  EXPECT_EQ(step, Step::Failed);
  EXPECT_LT(read, 400000);
  EXPECT_FALSE(cursor->error().empty());
  // The catalogue connection is gone too, and says so.
  EXPECT_FALSE(db->objects(error));
  EXPECT_FALSE(error.empty());
  ASSERT_TRUE(server_->start());
  auto again = open(server_->uri());
  EXPECT_TRUE(again);
}

}  // namespace
}  // namespace vlm::platform::db
