#include "data/table_text_analysis.h"

#include <algorithm>
#include <atomic>

#include "data/cell_classify.h"
#include "data/cell_store.h"
#include "data/second_thread.h"
#include "data/stretch_schedule.h"

namespace vlm {
namespace {

// The lines read before the pieces (at most an eighth of the body); the
// pieces start from what they left.
constexpr int64_t kLeadRecords = 2000;
// How often a reader tells its position.
constexpr int64_t kProgressRecords = 64;
// Each stretch keeps a typing and a sketch per field: fields times pieces
// stays below this (a sketch holds 2 KiB once it has a text).
constexpr size_t kPieceFields = 8192;

// What the analysis pass changes in a field.
struct Typing {
  uint8_t analysisClass = AC_NONE;
  NumberFormatClass numberFormatClass = 0;
  int32_t dateOrderState = 0;
  int32_t maxima[3] = {0, 0, 0};
  bool operator==(const Typing&) const = default;
};

Typing typingOf(const DataField& f) {
  return {f.analysisClass, f.numberFormatClass, f.dateOrderState, {f.dateComponentMax[0], f.dateComponentMax[1], f.dateComponentMax[2]}};
}

void setTyping(DataField& f, const Typing& t) {
  f.analysisClass = t.analysisClass;
  f.numberFormatClass = t.numberFormatClass;
  f.dateOrderState = t.dateOrderState;
  std::copy(t.maxima, t.maxima + 3, f.dateComponentMax);
}

struct Run {
  RecordStatus status = RecordStatus::End;  // Record: stopped at the record limit
  int64_t samples = 0;
};

// Reads records until the end, a failure, `limit` records (-1: no limit) or
// the first record that ends at or past `stopAt`;
// with `only`, cells of the other fields are not looked at (the samples are
// counted all the same).
Run analyseRecords(TableTextReader& reader, size_t fieldCount, DataField* fields,
                   const platform::RegionalSettings& regional, std::vector<DistinctSketch>& sketches,
                   const std::vector<uint8_t>* only, int64_t limit, size_t stopAt,
                   const std::function<void(size_t)>& progress) {
  Run run;
  std::vector<std::string_view> cells;
  cells.reserve(std::min<size_t>(fieldCount, 64));
  for (int64_t records = 0;; ++records) {
    if (records == limit || reader.position() >= stopAt) {
      run.status = RecordStatus::Record;
      return run;
    }
    const RecordStatus status = reader.next(cells, fieldCount);
    if (status != RecordStatus::Record) {
      run.status = status;
      return run;
    }
    bool sample = false;
    const size_t n = std::min(cells.size(), fieldCount);
    for (size_t c = 0; c < n; ++c) {
      if (cells[c].empty()) continue;
      sample = true;
      if (only && !(*only)[c]) continue;
      DataField& field = fields[c];
      field.analysisClass = classifyCell(field, cells[c], regional);
      if (field.analysisClass == AC_TEXT || field.analysisClass == AC_DATETIME)
        sketchAdd(sketches[c], trimCellBlanks(cells[c]));
    }
    if (sample) ++run.samples;
    if (progress && records % kProgressRecords == 0) progress(reader.position());
  }
}

// The start of the first line that starts after `at`, or npos.
size_t nextLineStart(std::string_view text, size_t at, TableTextFormat format) {
  size_t found = std::string_view::npos;
  if (format == TableTextFormat::Clipboard) {
    found = text.find("\r\n", at);
    if (found != std::string_view::npos) found += 2;
  } else {
    found = text.find('\n', at);
    if (found != std::string_view::npos) found += 1;
  }
  return found >= text.size() ? std::string_view::npos : found;
}

struct Span {
  size_t begin = 0, end = 0;
};

// [from, text.size()) cut at line starts into about `count` pieces.
std::vector<Span> cutPieces(std::string_view text, size_t from, TableTextFormat format, size_t count) {
  std::vector<Span> pieces(1);
  pieces[0].begin = from;
  const size_t body = text.size() - from;
  for (size_t i = 1; i < count; ++i) {
    const size_t at = nextLineStart(text, from + body / count * i, format);
    if (at == std::string_view::npos) break;
    if (at <= pieces.back().begin) continue;  // a long line spans the mark
    pieces.back().end = at;
    pieces.emplace_back().begin = at;
  }
  pieces.back().end = text.size();
  return pieces;
}

// What a stretch of pieces left: read from the fields' state after the
// first lines, on one thread, piece after piece.
struct StretchResult {
  Run run;
  std::vector<Typing> typing;            // per field, after its last piece
  std::vector<DistinctSketch> sketches;  // per field
  std::vector<int64_t> samplesAt;        // before each of its pieces, from its start
};

class PieceAnalysis : public StretchReader {
 public:
  PieceAnalysis(const TextAnalysisInput& in, size_t fieldCount, const std::vector<Typing>& start,
                const std::vector<Span>& pieces)
      : in_(in), fieldCount_(fieldCount), start_(start), pieces_(pieces), results_(pieces.size() + 2),
        scratch_{std::vector<DataField>(fieldCount), std::vector<DataField>(fieldCount)} {}

  void begin(int32_t id, int32_t, int thread) override {
    StretchResult& r = results_[static_cast<size_t>(id)];
    r.sketches.resize(fieldCount_);
    r.typing = start_;
    std::vector<DataField>& fields = scratch_[thread];
    for (size_t f = 0; f < fieldCount_; ++f) setTyping(fields[f], start_[f]);
  }

  bool read(int32_t id, int32_t index, int thread) override {
    StretchResult& r = results_[static_cast<size_t>(id)];
    const Span& piece = pieces_[static_cast<size_t>(index)];
    std::vector<DataField>& fields = scratch_[thread];
    r.samplesAt.push_back(r.run.samples);
    TableTextReader reader(in_.text.substr(0, piece.end), in_.format, in_.abort);
    reader.rewindTo(piece.begin);
    const std::function<void(size_t)> progress = [&](size_t p) {
      if (thread != 0) {
        helperIn_.store(p - piece.begin, std::memory_order_relaxed);
      } else if (in_.progress) {
        in_.progress(pieces_.front().begin + finished_.load(std::memory_order_relaxed) + (p - piece.begin) +
                     helperIn_.load(std::memory_order_relaxed));
      }
    };
    const Run run = analyseRecords(reader, fieldCount_, fields.data(), *in_.regional, r.sketches, nullptr, -1,
                                   in_.text.size() + 1, progress);
    r.run.samples += run.samples;
    for (size_t f = 0; f < fieldCount_; ++f) r.typing[f] = typingOf(fields[f]);
    if (thread != 0) helperIn_.store(0, std::memory_order_relaxed);
    finished_.fetch_add(piece.end - piece.begin, std::memory_order_relaxed);
    r.run.status = run.status;
    return run.status == RecordStatus::End;
  }

  StretchResult& result(size_t id) { return results_[id]; }

 private:
  const TextAnalysisInput& in_;
  const size_t fieldCount_;
  const std::vector<Typing>& start_;
  const std::vector<Span>& pieces_;
  std::vector<StretchResult> results_;  // by stretch id
  std::vector<DataField> scratch_[2];   // each thread types its pieces in fields of its own
  // How far the pieces got, for the progress: the finished ones, and the
  // helper's place in its piece on a cache line of its own.
  std::atomic<size_t> finished_{0};
  alignas(64) std::atomic<size_t> helperIn_{0};
};

}  // namespace

size_t splitPoint(std::string_view text, size_t from, TableTextFormat format, size_t minBytes) {
  if (format == TableTextFormat::Csv || from >= text.size() || text.size() - from < std::max<size_t>(minBytes, 2))
    return 0;
  const size_t at = nextLineStart(text, from + (text.size() - from) / 2, format);
  return at == std::string_view::npos ? 0 : at;
}

TextAnalysis analyseTableText(DataTable& table, const TextAnalysisInput& in, std::vector<DistinctSketch>& sketches) {
  const size_t fieldCount = static_cast<size_t>(table.fieldCount);
  for (size_t f = 0; f < fieldCount; ++f) table.fields[f].analysisClass = AC_NONE;
  const platform::RegionalSettings& regional = *in.regional;
  TextAnalysis result;
  TableTextReader reader(in.text, in.format, in.abort);
  reader.rewindTo(in.bodyStart);
  const bool twoCores = in.parallel && SecondThread::available();
  // The first lines alone: most fields are typed by then, which is where the
  // pieces start from.
  const bool worth = in.text.size() - std::min(in.bodyStart, in.text.size()) >= in.splitFrom;
  const size_t leadEnd = in.bodyStart + (in.text.size() - std::min(in.bodyStart, in.text.size())) / 8;
  const Run lead = analyseRecords(reader, fieldCount, table.fields.data(), regional, sketches, nullptr,
                                  twoCores && worth ? kLeadRecords : -1,
                                  twoCores && worth ? leadEnd : in.text.size() + 1, in.progress);
  result.samples = lead.samples;
  if (lead.status != RecordStatus::Record) {
    result.status = lead.status;
    return result;
  }
  const size_t from = reader.position();
  std::vector<Span> pieces;
  if (splitPoint(in.text, from, in.format, in.splitFrom) != 0) {
    const size_t wanted = std::min({kMostRegions, (in.text.size() - from) / std::max<size_t>(in.regionBytes, 1),
                                    kPieceFields / std::max<size_t>(fieldCount, 1)});
    pieces = cutPieces(in.text, from, in.format, std::max<size_t>(wanted, 2));
  }
  if (pieces.size() < 2) {
    const Run rest = analyseRecords(reader, fieldCount, table.fields.data(), regional, sketches, nullptr, -1,
                                    in.text.size() + 1, in.progress);
    result.status = rest.status;
    result.samples += rest.samples;
    return result;
  }

  // Every stretch is typed from the fields as the first lines left them.
  // Where the lines before a stretch end a field in that same state, the
  // stretch's result is the one reading on would give (a cell's effect
  // depends only on the field's state and the cell); any other field reads
  // the stretch again from where the lines before it left it.
  std::vector<Typing> start(fieldCount);
  for (size_t f = 0; f < fieldCount; ++f) start[f] = typingOf(table.fields[f]);
  PieceAnalysis analysis(in, fieldCount, start, pieces);
  std::vector<Stretch> stretches = readInStretches(static_cast<int32_t>(pieces.size()), analysis);
  std::vector<size_t> order(stretches.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return stretches[a].first < stretches[b].first; });
  // A failure is the first one in the text: every stretch before a failed
  // one was read to its end.
  for (size_t id : order) {
    const RecordStatus status = analysis.result(id).run.status;
    if (status != RecordStatus::End) {
      result.status = status;
      return result;
    }
  }
  result.regions.push_back({in.bodyStart, 0});
  std::vector<uint8_t> again(fieldCount, 0);
  for (size_t id : order) {
    const Stretch& stretch = stretches[id];
    StretchResult& r = analysis.result(id);
    bool anyAgain = false;
    for (size_t f = 0; f < fieldCount; ++f) {
      again[f] = typingOf(table.fields[f]) == start[f] ? 0 : 1;
      anyAgain = anyAgain || again[f];
      if (again[f]) continue;
      setTyping(table.fields[f], r.typing[f]);
      sketchMerge(sketches[f], r.sketches[f]);
    }
    std::vector<DistinctSketch>().swap(r.sketches);
    const size_t begin = pieces[static_cast<size_t>(stretch.first)].begin;
    const size_t end = pieces[static_cast<size_t>(stretch.end - 1)].end;
    if (anyAgain) {
      TableTextReader rereader(in.text.substr(0, end), in.format, in.abort);
      rereader.rewindTo(begin);
      const Run rerun = analyseRecords(rereader, fieldCount, table.fields.data(), regional, sketches, &again, -1,
                                       in.text.size() + 1, {});
      if (rerun.status != RecordStatus::End) {
        result.status = rerun.status;
        return result;
      }
    }
    for (int32_t p = stretch.first; p < stretch.end; ++p)
      result.regions.push_back({pieces[static_cast<size_t>(p)].begin,
                                result.samples + r.samplesAt[static_cast<size_t>(p - stretch.first)]});
    result.samples += r.run.samples;
  }
  result.status = RecordStatus::End;
  return result;
}

}  // namespace vlm
