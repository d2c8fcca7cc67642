#include "platform/database/postgres_database.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#ifdef VLM_HAVE_LIBPQ
#include <map>
#include <optional>

#include "platform/database/copy_fetch.h"
#include "platform/database/postgres_link.h"
#endif

namespace vlm::platform::db {

bool decodeCopyField(std::string_view raw, std::string& out) {
  out.clear();
  if (raw == "\\N") return false;
  auto octal = [](char c) { return c >= '0' && c <= '7'; };
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c != '\\' || i + 1 >= raw.size()) {
      out.push_back(c);
      continue;
    }
    const char e = raw[++i];
    switch (e) {
      case 'b': out.push_back('\b'); break;
      case 'f': out.push_back('\f'); break;
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      case 'v': out.push_back('\v'); break;
      case 'x': {
        int value = 0, digits = 0;
        while (digits < 2 && i + 1 < raw.size() && hex(raw[i + 1]) >= 0) value = value * 16 + hex(raw[++i]), ++digits;
        if (digits == 0) out.push_back('x');
        else out.push_back(static_cast<char>(value));
        break;
      }
      default:
        if (octal(e)) {
          int value = e - '0', digits = 1;
          while (digits < 3 && i + 1 < raw.size() && octal(raw[i + 1])) value = value * 8 + (raw[++i] - '0'), ++digits;
          out.push_back(static_cast<char>(value & 0xFF));
        } else {
          out.push_back(e);
        }
    }
  }
  return true;
}

#ifndef VLM_HAVE_LIBPQ

bool postgresEngineAvailable() { return false; }

std::unique_ptr<Database> openPostgresDatabase(const ServerLogin&, std::string& error, bool& needsPassword) {
  needsPassword = false;
  error = "this build has no PostgreSQL client library (libpq)";
  return nullptr;
}

#else

namespace {

using namespace pg;
// Text literals are written with quotes doubled, which holds only while a
// backslash in them is an ordinary character.
constexpr const char* kSession =
    "SET standard_conforming_strings = on; "
    "SET synchronize_seqscans = off; SET max_parallel_workers_per_gather = 0; "
    "SET DateStyle = 'ISO, YMD'; SET IntervalStyle = 'postgres'";

std::string quoteName(std::string_view name) { return quoteIdentifier(name, SqlDialect{SqlFamily::Postgres, "\""}); }

// Signs in with the connection text and the password, and readies the session.
bool connectServer(const ServerLogin& login, Conn& conn, std::string& error, bool& needsPassword) {
  needsPassword = false;
  std::string uri = login.connection;
  const char* keys[] = {"dbname", "password", "connect_timeout", "client_encoding", "fallback_application_name", nullptr};
  const char* values[] = {uri.c_str(), login.password.empty() ? nullptr : login.password.c_str(), "10", "UTF8",
                          "velmora", nullptr};
  // A password given here wins over one in the connection text; one left
  // out comes from the environment or the password file, as libpq reads them.
  conn.c = PQconnectdbParams(keys, values, 1);
  if (!conn.c) {
    error = "out of memory";
    return false;
  }
  if (PQstatus(conn.c) != CONNECTION_OK) {
    needsPassword = PQconnectionNeedsPassword(conn.c) != 0;
    error = oneLine(PQerrorMessage(conn.c));
    return false;
  }
  Result r;
  if (!run(conn.c, kSession, r, error)) return false;
  return true;
}

// What the catalogue knows of one relation.
struct Relation {
  unsigned oid = 0;
  std::string sql;  // schema-qualified and quoted
  char kind = 'r';
};

struct ColumnInfo {
  std::string name;
  unsigned type = 0;
};

ColumnKind kindOfType(unsigned type) {
  switch (type) {
    case 16: return ColumnKind::Boolean;
    case 17: return ColumnKind::Binary;
    case 20: case 26: return ColumnKind::BigInteger;
    case 21: return ColumnKind::SmallInteger;
    case 23: return ColumnKind::Integer;
    case 25: return ColumnKind::Memo;
    case 700: return ColumnKind::Single;
    case 701: case 1700: return ColumnKind::Double;
    case 790: return ColumnKind::Currency;
    case 1082: case 1083: case 1114: case 1184: case 1266: return ColumnKind::DateTime;
    default: return ColumnKind::Text;
  }
}

// The column as the cursor's texts want it: booleans as 1 and 0, money as a
// plain number, dates and times to the second, binary values as a byte count.
std::string cellExpression(const ColumnInfo& c) {
  const std::string n = quoteName(c.name);
  switch (c.type) {
    case 16: return "CAST(" + n + " AS integer)";
    case 17: return "octet_length(" + n + ") || ' bytes'";
    case 790: return "CAST(" + n + " AS numeric)";
    case 1083: case 1266: return "CAST(" + n + " AS time(0))";
    case 1114: case 1184: return "CAST(" + n + " AS timestamp(0))";
    default: return n;
  }
}

// Tables at least this large (in blocks, 8 MiB) are numbered in two parts at
// once when a list of rows is asked for; below it the second connection
// would cost about what it saves.
constexpr int64_t kSplitFromBlocks = 1024;

std::string base64(std::string_view bytes) {
  static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t v = 0;
    for (size_t k = 0; k < 3; ++k)
      v = v << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (size_t k = 0; k < 4; ++k) out.push_back(k <= n ? digits[(v >> (18 - 6 * k)) & 63] : '=');
  }
  return out;
}

// The rows of a list (from 0) as a condition on vlm_row (from 1). Looking a
// row up in a map of bits costs the server less than hashing it into the
// list, so the map is sent where the server has it and its text is not much
// longer than the list's.
std::string rowListCondition(const std::vector<int64_t>& rows, bool bitmaps) {
  std::string array = "{";
  int64_t last = 0;
  for (const int64_t row : rows) {
    if (row < 0) continue;
    if (array.size() > 1) array.push_back(',');
    array += std::to_string(row + 1);
    last = std::max(last, row + 1);
  }
  array += "}";
  const std::string bound = "vlm_row <= " + std::to_string(last);
  const size_t bytes = static_cast<size_t>(last / 8 + 1);
  const size_t text = (bytes + 2) / 3 * 4;  // in base64
  if (!bitmaps || last == 0 || text > array.size() * 4) return bound + " AND vlm_row = ANY('" + array + "'::bigint[])";
  std::string bits(bytes, '\0');
  for (const int64_t row : rows)
    if (row >= 0) bits[static_cast<size_t>((row + 1) >> 3)] |= static_cast<char>(1 << ((row + 1) & 7));
  // LEAST keeps get_bit inside the map whichever test the server runs first.
  return bound + " AND get_bit(decode('" + base64(bits) + "', 'base64'), LEAST(vlm_row, " + std::to_string(last) +
         ")) = 1";
}

// One query of a cursor on a connection of its own, its rows fetched ahead.
struct CopyPart {
  std::unique_ptr<Conn> conn;
  std::unique_ptr<CopyFetch> fetch;
  bool done = false;  // the server finished sending (or failed)
};

class PgCursor final : public Cursor {
 public:
  // A numbered row starts with its index in the object, a based one with
  // its index in the whole table (after the index, when both).
  PgCursor(int columns, bool numbered, bool based, bool selects)
      : columns_(columns), numbered_(numbered), based_(based), selects_(selects),
        lead_((numbered ? 1 : 0) + (based ? 1 : 0)), fields_(static_cast<size_t>(columns + lead_)),
        scratch_(static_cast<size_t>(columns)) {}
  ~PgCursor() override { close(); }

  // A query read after another keeps up to 64 MiB of its rows waiting, so
  // that its server works on meanwhile.
  static constexpr size_t kLaterBlocksAhead = 64 * 1024 * 1024 / CopyFetch::kBlockBytes;

  // Sends a query on `conn`; its rows are fetched ahead from then on, and
  // read after those of the queries sent before it.
  bool send(std::unique_ptr<Conn> conn, const std::string& sql, std::string& error) {
    if (!PQsendQuery(conn->c, sql.c_str())) {
      error = oneLine(PQerrorMessage(conn->c));
      return false;
    }
    CopyPart part;
    part.conn = std::move(conn);
    const size_t ahead = parts_.empty() ? CopyFetch::kBlocksAhead : kLaterBlocksAhead;
    part.fetch = std::make_unique<CopyFetch>(part.conn->c, lead_, ahead);
    parts_.push_back(std::move(part));
    return true;
  }

  Step next(Clock::time_point deadline) override {
    if (done_) return Step::End;
    while (at_ >= block_.rows.size()) {
      if (block_.status == CopyBlock::Status::End) {
        parts_[part_].done = true;
        if (part_ + 1 >= parts_.size()) {
          done_ = true;
          return Step::End;
        }
        ++part_;
        block_.clear();
        continue;
      }
      if (block_.status == CopyBlock::Status::Failed) {
        parts_[part_].done = true;
        error_ = block_.error;
        return fail();
      }
      if (!parts_[part_].fetch->take(block_, deadline)) {
        error_ = "the server did not answer in time";
        return fail();
      }
      at_ = 0;
    }
    const CopyBlock::Row& row = block_.rows[at_++];
    if (numbered_) row_ = row.index[0];
    else ++row_;
    if (based_) base_ = row.index[numbered_ ? 1 : 0];
    split_ = false;
    return Step::Row;
  }

  int columnCount() const override { return columns_; }

  bool cell(int column, std::string_view& text) override {
    if (column < 0 || column >= columns_ || at_ == 0) return false;
    if (!split_) split(block_.line(at_ - 1));
    const std::string_view raw = fields_[static_cast<size_t>(column + lead_)];
    if (raw.find('\\') == std::string_view::npos) {
      text = raw;
      return true;
    }
    std::string& s = scratch_[static_cast<size_t>(column)];
    if (!decodeCopyField(raw, s)) return false;
    text = s;
    return true;
  }

  bool record(std::string_view& text) override {
    if (at_ == 0) return false;
    text = block_.record(at_ - 1);
    return true;
  }

  int64_t sourceRow() const override { return row_; }
  int64_t baseRow() const override { return based_ ? base_ : row_; }
  bool selectsRows() const override { return selects_; }
  const std::string& error() const override { return error_; }

 private:
  Step fail() {
    done_ = true;
    close();
    return Step::Failed;
  }

  // Ends the reading ahead, then gives up the queries still running.
  void close() {
    for (CopyPart& p : parts_) p.fetch.reset();
    for (CopyPart& p : parts_) {
      if (!p.done && p.conn && p.conn->c) cancel(p.conn->c);
      p.conn.reset();
    }
  }

  // Cells are separated by tabs (one inside a value comes escaped).
  void split(std::string_view line) {
    size_t start = 0;
    for (auto& f : fields_) {
      if (start > line.size()) {
        f = "\\N";
        continue;
      }
      const size_t tab = line.find('\t', start);
      f = line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
      start = tab == std::string_view::npos ? line.size() + 1 : tab + 1;
    }
    split_ = true;
  }

  int columns_;
  bool numbered_, based_, selects_;
  int lead_;
  std::vector<std::string_view> fields_;
  std::vector<std::string> scratch_;
  std::vector<CopyPart> parts_;
  size_t part_ = 0;  // the part whose rows are read
  CopyBlock block_;
  size_t at_ = 0;  // the next row of block_
  bool split_ = false;  // fields_ hold the current row's cells
  bool done_ = false;
  int64_t row_ = -1, base_ = -1;
  std::string error_;
};

class PgDatabase final : public Database {
 public:
  PgDatabase(ServerLogin login, std::unique_ptr<Conn> conn) : login_(std::move(login)), conn_(std::move(conn)) {
    path_ = canonicalPath();
  }

  const std::string& path() const override { return path_; }
  std::string engineName() const override { return "PostgreSQL"; }
  bool selectsRows() const override { return true; }
  bool filtersRows() const override { return true; }
  void setExactCounts(bool on) override { exact_ = on; }

  std::unique_ptr<Database> reopen(std::string& error) override {
    auto conn = std::make_unique<Conn>();
    bool needsPassword = false;
    if (!connectServer(login_, *conn, error, needsPassword)) return nullptr;
    auto db = std::make_unique<PgDatabase>(login_, std::move(conn));
    db->exact_ = exact_;
    return db;
  }

  std::optional<std::vector<ObjectInfo>> objects(std::string& error) override {
    Result r;
    if (!run(conn_->c,
             "SELECT c.oid, n.nspname, c.relname, c.relkind, pg_catalog.pg_table_is_visible(c.oid) "
             "FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
             "WHERE c.relkind IN ('r', 'p', 'v', 'm', 'f') AND NOT c.relispartition "
             "AND n.nspname <> 'information_schema' AND n.nspname NOT LIKE 'pg\\_%' "
             "ORDER BY 5 DESC, lower(n.nspname), lower(c.relname), c.relname",
             r, error))
      return std::nullopt;
    std::vector<ObjectInfo> out;
    relations_.clear();
    for (int i = 0; i < r.rows(); ++i) {
      unsigned oid = 0;
      const std::string_view o = r.text(i, 0);
      std::from_chars(o.data(), o.data() + o.size(), oid);
      const std::string schema(r.text(i, 1)), name(r.text(i, 2));
      const char kind = r.text(i, 3).empty() ? 'r' : r.text(i, 3)[0];
      const bool visible = r.text(i, 4) == "t";
      // A relation outside the search path is named with its schema.
      const std::string shown = visible ? name : schema + "." + name;
      relations_[shown] = Relation{oid, quoteName(schema) + "." + quoteName(name), kind};
      out.push_back({shown, kind == 'v' || kind == 'm' ? ObjectKind::Query : ObjectKind::Table, nullptr});
    }
    return out;
  }

  std::optional<std::vector<Column>> columns(const ObjectInfo& object, std::string& error) override {
    const Relation* rel = relation(object, error);
    if (!rel) return std::nullopt;
    auto info = columnInfo(*rel, error);
    if (!info) return std::nullopt;
    // A view can fail as it runs; one that fails at its first row is found
    // out here, before anything is replaced by it.
    if (rel->kind == 'v' || object.filter) {
      Result probe;
      if (!run(conn_->c, "SELECT * FROM " + fromClause(*rel, object) + " LIMIT 1", probe, error)) return std::nullopt;
    }
    std::vector<Column> out;
    for (const ColumnInfo& c : *info) out.push_back({c.name, kindOfType(c.type)});
    return out;
  }

  std::optional<int64_t> rowCount(const ObjectInfo& object, std::string& error) override {
    const Relation* rel = relation(object, error);
    if (!rel) return std::nullopt;
    if (!exact_ && !object.filter && rel->kind != 'v') {
      Result r;
      if (!run(conn_->c, "SELECT CAST(reltuples AS bigint) FROM pg_catalog.pg_class WHERE oid = " + std::to_string(rel->oid),
               r, error))
        return std::nullopt;
      int64_t estimate = -1;
      if (r.rows() == 1) {
        const std::string_view t = r.text(0, 0);
        std::from_chars(t.data(), t.data() + t.size(), estimate);
      }
      if (estimate >= kEstimatedCountFrom) return estimate;
    }
    Result r;
    if (!run(conn_->c, "SELECT count(*) FROM " + fromClause(*rel, object), r, error)) return std::nullopt;
    int64_t n = 0;
    if (r.rows() == 1) {
      const std::string_view t = r.text(0, 0);
      std::from_chars(t.data(), t.data() + t.size(), n);
    }
    return n;
  }

  std::unique_ptr<Cursor> open(const ObjectInfo& object, const RowSelection& rows, std::string& error) override {
    const Relation* rel = relation(object, error);
    if (!rel) return nullptr;
    auto info = columnInfo(*rel, error);
    if (!info) return nullptr;
    std::string list;
    for (size_t i = 0; i < info->size(); ++i) {
      if (i) list += ", ";
      list += cellExpression((*info)[i]);
    }
    if (list.empty()) list = "NULL";  // a relation without columns still has rows
    const std::string from = fromClause(*rel, object);
    std::string sql;
    const bool numbered = !rows.isAll();
    const bool based = filtered(object);
    std::unique_ptr<Conn> spare;  // a connection taken for a split that did not happen
    if (!numbered) {
      sql = "COPY (SELECT " + std::string(based ? "vlm_base - 1, " : "") + list + " FROM " + from + ") TO STDOUT";
    } else {
      // row_number() bare, so that a bound on it stops the scan early.
      std::string where, limit;
      std::optional<NumberingAids> aids;
      if (rows.rows) {
        aids = numberingAids(*rel);
        where = rowListCondition(*rows.rows, aids->bitmaps);
      } else {
        const int64_t first = std::max<int64_t>(rows.first, 0) + 1;
        const int64_t step = std::max<int64_t>(rows.step, 1);
        where = "vlm_row >= " + std::to_string(first);
        if (step > 1) where += " AND (vlm_row - " + std::to_string(first) + ") % " + std::to_string(step) + " = 0";
        if (rows.count >= 0) {
          where += " AND vlm_row <= " + std::to_string(first + std::max<int64_t>(rows.count - 1, 0) * step);
          limit = " LIMIT " + std::to_string(rows.count);
        }
      }
      // The inner select numbers the rows and names each cell; the outer one
      // keeps the wanted rows, their index first.
      std::string named, outer;
      if (based) {
        named = ", vlm_base";
        outer = ", vlm_base - 1";
      }
      for (size_t i = 0; i < info->size(); ++i) {
        named += ", " + cellExpression((*info)[i]) + " AS vlm_c" + std::to_string(i);
        outer += ", vlm_c" + std::to_string(i);
      }
      auto numberedCopy = [&](const std::string& number, const std::string& source) {
        return "COPY (SELECT vlm_row - 1" + outer + " FROM (SELECT " + number + " AS vlm_row" + named + " FROM " +
               source + ") AS vlm_rows WHERE " + where + limit + ") TO STDOUT";
      };
      sql = numberedCopy("row_number() OVER ()", from);
      if (aids && !based && aids->blocks >= kSplitFromBlocks) {
        // Numbering every row is most of a random sample's cost: the two
        // parts of the table are numbered at once, on two connections that
        // see the same snapshot, the second part's numbers starting after a
        // count of the first part's rows. (Every n-th row is left to one
        // query: its test is cheap, and on a busy server the count costs
        // more than the second connection saves.)
        const std::string bound = "'(" + std::to_string(aids->blocks * 3 / 5) + ",0)'::tid";
        const std::string firstPart = from + " WHERE ctid < " + bound;
        const std::string secondPart = from + " WHERE ctid >= " + bound;
        std::string splitError;
        auto split = openSplit(numberedCopy("row_number() OVER ()", firstPart),
                               numberedCopy("row_number() OVER () + (SELECT count(*) FROM " + firstPart + ")", secondPart),
                               static_cast<int>(info->size()), splitError, spare);
        if (split) return split;
        if (!splitError.empty()) {
          error = splitError;
          return nullptr;
        }
      }
    }
    std::unique_ptr<Conn> conn = std::move(spare);
    if (!conn) {
      conn = std::make_unique<Conn>();
      bool needsPassword = false;
      if (!connectServer(login_, *conn, error, needsPassword)) return nullptr;
    }
    auto cursor = std::make_unique<PgCursor>(static_cast<int>(info->size()), numbered, based, numbered);
    if (!cursor->send(std::move(conn), sql, error)) return nullptr;
    return cursor;
  }

 private:
  std::string canonicalPath() const {
    PGconn* c = conn_->c;
    std::string out = postgresUri(PQuser(c) ? PQuser(c) : "", "", PQhost(c) ? PQhost(c) : "",
                                  PQport(c) ? PQport(c) : "", PQdb(c) ? PQdb(c) : "");
    // Options of the connection text other than where and who (a service,
    // SSL settings) are kept; the password never is.
    const size_t q = login_.connection.find('?');
    if (q == std::string::npos) return out;
    std::string kept;
    std::string_view query = std::string_view(login_.connection).substr(q + 1);
    while (!query.empty()) {
      const size_t amp = query.find('&');
      const std::string_view part = query.substr(0, amp);
      const std::string key(part.substr(0, part.find('=')));
      static const char* const skip[] = {"host", "hostaddr", "port", "dbname", "user", "password"};
      if (!part.empty() && std::none_of(std::begin(skip), std::end(skip), [&](const char* s) { return key == s; })) {
        if (!kept.empty()) kept.push_back('&');
        kept += std::string(part);
      }
      if (amp == std::string_view::npos) break;
      query.remove_prefix(amp + 1);
    }
    return kept.empty() ? out : out + "?" + kept;
  }

  // What asking for a list of rows of one relation may use: a map of bits
  // (where the server has get_bit over bigint), and the relation's blocks
  // when its rows can be numbered in parts by their place in the heap (a
  // plain table of a server with range scans on ctid, no child tables).
  struct NumberingAids {
    bool bitmaps = false;
    int64_t blocks = 0;
  };
  NumberingAids numberingAids(const Relation& rel) {
    NumberingAids out;
    if (PQserverVersion(conn_->c) < 140000) return out;
    Result r;
    std::string error;
    // Engines that speak the protocol without these functions say so here,
    // and are asked as before.
    if (!run(conn_->c,
             "SELECT get_bit('\\x01'::bytea, CAST(0 AS bigint)), pg_catalog.pg_relation_size(c.oid) / "
             "CAST(pg_catalog.current_setting('block_size') AS bigint), c.relhassubclass "
             "FROM pg_catalog.pg_class c WHERE c.oid = " + std::to_string(rel.oid),
             r, error) ||
        r.rows() != 1)
      return out;
    out.bitmaps = r.text(0, 0) == "1";
    if (rel.kind == 'r' && r.text(0, 2) == "f") {
      const std::string_view t = r.text(0, 1);
      std::from_chars(t.data(), t.data() + t.size(), out.blocks);
    }
    return out;
  }

  // A cursor reading `first`, then `second`, sent on two connections of one
  // snapshot; null with `error` empty when the server cannot share its
  // snapshot (the caller asks in one query then).
  std::unique_ptr<Cursor> openSplit(const std::string& first, const std::string& second, int columns,
                                    std::string& error, std::unique_ptr<Conn>& spare) {
    auto one = std::make_unique<Conn>(), two = std::make_unique<Conn>();
    bool needsPassword = false;
    // A server that takes no more connections is asked in one query, as a
    // smaller table would be, on the connection it did take: a slot given
    // back is free only once its server process has ended, so connecting
    // again could be refused. A server gone away says so on that query.
    std::string refused;
    if (!connectServer(login_, *one, refused, needsPassword)) return nullptr;
    if (!connectServer(login_, *two, refused, needsPassword)) {
      spare = std::move(one);
      return nullptr;
    }
    Result snapshot, ignored;
    std::string why;
    if (!run(one->c, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", ignored, why) ||
        !run(one->c, "SELECT pg_catalog.pg_export_snapshot()", snapshot, why) || snapshot.rows() != 1)
      return nullptr;
    const std::string id(snapshot.text(0, 0));
    if (id.find('\'') != std::string::npos) return nullptr;
    if (!run(two->c, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", ignored, why) ||
        !run(two->c, "SET TRANSACTION SNAPSHOT '" + id + "'", ignored, why))
      return nullptr;
    auto cursor = std::make_unique<PgCursor>(columns, true, false, true);
    if (!cursor->send(std::move(one), first, error) || !cursor->send(std::move(two), second, error)) return nullptr;
    return cursor;
  }

  const Relation* relation(const ObjectInfo& object, std::string& error) {
    auto it = relations_.find(object.name);
    if (it == relations_.end()) {
      if (!objects(error)) return nullptr;
      it = relations_.find(object.name);
    }
    if (it == relations_.end()) {
      error = "there is no table or view of that name";
      return nullptr;
    }
    return &it->second;
  }

  std::optional<std::vector<ColumnInfo>> columnInfo(const Relation& rel, std::string& error) {
    Result r;
    // A domain reads as the type it is made of.
    if (!run(conn_->c,
             "SELECT a.attname, CASE WHEN t.typtype = 'd' THEN t.typbasetype ELSE a.atttypid END "
             "FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_type t ON t.oid = a.atttypid "
             "WHERE a.attrelid = " + std::to_string(rel.oid) + " AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum",
             r, error))
      return std::nullopt;
    std::vector<ColumnInfo> out;
    for (int i = 0; i < r.rows(); ++i) {
      ColumnInfo c;
      c.name = std::string(r.text(i, 0));
      const std::string_view t = r.text(i, 1);
      std::from_chars(t.data(), t.data() + t.size(), c.type);
      out.push_back(std::move(c));
    }
    return out;
  }

  static std::string condition(const ObjectInfo& object) {
    return object.filter ? whereCondition(*object.filter, SqlDialect{SqlFamily::Postgres, "\""}) : std::string();
  }
  static bool filtered(const ObjectInfo& object) { return !condition(object).empty(); }

  // A filtered object keeps each row's number in the whole table (vlm_base,
  // from 1), numbered before the filter runs.
  std::string fromClause(const Relation& rel, const ObjectInfo& object) const {
    const std::string where = condition(object);
    if (where.empty()) return rel.sql;
    return "(SELECT * FROM (SELECT row_number() OVER () AS vlm_base, * FROM " + rel.sql + ") AS vlm_all WHERE " +
           where + ") AS vlm_filtered";
  }

  ServerLogin login_;
  std::unique_ptr<Conn> conn_;
  std::string path_;
  std::map<std::string, Relation> relations_;
  bool exact_ = false;
};

}  // namespace

bool postgresEngineAvailable() { return true; }

std::unique_ptr<Database> openPostgresDatabase(const ServerLogin& login, std::string& error, bool& needsPassword) {
  auto conn = std::make_unique<Conn>();
  if (!connectServer(login, *conn, error, needsPassword)) return nullptr;
  return std::make_unique<PgDatabase>(login, std::move(conn));
}

#endif

}  // namespace vlm::platform::db
