#pragma once
// Reading a table text record by record: the clipboard's tab-separated lines,
// tab-separated files, and comma-separated files with quoting.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vlm {

enum class TableTextFormat {
  // Lines end with CR LF; a CR or LF that is not part of such a pair stays in
  // the line. Cells are separated by tabs, without quoting.
  Clipboard,
  // Lines end with LF or CR LF (a lone CR stays in the line); tabs, no quoting.
  TabFile,
  // Lines end with LF or CR LF; commas separate the cells; a cell that starts
  // with '"' is quoted: "" stands for one quote, and commas and line breaks
  // inside the quotes stay in the cell.
  Csv,
};

// The line buffer of the engine holds 131072 bytes: a line (or a CSV record)
// may hold 131071 characters.
constexpr size_t kMaxLineLength = 131071;

enum class RecordStatus {
  Record,    // cells hold the record
  End,       // no record left
  Aborted,   // the abort flag was set
  TooLong,   // the record is longer than kMaxLineLength
  BadQuote,  // a quoted CSV cell is never closed
};

class TableTextReader {
 public:
  // `abort` (may be null) stops the reading where it is found set: it is
  // tested at every character of CSV and, in tab-separated text, at every cell
  // and every few thousand characters, so a stop never waits for a line's end.
  TableTextReader(std::string_view text, TableTextFormat format, const std::atomic<int32_t>* abort);

  // Reads the next line into `cells` (at most maxCells cells; further cells
  // are passed over). With skipEmpty, empty lines are passed over.
  RecordStatus next(std::vector<std::string_view>& cells, size_t maxCells, bool skipEmpty = true);

  size_t position() const { return pos_; }
  // The whole text read; cells lie in it unless a quoted CSV cell had to be
  // unquoted (those lie in the reader and last until the next record).
  std::string_view text() const { return text_; }
  size_t size() const { return text_.size(); }
  // Back to the line after the one read first (the header).
  void rewindTo(size_t position) { pos_ = position; }

 private:
  RecordStatus nextDelimited(std::vector<std::string_view>& cells, size_t maxCells, bool& empty);
  RecordStatus nextCsv(std::vector<std::string_view>& cells, size_t maxCells, bool& empty);
  bool splitAtTabs(const char* from, const char* end, std::vector<std::string_view>& cells, size_t maxCells) const;
  bool aborted() const { return abort_ && abort_->load(std::memory_order_relaxed) != 0; }

  std::string_view text_;
  TableTextFormat format_;
  const std::atomic<int32_t>* abort_;
  size_t pos_ = 0;
  std::string scratch_;  // unquoted CSV cells of the current record
  std::vector<std::pair<size_t, size_t>> spans_;
};

}  // namespace vlm
