#include "data/table_text_reader.h"

#include <algorithm>
#include <cstring>

namespace vlm {

TableTextReader::TableTextReader(std::string_view text, TableTextFormat format, const std::atomic<int32_t>* abort)
    : text_(text), format_(format), abort_(abort) {}

RecordStatus TableTextReader::next(std::vector<std::string_view>& cells, size_t maxCells, bool skipEmpty) {
  for (;;) {
    cells.clear();
    if (pos_ >= text_.size()) return RecordStatus::End;
    bool empty = false;
    const RecordStatus status = format_ == TableTextFormat::Csv ? nextCsv(cells, maxCells, empty)
                                                                : nextDelimited(cells, maxCells, empty);
    if (status != RecordStatus::Record) return status;
    if (!(empty && skipEmpty)) return status;
  }
}

RecordStatus TableTextReader::nextDelimited(std::vector<std::string_view>& cells, size_t maxCells, bool& empty) {
  if (aborted()) return RecordStatus::Aborted;
  const char* data = text_.data();
  const size_t size = text_.size();
  const size_t start = pos_;
  const bool crlfOnly = format_ == TableTextFormat::Clipboard;
  // The line end is looked for no further than a line may reach: its
  // characters, then a CR and the LF.
  const size_t window = std::min(size - start, kMaxLineLength + 2);
  const char* const from = data + start;
  const char* const stop = from + window;
  size_t lineEnd = size;  // end of the line's characters
  size_t after = size;    // where the next line starts
  bool ended = false;
  for (const char* lf = from; (lf = static_cast<const char*>(std::memchr(lf, '\n', static_cast<size_t>(stop - lf))));
       ++lf) {
    const bool crBefore = lf > from && lf[-1] == '\r';
    // The clipboard's lines end only with CR LF; a lone LF stays in the line.
    if (crlfOnly && !crBefore) continue;
    lineEnd = static_cast<size_t>(lf - data) - (crBefore ? 1 : 0);
    after = static_cast<size_t>(lf - data) + 1;
    ended = true;
    break;
  }
  if (!ended && window < size - start) return RecordStatus::TooLong;
  if (lineEnd - start > kMaxLineLength) return RecordStatus::TooLong;
  // Cells end at tabs; the last cell ends at the line end (a CR before the LF
  // belongs to neither).
  const char* const end = data + lineEnd;
  const char* cell = from;
  while (cells.size() < maxCells) {
    const char* tab = static_cast<const char*>(std::memchr(cell, '\t', static_cast<size_t>(end - cell)));
    if (!tab) {
      cells.emplace_back(cell, static_cast<size_t>(end - cell));
      break;
    }
    cells.emplace_back(cell, static_cast<size_t>(tab - cell));
    cell = tab + 1;
  }
  empty = lineEnd == start;
  pos_ = after;
  return RecordStatus::Record;
}

RecordStatus TableTextReader::nextCsv(std::vector<std::string_view>& cells, size_t maxCells, bool& empty) {
  const char* data = text_.data();
  const size_t size = text_.size();
  const size_t start = pos_;
  scratch_.clear();
  spans_.clear();
  size_t i = start;
  size_t cellStart = 0;  // offset in scratch_
  bool atCellStart = true;
  bool quoted = false;
  bool ended = false;
  size_t recordEnd = size;
  auto endCell = [&] {
    if (spans_.size() < maxCells) spans_.emplace_back(cellStart, scratch_.size() - cellStart);
    cellStart = scratch_.size();
    atCellStart = true;
  };
  for (; i < size; ++i) {
    if (aborted()) return RecordStatus::Aborted;
    // One character past the limit may still be the CR of a line end.
    if (i - start > kMaxLineLength) return RecordStatus::TooLong;
    const char c = data[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < size && data[i + 1] == '"') {
          scratch_.push_back('"');
          ++i;
        } else {
          quoted = false;
        }
      } else {
        scratch_.push_back(c);
      }
      continue;
    }
    if (c == '"' && atCellStart) {
      quoted = true;
      atCellStart = false;
      continue;
    }
    if (c == '\n' || (c == '\r' && i + 1 < size && data[i + 1] == '\n')) {
      recordEnd = i;
      i += (c == '\r') ? 2 : 1;
      ended = true;
      break;
    }
    if (c == ',') {
      endCell();
      continue;
    }
    scratch_.push_back(c);
    atCellStart = false;
  }
  if (quoted) return RecordStatus::BadQuote;
  if (!ended) recordEnd = size;
  if (recordEnd - start > kMaxLineLength) return RecordStatus::TooLong;
  empty = recordEnd == start;
  if (!empty) endCell();
  for (const auto& [offset, length] : spans_) cells.emplace_back(scratch_.data() + offset, length);
  pos_ = i;
  return RecordStatus::Record;
}

}  // namespace vlm
