#pragma once
// Text files as a data source: tab-separated (.txt, .tsv, .tab) and
// comma-separated (.csv) tables with a header line.
#include <optional>
#include <string>
#include <string_view>

#include "data/table_text_reader.h"
#include "platform/big_allocator.h"

namespace vlm {

struct EngineState;

// The format of a file by its extension (any case), or nothing.
std::optional<TableTextFormat> textFileFormat(const std::string& path);

// A whole file's text: a big file is read into huge pages where the system
// has them, straight from the file (the memory is not cleared first).
class TableFileText {
 public:
  TableFileText() = default;
  ~TableFileText() { release(); }
  TableFileText(const TableFileText&) = delete;
  TableFileText& operator=(const TableFileText&) = delete;

  // Room for `bytes` characters, their contents undefined; false when there is no memory.
  bool allocate(size_t bytes);
  void setSize(size_t bytes) { size_ = bytes; }
  char* data() { return data_; }
  size_t size() const { return size_; }
  operator std::string_view() const { return {data_, size_}; }
  void release();

 private:
  char* data_ = nullptr;
  size_t size_ = 0, capacity_ = 0;
};

// The message for a data file that cannot be read; it names the file.
std::string cannotReadMessage(const std::string& path);

// Reads the whole file. When it cannot be read, reports a message naming it
// and returns false; nothing else changes.
bool readTableFile(const std::string& path, TableFileText& text);

// Loads the file's text as the data, like a paste: the data source name is
// the file name, the full path is kept as the source path. Returns true when
// rows were loaded.
// The text is freed once it is read for good.
bool loadTextFile(EngineState& state, const std::string& path, TableFileText& text, TableTextFormat format);

}  // namespace vlm
