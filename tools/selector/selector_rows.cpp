#include "tools/selector/selector_rows.h"

#include <algorithm>

#include "data/second_thread.h"
#include "engine/engine_state.h"
#include "tools/selector/range_bounds.h"
#include "tools/selector/row_edits.h"
#include "tools/selector/row_test.h"
#include "tools/selector/selection_compute.h"
#include "tools/selector/selector_rules.h"
#include "tools/selector/selector_view.h"

namespace vlm::selector {
namespace {

int32_t fieldsOf(const EngineState& state) { return std::clamp(state.data->fieldCount, 0, kMaxFields); }

void selectEveryValue(DataField& f) {
  for (DistinctValue& d : f.distinct) d.flags |= kDistinctSelected;
}

// A row whose query lets every sample pass: Range over all values, Item on
// "*** ALL ***", Samples with every value selected; a Substring keeps its text.
void openRow(EngineState& state, DataField& f) {
  switch (f.selector.method) {
    case kRangeSlider:
      recomputeLimits(f, state.data->rowCount);
      setFullRange(f);
      break;
    case kItemSlider:
      f.selector.all = true;
      f.selectorLow.i = 0;
      markAllAvailable(f);
      break;
    case kSamples:
      selectEveryValue(f);
      break;
    default:
      break;
  }
  f.selector.changed = true;
}

}  // namespace

void takeLoadedTableLocked(EngineState& state) {
  QueryArrays q = queryArrays(state);
  passEverything(q);
  SelectorRecord& r = state.main->selector;
  const int32_t fields = fieldsOf(state);
  for (int32_t i = 0; i < fields; ++i) {
    DataField& f = state.data->fields[static_cast<size_t>(i)];
    if (i >= r.rowsBuilt) {
      f.selector = SelectorQuery{};
      f.selector.method = defaultMethod(f);
    } else if (!methodAllowed(f, f.selector.method)) {
      f.selector.method = kMethodNone;
    }
  }
  // Each row opens on its own field's cells and list: a big table's fields
  // are shared out between both cores.
  const bool bothCores = worthBothCores(*state.data);
  forEachOnBothCores(fields, bothCores, [&state](int32_t i) { openRow(state, state.data->fields[static_cast<size_t>(i)]); });
  r.rowsBuilt = fields;
  for (int32_t i = 0; i < fields; ++i) {
    const DataField& f = state.data->fields[static_cast<size_t>(i)];
    if (f.selector.method == kSubstring && f.selectorText[0] != '\0') rerunRowTest(q, i);
  }
  forEachOnBothCores(fields, bothCores, [&state, &q](int32_t i) {
    if (state.data->fields[static_cast<size_t>(i)].selector.method == kSamples) countAvailability(q, i);
  });
  if (r.currentRow >= fields) r.currentRow = -1;
  r.currentValue = 0;
  r.playing = 0;
  r.tableGeneration.fetch_add(1);
  forgetAppliedEdits();
  computeSelectionLocked(state, true);
}

void clearRowsLocked(EngineState& state) { state.main->selector.rowsBuilt = 0; }

bool addRowLocked(EngineState& state, int32_t method, int32_t item) {
  SelectorRecord& r = state.main->selector;
  const int32_t fields = fieldsOf(state);
  if (r.rowsBuilt < 0) r.rowsBuilt = 0;
  if (r.rowsBuilt >= fields) return false;
  const int32_t field = r.rowsBuilt++;
  DataField& f = state.data->fields[static_cast<size_t>(field)];
  if (method < kMethodNone || method > kSubstring) method = kMethodNone;
  if (method == kSamples && valueEntryCount(f) > kSamplesRestoreLimit) method = kItemSlider;
  if (!methodAllowed(f, method)) method = kMethodNone;
  f.selector.method = method;
  openRow(state, f);
  if (method == kItemSlider && item >= 0 && hasDistinctList(f)) {
    f.selector.all = false;
    f.selectorLow.i = std::min(item, f.distinctCount - 1);
  }
  QueryArrays q = queryArrays(state);
  rerunRowTest(q, field);
  if (method == kSamples) countAvailability(q, field);
  return true;
}

int32_t rowsAdded(const EngineState& state) { return state.main->selector.rowsBuilt; }

int32_t rowMethod(const DataTable& table, int32_t field) {
  if (field < 0 || field >= table.fieldCount || field >= kMaxFields) return kMethodNone;
  return table.fields[static_cast<size_t>(field)].selector.method;
}

}  // namespace vlm::selector
