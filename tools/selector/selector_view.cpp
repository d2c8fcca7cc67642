#include "tools/selector/selector_view.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "data/number_text.h"
#include "data/value_text.h"
#include "engine/engine_state.h"
#include "platform/host_bridge.h"
#include "tools/selector/range_bounds.h"
#include "tools/selector/selector_rules.h"
#include "tools/selector/selector_window.h"

namespace vlm::selector {
namespace {

struct AppliedEdits {
  std::mutex mutex;
  std::vector<uint32_t> sequence;  // per field
};

AppliedEdits& appliedEdits() {
  static AppliedEdits edits;
  return edits;
}

uint32_t appliedEditOf(int32_t field) {
  AppliedEdits& a = appliedEdits();
  std::lock_guard lock(a.mutex);
  return static_cast<size_t>(field) < a.sequence.size() ? a.sequence[static_cast<size_t>(field)] : 0;
}

std::string entryText(const EngineState& state, int32_t field, int32_t entry) {
  char buffer[1024];
  distinctValueText(*state.data, field, entry, buffer, sizeof buffer, state.main->regional);
  return buffer;
}

std::string boundText(const EngineState& state, int32_t field, const DataField& f, double bound) {
  switch (f.type) {
    case FT_REAL:
      return realText(static_cast<float>(bound), state.main->regional);
    case FT_INTEGER:
    case FT_SIZE:
      return integerText(static_cast<int64_t>(bound));
    default:
      return entryText(state, field, static_cast<int32_t>(bound));
  }
}

}  // namespace

RowView rowView(EngineState& state, int32_t field) {
  RowView row;
  row.field = field;
  const DataField& f = state.data->fields[static_cast<size_t>(field)];
  row.name = std::string(f.name, strnlen(f.name, sizeof f.name));
  row.type = f.type;
  row.method = f.selector.method;
  for (int32_t m = 0; m < 5; ++m) row.allowed[m] = methodAllowed(f, m);
  row.entryCount = hasDistinctList(f) ? f.distinctCount : 0;
  row.valueCount = valueEntryCount(f);
  row.appliedEdit = appliedEditOf(field);
  switch (f.selector.method) {
    case kRangeSlider: {
      const RangeLimits limits = rangeLimits(f);
      row.integral = rangeIsIntegral(f);
      row.least = limits.least;
      row.greatest = limits.greatest;
      row.low = limits.any ? rangeLow(f) : 0.0;
      row.high = limits.any ? rangeHigh(f) : 0.0;
      row.lowText = limits.any ? boundText(state, field, f, row.low) : std::string("N/A");
      row.highText = limits.any ? boundText(state, field, f, row.high) : std::string("N/A");
      break;
    }
    case kItemSlider:
      row.all = f.selector.all;
      row.item = std::clamp(f.selectorLow.i, 0, std::max(row.entryCount - 1, 0));
      row.itemText = row.all || row.entryCount == 0 ? std::string(kAllText) : entryText(state, field, row.item);
      break;
    case kSamples:
      row.samplesMode = f.selector.samplesMode;
      row.values.reserve(static_cast<size_t>(row.entryCount));
      for (int32_t e = 0; e < row.entryCount; ++e) {
        const DistinctValue& d = f.distinct[static_cast<size_t>(e)];
        row.values.push_back({entryText(state, field, e), (d.flags & kDistinctSelected) != 0,
                              (d.flags & kDistinctAvailable) != 0});
      }
      break;
    case kSubstring:
      row.text = std::string(f.selectorText, strnlen(f.selectorText, sizeof f.selectorText));
      row.caret = std::clamp(f.selector.caret, 0, static_cast<int32_t>(row.text.size()));
      break;
    default:
      break;
  }
  return row;
}

std::shared_ptr<SelectorView> takeView(EngineState& state, bool complete) {
  auto view = std::make_shared<SelectorView>();
  const SelectorRecord& r = state.main->selector;
  view->generation = r.tableGeneration.load();
  view->complete = complete;
  const DataTable& t = *state.data;
  // The list stays empty without fields or with a table of the most fields.
  view->fieldCount = t.fieldCount > 0 && t.fieldCount < kMaxFields ? t.fieldCount : 0;
  view->currentRow = r.currentRow;
  view->currentValue = r.currentValue;
  for (int32_t f = 0; f < view->fieldCount; ++f) {
    DataField& field = state.data->fields[static_cast<size_t>(f)];
    if (!complete && !field.selector.changed) continue;
    field.selector.changed = false;
    view->rows.push_back(rowView(state, f));
  }
  return view;
}

void publishView(EngineState& state, bool complete) {
  if (state.main->selector.open.load() == 0) return;
  std::shared_ptr<SelectorView> view = takeView(state, complete);
  platform::HostBridge& bridge = platform::HostBridge::instance();
  if (bridge.isHostThread()) {
    showView(std::move(view));
    return;
  }
  bridge.postWork([view = std::move(view)]() mutable { showView(std::move(view)); });
}

void noteAppliedEdit(int32_t field, uint32_t sequence) {
  if (field < 0 || field >= kMaxFields) return;
  AppliedEdits& a = appliedEdits();
  std::lock_guard lock(a.mutex);
  if (a.sequence.size() <= static_cast<size_t>(field)) a.sequence.resize(static_cast<size_t>(field) + 1, 0);
  a.sequence[static_cast<size_t>(field)] = std::max(a.sequence[static_cast<size_t>(field)], sequence);
}

void forgetAppliedEdits() {
  AppliedEdits& a = appliedEdits();
  std::lock_guard lock(a.mutex);
  a.sequence.clear();
}

}  // namespace vlm::selector
