#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "common/access_files.h"
#include "platform/database/database.h"
#include "platform/database/mdb_database.h"
#include "platform/dde/conversation.h"
#include "platform/message_box.h"
#include "platform/workspace/workspace.h"
#include "platform/workspace/workspace_server.h"
#include "platform/support/workspace_fixture.h"

namespace vlm::platform::db {
namespace {

using Clock = std::chrono::steady_clock;
using test::JetColumn;
using test::JetDatabase;
using test::JetTable;
using test::JetType;
using test::JetValue;
using Rows = std::vector<std::vector<std::string>>;

// Access files written by the tests' own Jet 4 writer, read through mdbtools.
class MdbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mdbEngineAvailable()) GTEST_SKIP() << "this build reads no Access files (mdbtools-dev was not found)";
    dir_ = std::filesystem::temp_directory_path() /
           ("velmora-mdb-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    file_ = dir_ / "Sales.MDB";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::unique_ptr<Database> open(const JetDatabase& content) {
    EXPECT_TRUE(test::writeJetDatabase(file_.string(), content));
    std::string error;
    auto db = openDatabaseFile(file_.string(), error);
    EXPECT_TRUE(db) << error;
    return db;
  }
  // Every row of a table as texts ("NULL" for a NULL); `failure` gets the
  // error when the stream fails.
  Rows rows(Database& db, const std::string& table, RowSelection s = RowSelection::all(),
            std::string* failure = nullptr) {
    std::string error;
    auto cursor = db.open({table, ObjectKind::Table, nullptr}, s, error);
    EXPECT_TRUE(cursor) << error;
    Rows out;
    if (!cursor) return out;
    Step step;
    while ((step = cursor->next(Clock::now() + std::chrono::seconds(10))) == Step::Row) out.push_back(row(*cursor));
    if (failure) *failure = step == Step::Failed ? cursor->error() : "";
    else EXPECT_EQ(step, Step::End) << cursor->error();
    return out;
  }
  static std::vector<std::string> row(Cursor& cursor) {
    std::vector<std::string> out;
    for (int c = 0; c < cursor.columnCount(); ++c) {
      std::string_view t;
      out.push_back(cursor.cell(c, t) ? std::string(t) : "NULL");
    }
    return out;
  }
  std::filesystem::path dir_, file_;
};

TEST_F(MdbTest, ListsTheUserTablesOfTheCatalogue) {
  EXPECT_TRUE(isAccessFile((test::writeJetDatabase(file_.string(), test::sampleJetDatabase()), file_.string())));
  EXPECT_TRUE(looksLikeDatabaseFile(file_.string()));
  auto db = open(test::sampleJetDatabase());
  ASSERT_TRUE(db);
  EXPECT_EQ(db->engineName(), "Access (mdbtools)");
  std::string error;
  auto objects = db->objects(error);
  ASSERT_TRUE(objects) << error;
  // The system catalogue is left out; saved queries cannot be run, so they are not offered.
  ASSERT_EQ(objects->size(), 2u);
  EXPECT_EQ((*objects)[0].name, "Orders");
  EXPECT_EQ((*objects)[0].kind, ObjectKind::Table);
  EXPECT_EQ((*objects)[1].name, "Sales Reps");
}

TEST_F(MdbTest, AnAccess2007FileReadsAlike) {
  JetDatabase content = test::sampleJetDatabase();
  content.ace = true;
  file_ = dir_ / "Sales.accdb";
  auto db = open(content);
  ASSERT_TRUE(db);
  EXPECT_TRUE(isAccessFile(file_.string()));
  std::string error;
  auto objects = db->objects(error);
  ASSERT_TRUE(objects) << error;
  ASSERT_EQ(objects->size(), 2u);
  EXPECT_EQ(rows(*db, "Sales Reps"),
            (Rows{{"Ann", "North", "1500.75"}, {"Bob", "South", "98.5"}, {"Cyd", "NULL", "0"}}));
}

TEST_F(MdbTest, ColumnsCarryTheirNamesAndKinds) {
  auto db = open(test::sampleJetDatabase());
  ASSERT_TRUE(db);
  std::string error;
  auto columns = db->columns({"Orders", ObjectKind::Table, nullptr}, error);
  ASSERT_TRUE(columns) << error;
  std::vector<std::string> names;
  std::vector<ColumnKind> kinds;
  for (const Column& c : *columns) names.push_back(c.name), kinds.push_back(c.kind);
  EXPECT_EQ(names, (std::vector<std::string>{"Order Id", "Customer", "Amount", "Ordered", "Paid", "Quantity", "Price",
                                             "Rating", "Weight", "Notes"}));
  EXPECT_EQ(kinds, (std::vector<ColumnKind>{ColumnKind::Integer, ColumnKind::Text, ColumnKind::Double,
                                            ColumnKind::DateTime, ColumnKind::Boolean, ColumnKind::SmallInteger,
                                            ColumnKind::Currency, ColumnKind::Byte, ColumnKind::Single,
                                            ColumnKind::Memo}));
  EXPECT_EQ(db->rowCount({"Orders", ObjectKind::Table, nullptr}, error), 5);
  EXPECT_EQ(db->rowCount({"Sales Reps", ObjectKind::Table, nullptr}, error), 3);
  // Unknown names and queries say what is missing.
  EXPECT_FALSE(db->columns({"Nothing", ObjectKind::Table, nullptr}, error));
  EXPECT_NE(error.find("Nothing"), std::string::npos) << error;
  EXPECT_FALSE(db->rowCount({"Big Orders", ObjectKind::Query, nullptr}, error));
  EXPECT_NE(error.find("Big Orders"), std::string::npos) << error;
}

TEST_F(MdbTest, RecordsStreamWithTheirValuesExactly) {
  auto db = open(test::sampleJetDatabase());
  ASSERT_TRUE(db);
  const Rows orders = rows(*db, "Orders");
  ASSERT_EQ(orders.size(), 5u);
  EXPECT_EQ(orders[0], (std::vector<std::string>{"1", "Ann", "12.5", "2003-12-01 00:00:00", "1", "3", "4.19", "5",
                                                 "0.5", "first order"}));
  EXPECT_EQ(orders[1], (std::vector<std::string>{"2", "Bob Smith", "0.1", "1999-01-31 12:30:15", "0", "-7",
                                                 "1234567.8901", "0", "2.25", "NULL"}));
  // NULLs stay missing; a boolean is never NULL in Access.
  EXPECT_EQ(orders[2], (std::vector<std::string>{"3", "NULL", "NULL", "NULL", "0", "NULL", "NULL", "NULL", "NULL",
                                                 "NULL"}));
  EXPECT_EQ(orders[3], (std::vector<std::string>{"-2147483648", "Zoë", "-1e+300", "2024-02-29 23:59:59", "1",
                                                 "32767", "-0.0001", "255", "-1.5", "naïve café"}));
  // A real keeps every digit it needs to read back as the stored value.
  EXPECT_EQ(orders[4], (std::vector<std::string>{"2147483647", "Chloé O'Hara", "0.30000000000000004",
                                                 "1900-03-01 06:00:00", "1", "-32768", "0", "128", "0.1", "line one"}));
  EXPECT_EQ(rows(*db, "Sales Reps"),
            (Rows{{"Ann", "North", "1500.75"}, {"Bob", "South", "98.5"}, {"Cyd", "NULL", "0"}}));
}

TEST_F(MdbTest, ASelectionStartsAndStopsWhereAsked) {
  JetTable t{"Numbers", {{"n", JetType::LongInteger}, {"label", JetType::Text}}, {}};
  for (int i = 0; i < 10; ++i) t.rows.push_back({std::to_string(i * 10), "row " + std::to_string(i)});
  auto db = open({{t}, {}});
  ASSERT_TRUE(db);
  RowSelection s;
  s.first = 3;
  s.count = 4;
  std::string error;
  auto cursor = db->open({"Numbers", ObjectKind::Table, nullptr}, s, error);
  ASSERT_TRUE(cursor) << error;
  std::vector<int64_t> at;
  std::vector<std::string> values;
  while (cursor->next(Clock::now() + std::chrono::seconds(10)) == Step::Row) {
    at.push_back(cursor->sourceRow());
    values.push_back(row(*cursor)[0]);
  }
  EXPECT_EQ(at, (std::vector<int64_t>{3, 4, 5, 6}));
  EXPECT_EQ(values, (std::vector<std::string>{"30", "40", "50", "60"}));
}

// A long binary value (an embedded picture, a document) is not loaded: its
// cell says how many bytes it holds.
TEST_F(MdbTest, LongBinaryValuesShowTheirSize) {
  JetTable t{"Files", {{"name", JetType::Text}, {"content", JetType::Ole}}, {}};
  t.rows = {{"a", std::string(300, '\x01')}, {"b", JetValue{}}, {"c", std::string("\x00\x01\x02", 3)}};
  auto db = open({{t}, {}});
  ASSERT_TRUE(db);
  std::string error;
  auto columns = db->columns({"Files", ObjectKind::Table, nullptr}, error);
  ASSERT_TRUE(columns) << error;
  EXPECT_EQ((*columns)[1].kind, ColumnKind::Binary);
  EXPECT_EQ(rows(*db, "Files"), (Rows{{"a", "300 bytes"}, {"b", "NULL"}, {"c", "3 bytes"}}));
}

// Enough rows to fill many data pages, read in their order.
TEST_F(MdbTest, ATableOverManyPagesStreamsEveryRowInOrder) {
  JetTable t{"Big", {{"id", JetType::LongInteger}, {"name", JetType::Text}, {"value", JetType::Double}}, {}};
  for (int i = 0; i < 2500; ++i)
    t.rows.push_back({std::to_string(i), "name number " + std::to_string(i), std::to_string(i) + ".25"});
  const std::string bytes = test::jetDatabaseBytes({{t}, {}});
  ASSERT_GT(bytes.size(), 30u * 4096);
  auto db = open({{t}, {}});
  ASSERT_TRUE(db);
  std::string error;
  EXPECT_EQ(db->rowCount({"Big", ObjectKind::Table, nullptr}, error), 2500);
  const Rows all = rows(*db, "Big");
  ASSERT_EQ(all.size(), 2500u);
  for (size_t i = 0; i < all.size(); ++i) {
    ASSERT_EQ(all[i][0], std::to_string(i));
    ASSERT_EQ(all[i][1], "name number " + std::to_string(i));
    ASSERT_EQ(all[i][2], std::to_string(i) + ".25");
  }
}

// Two readers of one open database do not disturb each other: the tree asks
// for columns and counts while a table streams.
TEST_F(MdbTest, QuestionsAskedWhileAStreamIsOpenLeaveItsRowsAlone) {
  JetTable t{"Big", {{"id", JetType::LongInteger}, {"name", JetType::Text}}, {}};
  for (int i = 0; i < 600; ++i) t.rows.push_back({std::to_string(i), "n" + std::to_string(i)});
  JetDatabase content{{t, test::sampleJetDatabase().tables[1]}, {}};
  auto db = open(content);
  ASSERT_TRUE(db);
  std::string error;
  auto first = db->open({"Big", ObjectKind::Table, nullptr}, RowSelection::all(), error);
  auto second = db->open({"Big", ObjectKind::Table, nullptr}, RowSelection::all(), error);
  ASSERT_TRUE(first && second) << error;
  std::vector<std::string> a, b;
  for (int i = 0; i < 600; ++i) {
    ASSERT_EQ(first->next(Clock::now() + std::chrono::seconds(10)), Step::Row) << i;
    a.push_back(row(*first)[0]);
    if (i % 100 == 0) {
      EXPECT_TRUE(db->columns({"Sales Reps", ObjectKind::Table, nullptr}, error));
      EXPECT_EQ(db->rowCount({"Sales Reps", ObjectKind::Table, nullptr}, error), 3);
      EXPECT_EQ(rows(*db, "Sales Reps").size(), 3u);
    }
    if (i % 2 == 0) {
      ASSERT_EQ(second->next(Clock::now() + std::chrono::seconds(10)), Step::Row) << i;
      b.push_back(row(*second)[0]);
    }
  }
  EXPECT_EQ(first->next(Clock::now() + std::chrono::seconds(10)), Step::End);
  for (int i = 0; i < 600; ++i) ASSERT_EQ(a[static_cast<size_t>(i)], std::to_string(i));
  for (int i = 0; i < 300; ++i) ASSERT_EQ(b[static_cast<size_t>(i)], std::to_string(i));
}

// Damaged files: each gets a message naming the file or the table, and
// nothing crashes.
TEST_F(MdbTest, DamagedFilesSayWhatCannotBeRead) {
  ASSERT_TRUE(test::writeJetDatabase(file_.string(), test::sampleJetDatabase()));
  std::string good;
  {
    std::ifstream in(file_, std::ios::binary);
    good.assign(std::istreambuf_iterator<char>(in), {});
  }
  auto write = [&](const std::string& bytes) {
    std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes;
  };
  std::string error;

  // Only the header page is left.
  write(good.substr(0, 4096));
  EXPECT_FALSE(openDatabaseFile(file_.string(), error));
  EXPECT_NE(error.find("Sales.MDB"), std::string::npos) << error;

  // The catalogue's definition page is overwritten.
  std::string bytes = good;
  std::fill(bytes.begin() + 2 * 4096, bytes.begin() + 3 * 4096, '\x5a');
  write(bytes);
  EXPECT_FALSE(openDatabaseFile(file_.string(), error));
  EXPECT_NE(error.find("Sales.MDB"), std::string::npos) << error;

  // An unknown format version.
  bytes = good;
  bytes[0x14] = 0x7f;
  write(bytes);
  EXPECT_FALSE(openDatabaseFile(file_.string(), error));
  EXPECT_NE(error.find("Sales.MDB"), std::string::npos) << error;

  // A table's definition page is overwritten: the file opens, the table says it cannot be read.
  bytes = good;
  std::fill(bytes.begin() + 4 * 4096, bytes.begin() + 5 * 4096, '\0');
  write(bytes);
  auto db = openDatabaseFile(file_.string(), error);
  ASSERT_TRUE(db) << error;
  EXPECT_FALSE(db->columns({"Orders", ObjectKind::Table, nullptr}, error));
  EXPECT_NE(error.find("Orders"), std::string::npos) << error;
  EXPECT_FALSE(db->open({"Orders", ObjectKind::Table, nullptr}, RowSelection::all(), error));
  EXPECT_NE(error.find("Orders"), std::string::npos) << error;
  EXPECT_EQ(rows(*db, "Sales Reps").size(), 3u);
}

// A file cut short loses the pages of its last table: the table says so
// rather than reading as if it were complete.
TEST_F(MdbTest, ATableWhosePagesLiePastTheEndCannotBeRead) {
  JetTable t{"Big", {{"id", JetType::LongInteger}, {"name", JetType::Text}}, {}};
  for (int i = 0; i < 2000; ++i) t.rows.push_back({std::to_string(i), "name number " + std::to_string(i)});
  ASSERT_TRUE(test::writeJetDatabase(file_.string(), {{test::sampleJetDatabase().tables[1], t}, {}}));
  std::filesystem::resize_file(file_, std::filesystem::file_size(file_) - 3 * 4096);
  std::string error;
  auto db = openDatabaseFile(file_.string(), error);
  ASSERT_TRUE(db) << error;
  const ObjectInfo big{"Big", ObjectKind::Table, nullptr};
  EXPECT_FALSE(db->rowCount(big, error));
  EXPECT_EQ(error, "pages of the table \"Big\" lie past the end of the file; the file is damaged");
  EXPECT_FALSE(db->open(big, RowSelection::all(), error));
  EXPECT_FALSE(db->columns(big, error));
  // The table whose pages are all there still reads.
  EXPECT_EQ(rows(*db, "Sales Reps").size(), 3u);
}

// The page map of a table is a row of another page; a row of no bytes there
// leaves the table without a map, which mdbtools would follow anyway.
TEST_F(MdbTest, ATableWithoutAPageMapCannotBeRead) {
  std::string bytes = test::jetDatabaseBytes(test::sampleJetDatabase());
  // Page 1 holds the maps, two rows per table after the catalogue's; the
  // third row, the first table's map, is made to end where it starts.
  const size_t offsets = 4096 + 14;
  bytes[offsets + 2 * 2] = bytes[offsets + 2 * 1];
  bytes[offsets + 2 * 2 + 1] = bytes[offsets + 2 * 1 + 1];
  std::ofstream(file_, std::ios::binary) << bytes;
  std::string error;
  auto db = openDatabaseFile(file_.string(), error);
  ASSERT_TRUE(db) << error;
  EXPECT_FALSE(db->open({"Orders", ObjectKind::Table, nullptr}, RowSelection::all(), error));
  EXPECT_EQ(error, "the list of pages of the table \"Orders\" cannot be read; the file is damaged");
  EXPECT_EQ(rows(*db, "Sales Reps").size(), 3u);

  // The catalogue's own map, the first row, made empty: the file cannot be opened.
  bytes[offsets] = 0x00;
  bytes[offsets + 1] = 0x10;  // starts at the end of the page
  std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes;
  EXPECT_FALSE(openDatabaseFile(file_.string(), error));
  EXPECT_EQ(error, "The database \"Sales.MDB\" cannot be opened: its list of tables cannot be read.");

  // A file cut short before the catalogue's rows.
  bytes = test::jetDatabaseBytes(test::sampleJetDatabase()).substr(0, 3 * 4096);
  std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes;
  EXPECT_FALSE(openDatabaseFile(file_.string(), error));
  EXPECT_EQ(error, "The database \"Sales.MDB\" cannot be opened: its list of tables cannot be read.");
}

// A data page overwritten: mdbtools passes over it, and the stream, short
// of the table's record count, fails and says why.
TEST_F(MdbTest, AStreamShortOfTheRecordCountFails) {
  JetTable t{"Big", {{"id", JetType::LongInteger}, {"name", JetType::Text}}, {}};
  for (int i = 0; i < 2000; ++i) t.rows.push_back({std::to_string(i), "name number " + std::to_string(i)});
  std::string bytes = test::jetDatabaseBytes({{t}, {}});
  ASSERT_GT(bytes.size(), 12u * 4096);
  std::fill(bytes.begin() + 10 * 4096, bytes.begin() + 11 * 4096, '\0');
  std::ofstream(file_, std::ios::binary) << bytes;
  std::string error;
  auto db = openDatabaseFile(file_.string(), error);
  ASSERT_TRUE(db) << error;
  EXPECT_EQ(db->rowCount({"Big", ObjectKind::Table, nullptr}, error), 2000);
  std::string failure;
  const Rows got = rows(*db, "Big", RowSelection::all(), &failure);
  ASSERT_LT(got.size(), 2000u);
  ASSERT_GT(got.size(), 1000u);
  EXPECT_EQ(failure, "only " + std::to_string(got.size()) + " of its 2000 records could be read; the file is damaged");
  // A stream asked for fewer rows than are left is not told of the damage.
  RowSelection s;
  s.count = 10;
  EXPECT_EQ(rows(*db, "Big", s).size(), 10u);
}

}  // namespace
}  // namespace vlm::platform::db

namespace vlm::platform::workspace {
namespace {

using dde::Conversation;

// The workspace answering the loader's conversation from an Access file.
class MdbWorkspaceTest : public WorkspaceFixture {
 protected:
  void SetUp() override {
    if (!db::mdbEngineAvailable()) GTEST_SKIP() << "this build reads no Access files (mdbtools-dev was not found)";
    startWorkspace("velmora-mdbws-", "Sales.MDB");
    ASSERT_TRUE(test::writeJetDatabase(file_.string(), test::sampleJetDatabase()));
  }
};

TEST_F(MdbWorkspaceTest, AnswersTheLoadersTopicsFromAnAccessFile) {
  Workspace& w = Workspace::instance();
  ASSERT_TRUE(w.openCurrentDatabase(file_.string()));
  EXPECT_EQ(ask("System", "Topics"), "System\t" + file_.string());
  // The topic is the file's name without ".MDB".
  EXPECT_EQ(ask("Sales", "TableList"), "Orders\tSales Reps");
  EXPECT_EQ(ask("sales", "QueryList"), "");
  EXPECT_EQ(ask("Sales;TABLE Orders", "FieldNames;T"),
            "Order Id\tCustomer\tAmount\tOrdered\tPaid\tQuantity\tPrice\tRating\tWeight\tNotes\r\n"
            "4\t10\t7\t8\t1\t3\t5\t2\t6\t12\r\n");
  EXPECT_EQ(ask("Sales; SQL SELECT Count(*) FROM [Sales Reps];", "NextRow"), "3");
  Conversation stream = Conversation::connect(kServiceName, "Sales;TABLE Sales Reps");
  std::string record;
  std::vector<std::string> records;
  while (stream.request("NextRow", record)) records.push_back(record);
  EXPECT_EQ(records, (std::vector<std::string>{"Ann\tNorth\t1500.75", "Bob\tSouth\t98.5", "Cyd\t\t0"}));
  EXPECT_TRUE(boxes_.empty());
}

}  // namespace
}  // namespace vlm::platform::workspace
