#include "data/table_text_load.h"

#include <algorithm>
#include <vector>

#include "data/cell_classify.h"
#include "data/cell_loader.h"
#include "data/cell_store.h"
#include "data/distinct_estimate.h"
#include "data/field_analysis.h"
#include "data/field_name.h"
#include "data/table_growth.h"
#include "data/text_pool.h"
#include "data/time_table.h"

namespace vlm {
namespace {

TextLoadStatus failureOf(RecordStatus status, bool header) {
  switch (status) {
    case RecordStatus::Aborted:
      return TextLoadStatus::Aborted;
    case RecordStatus::TooLong:
      return header ? TextLoadStatus::HeaderTooLong : TextLoadStatus::LineTooLong;
    case RecordStatus::BadQuote:
      return TextLoadStatus::BadQuote;
    default:
      return TextLoadStatus::NoFields;
  }
}

bool hasValue(const std::vector<std::string_view>& cells, size_t fieldCount) {
  const size_t n = std::min(cells.size(), fieldCount);
  for (size_t c = 0; c < n; ++c)
    if (!cells[c].empty()) return true;
  return false;
}

void begin(const ProgressSink& progress, const char* text) {
  if (progress.begin) progress.begin(text, kPassProgressFirst, kPassProgressLast);
}
void step(const ProgressSink& progress, int64_t position) {
  if (progress.step) progress.step(static_cast<int32_t>(std::clamp<int64_t>(position, kPassProgressFirst, kPassProgressLast)));
}
void end(const ProgressSink& progress) {
  if (progress.end) progress.end();
}

// Reads the header into field names; the number of names is the field count.
TextLoadStatus readHeader(DataTable& table, TableTextReader& reader, std::vector<std::string_view>& cells) {
  const RecordStatus status = reader.next(cells, kMaxFields, false);
  if (status == RecordStatus::End) return TextLoadStatus::NoFields;
  if (status != RecordStatus::Record) return failureOf(status, true);
  if (cells.empty() || (cells.size() == 1 && cells[0].empty())) return TextLoadStatus::NoFields;
  table.fieldCount = static_cast<int32_t>(cells.size());
  for (size_t c = 0; c < cells.size(); ++c) {
    // A name is a C text: a NUL byte ends it, and a name left empty gets its column number.
    std::string_view name = cells[c].substr(0, cells[c].find('\0'));
    setFieldName(table.fields[c], trimCellBlanks(name), static_cast<int32_t>(c + 1));
  }
  return TextLoadStatus::Loaded;
}

// Types every field from its non-empty cells and sketches how many distinct
// values each text or date field holds; the result is the sample count, or -1 with
// `failure` set.
int64_t analysisPass(DataTable& table, TableTextReader& reader, std::vector<std::string_view>& cells,
                     const platform::RegionalSettings& regional, const ProgressSink& progress,
                     std::vector<DistinctSketch>& sketches, TextLoadStatus& failure) {
  const size_t fieldCount = static_cast<size_t>(table.fieldCount);
  for (size_t f = 0; f < fieldCount; ++f) table.fields[f].analysisClass = AC_NONE;
  begin(progress, " analyzing");
  // The row capacity is not known yet, so progress follows the text read.
  const uint64_t size = std::max<size_t>(reader.size(), 1);
  int64_t posted = 0;
  int64_t samples = 0;
  for (;;) {
    const RecordStatus status = reader.next(cells, fieldCount);
    if (status == RecordStatus::End) break;
    if (status != RecordStatus::Record) {
      failure = failureOf(status, false);
      return -1;
    }
    bool sample = false;
    const size_t n = std::min(cells.size(), fieldCount);
    for (size_t c = 0; c < n; ++c) {
      if (cells[c].empty()) continue;
      sample = true;
      DataField& field = table.fields[c];
      field.analysisClass = classifyCell(field, cells[c], regional);
      if (field.analysisClass == AC_TEXT || field.analysisClass == AC_DATETIME)
        sketchAdd(sketches[c], trimCellBlanks(cells[c]));
    }
    if (sample) ++samples;
    const int64_t position = 1 + static_cast<int64_t>(reader.position() * 9999 / size);
    if (position - posted >= 100) {
      posted = position;
      step(progress, position);
    }
  }
  for (size_t f = 0; f < fieldCount; ++f) applyAnalysisClass(table.fields[f]);
  end(progress);
  return samples;
}

// Readies the text pool and the time table for the distinct values the
// sketches foresee, with some room for the sketches' error, so that neither
// grows its index or its buffers while the cells are stored. (Date texts that
// differ may read as one date: the time table is readied for too many rather
// than too few.)
void readyValueTables(DataTable& table, const std::vector<DistinctSketch>& sketches) {
  size_t texts = 0, bytes = 0, times = 0;
  for (size_t f = 0; f < sketches.size(); ++f) {
    const uint8_t type = table.fields[f].type;
    const uint64_t distinct = sketchDistinct(sketches[f]);
    const uint64_t foreseen = std::min<uint64_t>(distinct + distinct / 16, sketches[f].texts);
    if (type == FT_TEXT || type == FT_TEXT2 || type == FT_SIZE) {
      texts += foreseen;
      bytes += foreseen * sketchMeanLength(sketches[f]);
    } else if (type == FT_DATETIME) {
      times += foreseen;
    }
  }
  // Without room they grow as values arrive.
  if (texts > 0) reserveTextPool(table.textPool, texts, bytes);
  if (times > 0) reserveTimeTable(table.timeTable, times);
}

// Stores every cell of the counted lines; the result is the number of samples
// stored, or -1 with `failure` set.
int64_t loadingPass(DataTable& table, TableTextReader& reader, std::vector<std::string_view>& cells,
                    int32_t count, const platform::RegionalSettings& regional, const ProgressSink& progress,
                    TextLoadStatus& failure) {
  const size_t fieldCount = static_cast<size_t>(table.fieldCount);
  begin(progress, " loading");
  const int32_t every = std::max(1, count / 100);
  int32_t sample = 0;
  CellLoader loader(table, regional, reader.text());
  while (sample < count) {
    const RecordStatus status = reader.next(cells, fieldCount);
    if (status == RecordStatus::End) break;
    if (status != RecordStatus::Record) {
      failure = failureOf(status, false);
      return -1;
    }
    if (!hasValue(cells, fieldCount)) continue;
    const size_t s = static_cast<size_t>(sample);
    for (size_t f = 0; f < fieldCount; ++f) table.fields[f].cells[s].flags &= static_cast<uint8_t>(~kCellPresent);
    const size_t n = std::min(cells.size(), fieldCount);
    for (size_t c = 0; c < n; ++c)
      if (!cells[c].empty()) loader.store(static_cast<int32_t>(c), sample, cells[c]);
    ++sample;
    if (sample % every == 0) step(progress, int64_t{sample} * kPassProgressLast / count);
  }
  loader.finish();
  end(progress);
  return sample;
}

}  // namespace

TextLoadResult loadTableText(DataTable& table, std::string_view text, TableTextFormat format,
                             const platform::RegionalSettings& regional, const std::atomic<int32_t>* abort,
                             const ProgressSink& progress) {
  TextLoadResult result;
  TableTextReader reader(text, format, abort);
  std::vector<std::string_view> cells;
  cells.reserve(64);
  result.status = readHeader(table, reader, cells);
  if (result.status != TextLoadStatus::Loaded) return result;
  const size_t bodyStart = reader.position();

  TextLoadStatus failure = TextLoadStatus::Loaded;
  std::vector<DistinctSketch> sketches(static_cast<size_t>(table.fieldCount));
  const int64_t samples = analysisPass(table, reader, cells, regional, progress, sketches, failure);
  if (samples < 0) {
    end(progress);
    result.status = failure;
    return result;
  }
  if (samples == 0) {
    result.status = TextLoadStatus::NoSamples;
    return result;
  }
  if (samples > INT32_MAX || !growRows(table, static_cast<int32_t>(samples))) {
    result.status = TextLoadStatus::GrowthFailed;
    return result;
  }
  readyValueTables(table, sketches);
  reader.rewindTo(bodyStart);
  const int64_t stored =
      loadingPass(table, reader, cells, static_cast<int32_t>(samples), regional, progress, failure);
  if (stored < 0) {
    end(progress);
    result.status = failure;
    return result;
  }
  if (stored == 0) {
    result.status = TextLoadStatus::NothingStored;
    return result;
  }
  table.rowCount = static_cast<int32_t>(stored);
  table.sourceRowCount = table.rowCount;
  result.rows = table.rowCount;
  result.status = TextLoadStatus::Loaded;
  return result;
}

}  // namespace vlm
