#include "data/table_text_load.h"

#include <algorithm>
#include <vector>

#include "data/cell_store.h"
#include "data/distinct_estimate.h"
#include "data/field_analysis.h"
#include "data/field_name.h"
#include "data/table_growth.h"
#include "data/table_text_analysis.h"
#include "data/table_text_store.h"
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

}  // namespace

TextLoadResult loadTableText(DataTable& table, std::string_view text, TableTextFormat format,
                             const platform::RegionalSettings& regional, const std::atomic<int32_t>* abort,
                             const ProgressSink& progress, LoadThreads threads) {
  TextLoadResult result;
  TableTextReader reader(text, format, abort);
  std::vector<std::string_view> cells;
  cells.reserve(64);
  result.status = readHeader(table, reader, cells);
  if (result.status != TextLoadStatus::Loaded) return result;
  const size_t bodyStart = reader.position();

  // The row capacity is not known yet, so the analysis progress follows the text read.
  begin(progress, " analyzing");
  const uint64_t size = std::max<size_t>(text.size(), 1);
  int64_t posted = 0;
  TextAnalysisInput analysisIn;
  analysisIn.text = text;
  analysisIn.bodyStart = bodyStart;
  analysisIn.format = format;
  analysisIn.abort = abort;
  analysisIn.regional = &regional;
  analysisIn.parallel = threads != LoadThreads::One;
  if (threads == LoadThreads::BothAtAnySize) {
    analysisIn.splitFrom = 0;
    analysisIn.regionBytes = 1;  // pieces as small as a line, however small the text
  }
  analysisIn.progress = [&](size_t at) {
    const int64_t position = 1 + static_cast<int64_t>(at * 9999 / size);
    if (position - posted >= 100) {
      posted = position;
      step(progress, position);
    }
  };
  std::vector<DistinctSketch> sketches(static_cast<size_t>(table.fieldCount));
  const TextAnalysis analysis = analyseTableText(table, analysisIn, sketches);
  if (analysis.status != RecordStatus::End) {
    end(progress);
    result.status = failureOf(analysis.status, false);
    return result;
  }
  for (int32_t f = 0; f < table.fieldCount; ++f) applyAnalysisClass(table.fields[static_cast<size_t>(f)]);
  end(progress);
  if (analysis.samples == 0) {
    result.status = TextLoadStatus::NoSamples;
    return result;
  }
  if (analysis.samples > INT32_MAX || !growRows(table, static_cast<int32_t>(analysis.samples))) {
    result.status = TextLoadStatus::GrowthFailed;
    return result;
  }
  readyValueTables(table, sketches);

  begin(progress, " loading");
  const auto count = static_cast<int32_t>(analysis.samples);
  TextStoreInput storeIn;
  storeIn.text = text;
  storeIn.bodyStart = bodyStart;
  storeIn.format = format;
  storeIn.abort = abort;
  storeIn.regional = &regional;
  storeIn.count = count;
  storeIn.regions = analysis.regions;
  storeIn.progress = [&](int32_t stored) { step(progress, int64_t{stored} * kPassProgressLast / count); };
  const TextStore stored = storeTableText(table, storeIn);
  end(progress);
  if (stored.status != RecordStatus::End) {
    result.status = failureOf(stored.status, false);
    return result;
  }
  if (stored.stored == 0) {
    result.status = TextLoadStatus::NothingStored;
    return result;
  }
  table.rowCount = stored.stored;
  table.sourceRowCount = table.rowCount;
  result.rows = table.rowCount;
  result.status = TextLoadStatus::Loaded;
  return result;
}

}  // namespace vlm
