#include "platform/database/mdb_database.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <sys/stat.h>

#ifdef VLM_HAVE_MDBTOOLS
#include <mdbtools.h>
#endif

namespace vlm::platform::db {

bool isAccessFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[20] = {};
  in.read(head, sizeof head);
  if (in.gcount() != 20) return false;
  return std::memcmp(head + 4, "Standard Jet DB", 15) == 0 || std::memcmp(head + 4, "Standard ACE DB", 15) == 0;
}

#ifndef VLM_HAVE_MDBTOOLS

bool mdbEngineAvailable() { return false; }

std::unique_ptr<Database> openMdbDatabase(const std::string&, std::string& error) {
  error = "this build reads no Access files";
  return nullptr;
}

#else

namespace {

constexpr size_t kBindSize = 65536;  // longer texts are cut here

ColumnKind kindOf(int type) {
  switch (type) {
    case MDB_BOOL: return ColumnKind::Boolean;
    case MDB_BYTE: return ColumnKind::Byte;
    case MDB_INT: return ColumnKind::SmallInteger;
    case MDB_LONGINT: return ColumnKind::Integer;
    case MDB_MONEY: return ColumnKind::Currency;
    case MDB_FLOAT: return ColumnKind::Single;
    case MDB_DOUBLE: return ColumnKind::Double;
    case MDB_NUMERIC: return ColumnKind::Double;
    case MDB_DATETIME: return ColumnKind::DateTime;
    case MDB_TEXT: return ColumnKind::Text;
    case MDB_REPID: return ColumnKind::Text;
    case MDB_MEMO: return ColumnKind::Memo;
    case MDB_BINARY:
    case MDB_OLE: return ColumnKind::Binary;
    default: return ColumnKind::Unknown;
  }
}

// Reals and currency as the stored bits say, not as mdbtools prints them
// (it keeps 15 digits of a double and pads currency to four decimals): the
// shortest text that reads back as the same value. Empty for other types.
std::string exactNumberText(int type, const unsigned char* p) {
  char out[48];
  switch (type) {
    case MDB_DOUBLE: {
      double v;
      std::memcpy(&v, p, sizeof v);
      return std::string(out, std::to_chars(out, out + sizeof out, v).ptr);
    }
    case MDB_FLOAT: {
      float v;
      std::memcpy(&v, p, sizeof v);
      return std::string(out, std::to_chars(out, out + sizeof out, v).ptr);
    }
    case MDB_MONEY: {
      // A 64-bit count of ten-thousandths.
      int64_t units;
      std::memcpy(&units, p, sizeof units);
      const bool negative = units < 0;
      const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
      std::string text = std::to_string(magnitude / 10000);
      if (const uint64_t fraction = magnitude % 10000) {
        char digits[8];
        std::snprintf(digits, sizeof digits, ".%04u", static_cast<unsigned>(fraction));
        text += digits;
        while (text.back() == '0') text.pop_back();
      }
      return negative ? "-" + text : text;
    }
    default: return {};
  }
}

bool isExactNumber(int type) { return type == MDB_DOUBLE || type == MDB_FLOAT || type == MDB_MONEY; }
bool isBinary(int type) { return type == MDB_OLE || type == MDB_BINARY; }

struct Handle {
  MdbHandle* mdb = nullptr;
  ~Handle() {
    if (mdb) mdb_close(mdb);
  }
};

MdbCatalogEntry* findTable(MdbHandle* mdb, const std::string& name) {
  for (unsigned i = 0; i < mdb->num_catalog; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry) && name == entry->object_name) return entry;
  }
  return nullptr;
}

// Whether the table's pages, as its usage map lists them, lie within the
// file: a file cut short (a copy that stopped) loses the last tables' pages,
// and mdbtools would read such a table as shorter without a word. A map of
// bits is checked page by page, a map of map pages by those pages.
bool pagesWithinFile(MdbHandle* mdb, const MdbTableDef* t) {
  struct stat st {};
  if (!mdb->f || !mdb->f->stream || fstat(fileno(mdb->f->stream), &st) != 0) return true;
  const uint64_t pageSize = mdb->fmt->pg_size;
  const uint64_t pages = static_cast<uint64_t>(st.st_size) / pageSize;
  const unsigned char* map = t->usage_map;
  const size_t size = t->map_sz;
  if (!map || size < 5) return true;
  if (map[0] == 0) {
    uint32_t first = 0;
    std::memcpy(&first, map + 1, 4);  // little-endian, as the file
    for (size_t i = size; i-- > 5;) {
      if (!map[i]) continue;
      int bit = 7;
      while (!(map[i] & (1 << bit))) --bit;
      return uint64_t{first} + (i - 5) * 8 + static_cast<uint64_t>(bit) < pages;
    }
    return true;
  }
  if (map[0] == 1) {
    for (size_t at = 1; at + 4 <= size; at += 4) {
      uint32_t page = 0;
      std::memcpy(&page, map + at, 4);
      if (page >= pages) return false;
    }
  }
  return true;
}

bool pageMapReadable(MdbHandle* mdb, const MdbTableDef* t) {
  // mdbtools follows the page map without looking: an empty one (a row of
  // no bytes where the map should be) would be read through a null pointer.
  return t->usage_map && t->map_sz >= 5 && pagesWithinFile(mdb, t);
}

// The catalogue (MSysObjects, defined on page 2) is read by mdbtools through
// its page map as any table is; the map is checked first.
bool catalogueMapReadable(MdbHandle* mdb) {
  MdbCatalogEntry entry{};
  entry.mdb = mdb;
  entry.object_type = MDB_TABLE;
  entry.table_pg = 2;
  std::snprintf(entry.object_name, sizeof entry.object_name, "%s", "MSysObjects");
  MdbTableDef* t = mdb_read_table(&entry);
  if (!t) return false;
  const bool readable = pageMapReadable(mdb, t);
  mdb_free_tabledef(t);
  return readable;
}

struct TableDef {
  MdbTableDef* t = nullptr;
  TableDef() = default;
  TableDef(const TableDef&) = delete;
  TableDef& operator=(const TableDef&) = delete;
  ~TableDef() {
    if (t) mdb_free_tabledef(t);
  }
  bool read(MdbHandle* mdb, const ObjectInfo& object, std::string& error) {
    MdbCatalogEntry* entry = object.kind == ObjectKind::Table ? findTable(mdb, object.name) : nullptr;
    if (!entry) {
      error = "there is no table \"" + object.name + "\"";
      return false;
    }
    t = mdb_read_table(entry);
    if (!t || !mdb_read_columns(t)) {
      error = "the table \"" + object.name + "\" cannot be read";
      return false;
    }
    if (!t->usage_map || t->map_sz < 5) {
      error = "the list of pages of the table \"" + object.name + "\" cannot be read; the file is damaged";
      return false;
    }
    if (!pageMapReadable(mdb, t)) {
      error = "pages of the table \"" + object.name + "\" lie past the end of the file; the file is damaged";
      return false;
    }
    return true;
  }
};

// A cursor reads through a handle of its own: mdbtools keeps the current
// page in the handle, so a second cursor, or a question about another table,
// on a shared handle would move the page from under the first cursor. The
// clone shares the open file and its catalogue.
struct ClonedHandle {
  MdbHandle* mdb = nullptr;
  ClonedHandle() = default;
  ClonedHandle(const ClonedHandle&) = delete;
  ClonedHandle& operator=(const ClonedHandle&) = delete;
  ~ClonedHandle() {
    if (mdb) mdb_close(mdb);
  }
};

class MdbCursor final : public Cursor {
 public:
  MdbCursor(std::shared_ptr<Handle> h, int64_t first) : h_(std::move(h)), first_(first) {}

  bool start(const ObjectInfo& object, int64_t count, std::string& error) {
    own_.mdb = mdb_clone_handle(h_->mdb);
    if (!own_.mdb) {
      error = "the table \"" + object.name + "\" cannot be read";
      return false;
    }
    if (!def_.read(own_.mdb, object, error)) return false;
    const unsigned n = def_.t->num_cols;
    buffers_.assign(n, {});
    lengths_.assign(n, 0);
    types_.resize(n);
    columns_.resize(n);
    kept_.resize(n);
    for (unsigned i = 0; i < n; ++i) {
      columns_[i] = static_cast<MdbColumn*>(g_ptr_array_index(def_.t->columns, i));
      types_[i] = columns_[i]->col_type;
      // mdbtools copies only the 12-byte header of a long binary value into
      // a bound buffer; its size is read from that header instead.
      if (isBinary(types_[i])) continue;
      buffers_[i].resize(kBindSize);
      mdb_bind_column(def_.t, static_cast<int>(i + 1), buffers_[i].data(), &lengths_[i]);
    }
    mdb_rewind_table(def_.t);
    limit_ = count;
    return true;
  }

  Step next(std::chrono::steady_clock::time_point) override {
    while (true) {
      if (limit_ >= 0 && row_ + 1 >= first_ + limit_) return Step::End;
      if (!mdb_fetch_row(def_.t)) {
        // mdbtools ends a table quietly where its pages cannot be read (a
        // file cut short or overwritten); the definition says how many
        // records there should have been.
        const int64_t read = row_ + 1, expected = static_cast<int64_t>(def_.t->num_rows);
        if (read < expected) {
          error_ = "only " + std::to_string(read) + " of its " + std::to_string(expected) +
                   " records could be read; the file is damaged";
          return Step::Failed;
        }
        return Step::End;
      }
      if (++row_ >= first_) {
        keepStoredValues();
        return Step::Row;
      }
    }
  }

  int columnCount() const override { return static_cast<int>(types_.size()); }

  bool cell(int column, std::string_view& text) override {
    const auto c = static_cast<size_t>(column);
    const int length = lengths_[c];
    if (length <= 0) return false;
    if (isExactNumber(types_[c]) || isBinary(types_[c])) {
      text = kept_[c];
      return true;
    }
    const char* p = buffers_[c].data();
    text = std::string_view(p, strnlen(p, kBindSize));
    return !text.empty();
  }

  int64_t sourceRow() const override { return row_; }
  const std::string& error() const override { return error_; }

 private:
  // Read while the row's page is still the one in the page buffer.
  void keepStoredValues() {
    const unsigned char* page = own_.mdb->pg_buf;
    for (size_t c = 0; c < types_.size(); ++c) {
      const MdbColumn* col = columns_[c];
      if (isBinary(types_[c])) {
        lengths_[c] = 0;
        if (col->cur_value_len <= 0) continue;  // NULL
        uint64_t size = static_cast<uint64_t>(col->cur_value_len);
        if (types_[c] == MDB_OLE) {
          // The header: the length, its top two bits flags of where the bytes are.
          if (col->cur_value_len < 12 || col->cur_value_start < 0 || col->cur_value_start + 4 > MDB_PGSIZE) continue;
          uint32_t header = 0;
          std::memcpy(&header, page + col->cur_value_start, 4);
          size = header & 0x3fffffffu;
        }
        kept_[c] = std::to_string(size) + " bytes";
        lengths_[c] = 1;
        continue;
      }
      if (!isExactNumber(types_[c]) || lengths_[c] <= 0) continue;
      const int size = types_[c] == MDB_FLOAT ? 4 : 8;
      if (col->cur_value_len < size || col->cur_value_start < 0 || col->cur_value_start + size > MDB_PGSIZE) {
        lengths_[c] = 0;
        continue;
      }
      kept_[c] = exactNumberText(types_[c], page + col->cur_value_start);
    }
  }

  std::shared_ptr<Handle> h_;
  ClonedHandle own_;  // after h_, before def_: closed after the table, before the file
  TableDef def_;
  std::vector<std::vector<char>> buffers_;
  std::vector<int> lengths_;
  std::vector<int> types_;
  std::vector<MdbColumn*> columns_;
  std::vector<std::string> kept_;  // exact numbers and binary sizes of the row
  int64_t first_ = 0, limit_ = -1, row_ = -1;
  std::string error_;
};

class MdbDatabase final : public Database {
 public:
  MdbDatabase(std::shared_ptr<Handle> h, std::string path) : h_(std::move(h)), path_(std::move(path)) {}
  const std::string& path() const override { return path_; }
  std::string engineName() const override { return "Access (mdbtools)"; }

  std::optional<std::vector<ObjectInfo>> objects(std::string&) override {
    std::vector<ObjectInfo> out;
    MdbHandle* mdb = h_->mdb;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
      auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
      if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry)) out.push_back({entry->object_name, ObjectKind::Table});
    }
    return out;
  }

  std::optional<std::vector<Column>> columns(const ObjectInfo& object, std::string& error) override {
    TableDef def;
    if (!def.read(h_->mdb, object, error)) return std::nullopt;
    std::vector<Column> out;
    for (unsigned i = 0; i < def.t->num_cols; ++i) {
      auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def.t->columns, i));
      out.push_back({col->name, kindOf(col->col_type)});
    }
    return out;
  }

  std::optional<int64_t> rowCount(const ObjectInfo& object, std::string& error) override {
    TableDef def;
    if (!def.read(h_->mdb, object, error)) return std::nullopt;
    return static_cast<int64_t>(def.t->num_rows);
  }

  std::unique_ptr<Cursor> open(const ObjectInfo& object, const RowSelection& rows, std::string& error) override {
    auto cursor = std::make_unique<MdbCursor>(h_, std::max<int64_t>(rows.first, 0));
    if (!cursor->start(object, rows.count, error)) return nullptr;
    return cursor;
  }

 private:
  std::shared_ptr<Handle> h_;
  std::string path_;
};

}  // namespace

bool mdbEngineAvailable() { return true; }

std::unique_ptr<Database> openMdbDatabase(const std::string& path, std::string& error) {
  auto h = std::make_shared<Handle>();
  h->mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
  if (!h->mdb) {
    error = "mdbtools cannot read it";
    return nullptr;
  }
  mdb_set_date_fmt(h->mdb, "%Y-%m-%d %H:%M:%S");
  mdb_set_boolean_fmt_numbers(h->mdb);
  mdb_set_bind_size(h->mdb, kBindSize);
  if (!catalogueMapReadable(h->mdb) || !mdb_read_catalog(h->mdb, MDB_TABLE)) {
    error = "its list of tables cannot be read";
    return nullptr;
  }
  return std::make_unique<MdbDatabase>(std::move(h), path);
}

#endif

}  // namespace vlm::platform::db
