#include "data/table_text_analysis.h"

#include <algorithm>

#include "data/cell_classify.h"
#include "data/cell_store.h"
#include "data/second_thread.h"

namespace vlm {
namespace {

// The lines read before the split (at most an eighth of the body); the
// halves start from what they left.
constexpr int64_t kLeadRecords = 2000;
// How often a reader tells its position.
constexpr int64_t kProgressRecords = 64;

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
  std::vector<TextRegionStart> regions;  // samples counted from the run's start
};

// Where a run notes region starts: a line start at least `every` bytes after
// the last one noted (0: none are noted).
struct RegionMarks {
  size_t every = 0;
  size_t next = 0;
};

// Reads records until the end, a failure, `limit` records (-1: no limit) or
// the first record that ends at or past `stopAt`;
// with `only`, cells of the other fields are not looked at (the samples are
// counted all the same).
Run analyseRecords(TableTextReader& reader, size_t fieldCount, DataField* fields,
                   const platform::RegionalSettings& regional, std::vector<DistinctSketch>& sketches,
                   const std::vector<uint8_t>* only, int64_t limit, size_t stopAt,
                   const std::function<void(size_t)>& progress, RegionMarks marks = {}) {
  Run run;
  std::vector<std::string_view> cells;
  cells.reserve(std::min<size_t>(fieldCount, 64));
  for (int64_t records = 0;; ++records) {
    if (records == limit || reader.position() >= stopAt) {
      run.status = RecordStatus::Record;
      return run;
    }
    if (marks.every != 0 && reader.position() >= marks.next && reader.position() < reader.text().size()) {
      run.regions.push_back({reader.position(), run.samples});
      marks.next = reader.position() + marks.every;
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

}  // namespace

size_t splitPoint(std::string_view text, size_t from, TableTextFormat format, size_t minBytes) {
  if (format == TableTextFormat::Csv || from >= text.size() || text.size() - from < std::max<size_t>(minBytes, 2))
    return 0;
  const size_t middle = from + (text.size() - from) / 2;
  size_t at = std::string_view::npos;
  if (format == TableTextFormat::Clipboard) {
    at = text.find("\r\n", middle);
    if (at != std::string_view::npos) at += 2;
  } else {
    at = text.find('\n', middle);
    if (at != std::string_view::npos) at += 1;
  }
  return at == std::string_view::npos || at >= text.size() ? 0 : at;
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
  // second half starts from.
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
  const size_t split = splitPoint(in.text, reader.position(), in.format, in.splitFrom);
  if (split == 0) {
    const Run rest = analyseRecords(reader, fieldCount, table.fields.data(), regional, sketches, nullptr, -1,
                                    in.text.size() + 1, in.progress);
    result.status = rest.status;
    result.samples += rest.samples;
    return result;
  }

  // The second half is typed from the fields as the first lines left them.
  // Where the first half ends a field in that same state, the second half's
  // result is the one reading on would give (a cell's effect depends only on
  // the field's state and the cell); any other field reads the second half
  // again from where the first half left it.
  std::vector<Typing> start(fieldCount);
  std::vector<DataField> second(fieldCount);
  for (size_t f = 0; f < fieldCount; ++f) {
    start[f] = typingOf(table.fields[f]);
    setTyping(second[f], start[f]);
  }
  std::vector<DistinctSketch> secondSketches(fieldCount);
  const size_t firstStart = reader.position();
  const size_t every = std::max(in.regionBytes, (in.text.size() - firstStart) / kMostRegions + 1);
  // Where the second half is, on a cache line of its own: the first half's
  // reader, written at every line, stays clear of it.
  alignas(64) std::atomic<size_t> secondAt{split};
  Run secondRun, firstRun;
  {
    SecondThread helper([&] {
      TableTextReader r(in.text, in.format, in.abort);
      r.rewindTo(split);
      secondRun = analyseRecords(r, fieldCount, second.data(), regional, secondSketches, nullptr, -1,
                                 in.text.size() + 1, [&secondAt](size_t p) { secondAt.store(p, std::memory_order_relaxed); },
                                 {every, split + every});
    });
    TableTextReader first(in.text.substr(0, split), in.format, in.abort);
    first.rewindTo(reader.position());
    firstRun = analyseRecords(first, fieldCount, table.fields.data(), regional, sketches, nullptr, -1,
                              in.text.size() + 1, [&](size_t p) {
                                if (in.progress) in.progress(p + (secondAt.load(std::memory_order_relaxed) - split));
                              },
                              {every, firstStart + every});
    helper.join();
  }
  // A failure is the first one in the text.
  if (firstRun.status != RecordStatus::End) {
    result.status = firstRun.status;
    return result;
  }
  if (secondRun.status != RecordStatus::End) {
    result.status = secondRun.status;
    return result;
  }
  std::vector<uint8_t> again(fieldCount, 0);
  bool anyAgain = false;
  for (size_t f = 0; f < fieldCount; ++f) {
    if (typingOf(table.fields[f]) == start[f]) {
      setTyping(table.fields[f], typingOf(second[f]));
      sketchMerge(sketches[f], secondSketches[f]);
    } else {
      again[f] = 1;
      anyAgain = true;
    }
  }
  if (anyAgain) {
    TableTextReader r(in.text, in.format, in.abort);
    r.rewindTo(split);
    const Run rerun =
        analyseRecords(r, fieldCount, table.fields.data(), regional, sketches, &again, -1, in.text.size() + 1, {});
    if (rerun.status != RecordStatus::End) {
      result.status = rerun.status;
      return result;
    }
  }
  result.status = RecordStatus::End;
  result.samplesBeforeSplit = lead.samples + firstRun.samples;
  result.samples = result.samplesBeforeSplit + secondRun.samples;
  result.split = split;
  result.regions.push_back({in.bodyStart, 0});
  for (const TextRegionStart& r : firstRun.regions) result.regions.push_back({r.position, lead.samples + r.samplesBefore});
  result.regions.push_back({split, result.samplesBeforeSplit});
  for (const TextRegionStart& r : secondRun.regions)
    result.regions.push_back({r.position, result.samplesBeforeSplit + r.samplesBefore});
  return result;
}

}  // namespace vlm
