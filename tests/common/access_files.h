#pragma once
// Access database files for tests, written from scratch: a Jet 4 (Access
// 2000) file with its catalogue (MSysObjects), user tables and the names of
// saved queries, laid out page by page as the mdbtools documentation
// (HACKING.md) describes the format. No index pages, no long-value pages:
// memo texts are stored inside their rows.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vlm::test {

// The column types, by the codes the file stores.
enum class JetType : uint8_t {
  Boolean = 0x01,
  Byte = 0x02,
  Integer = 0x03,      // 16 bits
  LongInteger = 0x04,  // 32 bits
  Currency = 0x05,
  Single = 0x06,
  Double = 0x07,
  DateTime = 0x08,
  Text = 0x0A,
  Ole = 0x0B,  // long binary: the value's bytes as given
  Memo = 0x0C,
};

struct JetColumn {
  std::string name;
  JetType type = JetType::Text;
};

// A value is given as text: "1"/"0" for booleans, decimal numbers (reals
// also in hexadecimal, "0x1.8p+1", to give exact bits), "YYYY-MM-DD
// hh:mm:ss" for dates; no value is a NULL.
using JetValue = std::optional<std::string>;

struct JetTable {
  std::string name;
  std::vector<JetColumn> columns;
  std::vector<std::vector<JetValue>> rows;
};

struct JetDatabase {
  std::vector<JetTable> tables;
  std::vector<std::string> queries;  // catalogue entries only, without SQL
  // An Access 2007 file (.accdb): the same pages under the ACE header.
  bool ace = false;
};

// The file's bytes; empty when a row or a table's definition does not fit
// in one page.
std::string jetDatabaseBytes(const JetDatabase& database);
bool writeJetDatabase(const std::string& path, const JetDatabase& database);

// A small database of two tables ("Orders" with every column type above,
// "Sales Reps" with a blank in its name) and one query ("Big Orders").
JetDatabase sampleJetDatabase();

}  // namespace vlm::test
