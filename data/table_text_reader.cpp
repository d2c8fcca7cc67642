#include "data/table_text_reader.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

namespace {

// How many characters a scan passes over between two looks at the abort flag:
// a stop takes effect inside a line as it would at the next character, without
// a look at every one.
constexpr size_t kAbortStride = 4096;

// The first `c` in [from, end), or `end` when there is none; null when the
// abort flag was found set first. The flag is looked at before every stretch,
// so at least once per call.
const char* findInLine(const char* from, const char* end, char c, const std::atomic<int32_t>* abort) {
  for (const char* p = from;;) {
    if (abort && abort->load(std::memory_order_relaxed) != 0) return nullptr;
    const size_t left = static_cast<size_t>(end - p);
    const size_t stretch = std::min(left, kAbortStride);
    if (const void* hit = std::memchr(p, c, stretch)) return static_cast<const char*>(hit);
    if (stretch == left) return end;
    p += stretch;
  }
}

}  // namespace

// Cuts [from, end) at its tabs, at most maxCells cells; false when the abort
// flag was found set (it is looked at before the line and every kAbortStride
// characters). The line is passed over once, sixteen characters at a time
// where the processor compares them at once: every tab of a block is a cell's
// end, so a row of short cells costs a few blocks instead of a search per cell.
bool TableTextReader::splitAtTabs(const char* from, const char* end, std::vector<std::string_view>& cells,
                                  size_t maxCells) const {
  if (cells.size() >= maxCells) return true;
  if (abort_ && abort_->load(std::memory_order_relaxed) != 0) return false;
  const char* cell = from;
  const char* p = from;
  // Ends the cell at `tab`; false once the cells are as many as wanted.
  auto cut = [&](const char* tab) {
    cells.emplace_back(cell, static_cast<size_t>(tab - cell));
    cell = tab + 1;
    return cells.size() < maxCells;
  };
#ifdef __SSE2__
  const __m128i tabs = _mm_set1_epi8('\t');
  size_t look = 0;
  while (end - p >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    for (auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, tabs))); hits != 0;
         hits &= hits - 1)
      if (!cut(p + __builtin_ctz(hits))) return true;
    p += 16;
    if ((look += 16) >= kAbortStride) {
      look = 0;
      if (abort_ && abort_->load(std::memory_order_relaxed) != 0) return false;
    }
  }
#endif
  for (; p < end; ++p)
    if (*p == '\t' && !cut(p)) return true;
  cells.emplace_back(cell, static_cast<size_t>(end - cell));
  return true;
}

RecordStatus TableTextReader::nextDelimited(std::vector<std::string_view>& cells, size_t maxCells, bool& empty) {
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
  for (const char* p = from;;) {
    const char* lf = findInLine(p, stop, '\n', abort_);
    if (!lf) return RecordStatus::Aborted;
    if (lf == stop) break;
    const bool crBefore = lf > from && lf[-1] == '\r';
    // The clipboard's lines end only with CR LF; a lone LF stays in the line.
    if (crlfOnly && !crBefore) {
      p = lf + 1;
      continue;
    }
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
  if (!splitAtTabs(from, end, cells, maxCells)) {
    cells.clear();
    return RecordStatus::Aborted;
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
