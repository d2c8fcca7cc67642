#include "data/table_text_store.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "data/cell_loader.h"
#include "data/cell_store.h"
#include "data/second_thread.h"

namespace vlm {
namespace {

// A text or date cell whose text waits, as a place in the source text, for
// the thread that interns its column's values in row order.
constexpr uint8_t kCellWaiting = 0x80;

// A waiting cell keeps its place in the value and the engine word: the
// offset's low 32 bits, then its high 8 bits under the 24 bits of the
// length. A cell lies in one line, so its length fits; texts of 2^40 bytes
// or more are stored line after line instead.
constexpr uint64_t kWaitingTextLimit = uint64_t{1} << 40;
static_assert(kMaxLineLength < (size_t{1} << 24));

void markWaiting(Cell& cell, uint64_t offset, size_t length) {
  cell.value.i = static_cast<int32_t>(static_cast<uint32_t>(offset));
  cell.engineWord = static_cast<int32_t>(static_cast<uint32_t>(offset >> 32) | (static_cast<uint32_t>(length) << 8));
  cell.flags |= kCellWaiting;
}

std::string_view waitingText(const Cell& cell, std::string_view text) {
  const auto word = static_cast<uint32_t>(cell.engineWord);
  const uint64_t offset = uint64_t{static_cast<uint32_t>(cell.value.i)} | (uint64_t{word & 0xFFu} << 32);
  return text.substr(static_cast<size_t>(offset), word >> 8);
}

bool hasValue(const std::vector<std::string_view>& cells, size_t fieldCount) {
  const size_t n = std::min(cells.size(), fieldCount);
  for (size_t c = 0; c < n; ++c)
    if (!cells[c].empty()) return true;
  return false;
}

// How many rows a thread goes between telling the other how far it got: a
// count written at every row keeps its cache line moving between the cores.
constexpr int32_t kRowsBetweenShares = 1024;
bool shareDue(int32_t rowsDone) { return rowsDone % kRowsBetweenShares == 0; }

// A count one thread writes while the other reads it, on a cache line of its own.
struct alignas(64) SharedRows {
  std::atomic<int32_t> rows{0};
};

bool interned(uint8_t type) { return type == FT_TEXT || type == FT_TEXT2 || type == FT_SIZE || type == FT_DATETIME; }

// Posts the loading pass's progress as line after line does: at every
// `every`-th sample, counted by the samples whose cells are all in place.
// Only the calling thread posts.
class RowProgress {
 public:
  RowProgress(const TextStoreInput& in) : in_(in), every_(std::max(1, in.count / 100)) {}
  void reached(int32_t rows) {
    if (!in_.progress) return;
    while (next_ <= std::min(rows, in_.count)) {
      in_.progress(next_);
      next_ += every_;
    }
  }

 private:
  const TextStoreInput& in_;
  int32_t every_;
  int32_t next_ = every_;
};

TextStore storeInOrder(DataTable& table, const TextStoreInput& in) {
  const size_t fieldCount = static_cast<size_t>(table.fieldCount);
  TableTextReader reader(in.text, in.format, in.abort);
  reader.rewindTo(in.bodyStart);
  std::vector<std::string_view> cells;
  cells.reserve(std::min<size_t>(fieldCount, 64));
  TextStore result;
  RowProgress progress(in);
  CellLoader loader(table, *in.regional, reader.text());
  while (result.stored < in.count) {
    const RecordStatus status = reader.next(cells, fieldCount);
    if (status == RecordStatus::End) break;
    if (status != RecordStatus::Record) {
      result.status = status;
      return result;
    }
    if (!hasValue(cells, fieldCount)) continue;
    const size_t s = static_cast<size_t>(result.stored);
    for (size_t f = 0; f < fieldCount; ++f) table.fields[f].cells[s].flags &= static_cast<uint8_t>(~kCellPresent);
    const size_t n = std::min(cells.size(), fieldCount);
    for (size_t c = 0; c < n; ++c)
      if (!cells[c].empty()) loader.store(static_cast<int32_t>(c), result.stored, cells[c]);
    ++result.stored;
    progress.reached(result.stored);
  }
  loader.finish();
  return result;
}

// A piece of the body stored by whichever thread comes free first: the
// lines of [begin, end), samples [first, last).
struct Region {
  size_t begin = 0, end = 0;
  int32_t first = 0, last = 0;
};

struct Piece {
  RecordStatus status = RecordStatus::End;
  int32_t stored = 0;
  std::vector<NumberRange> ranges;  // per field
};

// The pieces the analysis pass cut; none when they do not fit the text and
// the count (they came from elsewhere).
std::vector<Region> regionsOf(const TextStoreInput& in) {
  const std::vector<TextRegionStart>& starts = in.regions;
  std::vector<Region> regions;
  for (size_t i = 0; i < starts.size(); ++i) {
    const bool last = i + 1 == starts.size();
    Region r;
    r.begin = starts[i].position;
    r.end = last ? in.text.size() : starts[i + 1].position;
    if (starts[i].samplesBefore < 0 || starts[i].samplesBefore > in.count) return {};
    r.first = static_cast<int32_t>(starts[i].samplesBefore);
    r.last = last ? in.count : static_cast<int32_t>(std::min<int64_t>(starts[i + 1].samplesBefore, in.count));
    if (r.begin > r.end || r.end > in.text.size() || r.first > r.last || (i == 0 && r.first != 0)) return {};
    regions.push_back(r);
  }
  return regions;
}

// Stores the number cells of the lines of [reader's position, its end) from
// sample `first` on, and marks the text and date cells waiting; adds the
// samples it passed to `done` every kRowsBetweenShares of them and at the end.
void storePiece(DataTable& table, const TextStoreInput& in, TableTextReader& reader, int32_t first, int32_t last,
               Piece& piece, std::atomic<int32_t>& done, const std::function<void()>& progress) {
  const size_t fieldCount = static_cast<size_t>(table.fieldCount);
  piece.ranges.resize(fieldCount);
  for (size_t f = 0; f < fieldCount; ++f) piece.ranges[f] = {table.fields[f].min, table.fields[f].max};
  std::vector<std::string_view> cells;
  cells.reserve(std::min<size_t>(fieldCount, 64));
  const char* base = in.text.data();
  int32_t sample = first;
  while (sample < last) {
    const RecordStatus status = reader.next(cells, fieldCount);
    if (status == RecordStatus::End) break;
    if (status != RecordStatus::Record) {
      piece.status = status;
      return;
    }
    if (!hasValue(cells, fieldCount)) continue;
    const size_t s = static_cast<size_t>(sample);
    const size_t n = std::min(cells.size(), fieldCount);
    for (size_t c = 0; c < n; ++c) {
      if (cells[c].empty()) continue;
      DataField& field = table.fields[c];
      Cell& cell = field.cells[s];
      if (interned(field.type)) {
        markWaiting(cell, static_cast<uint64_t>(cells[c].data() - base), cells[c].size());
      } else if (field.type == FT_INTEGER || field.type == FT_REAL) {
        storeNumberCell(field, cell, cells[c], *in.regional, piece.ranges[c]);
      }
    }
    ++sample;
    if (shareDue(sample - first)) {
      done.fetch_add(kRowsBetweenShares, std::memory_order_relaxed);
      if (progress) progress();
    }
  }
  piece.stored = sample - first;
  done.fetch_add(piece.stored % kRowsBetweenShares, std::memory_order_relaxed);
  if (progress) progress();
}

// Interns the waiting cells of the given fields row after row, as storing
// line after line would have met them, telling `at` how far it got every
// kRowsBetweenShares rows and at the end;
// false when the abort flag stopped it.
bool internWaiting(DataTable& table, const TextStoreInput& in, const std::vector<int32_t>& fields, int32_t rows,
                   std::atomic<int32_t>& at, const std::function<void()>& progress) {
  CellLoader loader(table, *in.regional, in.text);
  for (int32_t s = 0; s < rows && !fields.empty(); ++s) {
    if (in.abort && in.abort->load(std::memory_order_relaxed) != 0) return false;
    for (int32_t f : fields) {
      Cell& cell = table.fields[static_cast<size_t>(f)].cells[static_cast<size_t>(s)];
      if (!(cell.flags & kCellWaiting)) continue;
      const std::string_view text = waitingText(cell, in.text);
      cell.flags &= static_cast<uint8_t>(~kCellWaiting);
      cell.value.i = 0;
      cell.engineWord = 0;
      loader.store(f, s, text);
    }
    if (shareDue(s + 1)) {
      at.store(s + 1, std::memory_order_relaxed);
      if (progress) progress();
    }
  }
  loader.finish();
  at.store(rows, std::memory_order_relaxed);
  if (progress) progress();
  return true;
}

void joinRange(DataField& field, const NumberRange& range) {
  if (field.type == FT_INTEGER) {
    if (range.min.i < field.min.i) field.min.i = range.min.i;
    if (range.max.i > field.max.i) field.max.i = range.max.i;
  } else if (field.type == FT_REAL) {
    if (range.min.f < field.min.f) field.min.f = range.min.f;
    if (range.max.f > field.max.f) field.max.f = range.max.f;
  }
}

TextStore storeInPieces(DataTable& table, const TextStoreInput& in, const std::vector<Region>& regions) {
  const size_t fieldCount = static_cast<size_t>(table.fieldCount);
  TextStore result;
  // Texts and dates go to two different tables: after the pieces are read,
  // one thread interns each, each in row order.
  std::vector<int32_t> texts, dates;
  for (size_t f = 0; f < fieldCount; ++f) {
    const uint8_t type = table.fields[f].type;
    if (type == FT_DATETIME) dates.push_back(static_cast<int32_t>(f));
    else if (interned(type)) texts.push_back(static_cast<int32_t>(f));
  }
  RowProgress progress(in);
  std::vector<Piece> pieces(regions.size());
  SharedRows stored;
  // A failed piece stops the others from taking more: the pieces before it
  // were all taken, and finish, so the first failure in the text is known.
  std::atomic<bool> failed{false};
  // Without texts or dates a row is complete once read; with them no row is
  // complete before its texts are interned.
  const bool completeWhenRead = texts.empty() && dates.empty();
  const std::thread::id caller = std::this_thread::get_id();
  const std::function<void()> post = [&] {
    if (completeWhenRead) progress.reached(stored.rows.load(std::memory_order_relaxed));
  };
  forEachOnBothCores(static_cast<int32_t>(regions.size()), true, [&](int32_t i) {
    if (failed.load(std::memory_order_relaxed)) return;
    const Region& r = regions[static_cast<size_t>(i)];
    Piece& piece = pieces[static_cast<size_t>(i)];
    TableTextReader reader(in.text.substr(0, r.end), in.format, in.abort);
    reader.rewindTo(r.begin);
    static const std::function<void()> none;
    storePiece(table, in, reader, r.first, r.last, piece, stored.rows,
              std::this_thread::get_id() == caller ? post : none);
    if (piece.status != RecordStatus::End) failed.store(true, std::memory_order_relaxed);
  });
  for (const Piece& piece : pieces) {
    if (piece.status != RecordStatus::End) {
      result.status = piece.status;
      return result;
    }
  }
  // The ranges of the pieces, joined in row order: ties keep the earlier value.
  for (size_t f = 0; f < fieldCount; ++f) {
    DataField& field = table.fields[f];
    field.min = pieces[0].ranges[f].min;
    field.max = pieces[0].ranges[f].max;
    for (size_t i = 1; i < pieces.size(); ++i) joinRange(field, pieces[i].ranges[f]);
  }
  for (const Piece& piece : pieces) result.stored += piece.stored;

  // The calling thread takes the dates (or the texts, without dates) and
  // posts the progress: a row is complete when both threads passed it.
  const bool datesHere = !dates.empty();
  const std::vector<int32_t>& here = datesHere ? dates : texts;
  const std::vector<int32_t>& there = datesHere ? texts : dates;
  SharedRows hereAt, thereAt;
  bool thereDone = true, hereDone = true;
  std::atomic<bool> thereFinished{false};
  {
    SecondThread helper([&] {
      thereDone = internWaiting(table, in, there, result.stored, thereAt.rows, {});
      thereFinished.store(true, std::memory_order_release);
    });
    const auto post = [&] {
      progress.reached(
          std::min(hereAt.rows.load(std::memory_order_relaxed), thereAt.rows.load(std::memory_order_relaxed)));
    };
    hereDone = internWaiting(table, in, here, result.stored, hereAt.rows, post);
    // The other table may take longer: its progress is still posted while
    // this thread waits, so the bar moves on and a cancel made meanwhile is
    // seen by the thread that is still at work.
    while (hereDone && helper.started() && !thereFinished.load(std::memory_order_acquire)) {
      post();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    helper.join();
  }
  if (!thereDone || !hereDone) result.status = RecordStatus::Aborted;
  else progress.reached(result.stored);
  return result;
}

}  // namespace

TextStore storeTableText(DataTable& table, const TextStoreInput& in) {
  if (in.regions.size() < 2 || in.text.size() >= kWaitingTextLimit || !SecondThread::available())
    return storeInOrder(table, in);
  const std::vector<Region> regions = regionsOf(in);
  if (regions.empty()) return storeInOrder(table, in);
  return storeInPieces(table, in, regions);
}

}  // namespace vlm
