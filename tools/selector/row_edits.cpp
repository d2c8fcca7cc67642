#include "tools/selector/row_edits.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "data/number_text.h"
#include "engine/engine_state.h"
#include "tools/selector/range_bounds.h"
#include "tools/selector/selector_rules.h"

namespace vlm::selector {
namespace {

DataField* rowField(EngineState& state, int32_t field) {
  if (field < 0 || field >= state.data->fieldCount || field >= kMaxFields) return nullptr;
  return &state.data->fields[static_cast<size_t>(field)];
}

void rerun(EngineState& state, int32_t field) {
  QueryArrays q = queryArrays(state);
  rerunRowTest(q, field);
}

void selectEveryValue(DataField& f, bool selected) {
  for (DistinctValue& d : f.distinct) d.flags = selected ? (d.flags | kDistinctSelected) : (d.flags & ~kDistinctSelected);
}

// The value a Samples key or Single starts from: the current value while
// this row is current, else the first; always inside the list.
int32_t currentValueOf(const EngineState& state, int32_t field, const DataField& f) {
  const SelectorRecord& r = state.main->selector;
  const int32_t value = r.currentRow == field ? r.currentValue : 0;
  return std::clamp(value, 0, std::max(f.distinctCount - 1, 0));
}

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

int32_t previousBoundary(const std::string& text, int32_t caret) {
  if (caret <= 0) return 0;
  --caret;
  while (caret > 0 && isContinuation(text[static_cast<size_t>(caret)])) --caret;
  return caret;
}

int32_t nextBoundary(const std::string& text, int32_t caret) {
  const auto length = static_cast<int32_t>(text.size());
  if (caret >= length) return length;
  ++caret;
  while (caret < length && isContinuation(text[static_cast<size_t>(caret)])) ++caret;
  return caret;
}

// The typed characters without control characters, cut to `room` bytes at a
// character boundary.
std::string printable(std::string_view typed, size_t room) {
  std::string kept;
  for (char c : typed) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) continue;
    kept.push_back(c);
  }
  if (kept.size() > room) {
    size_t cut = room;
    while (cut > 0 && isContinuation(kept[cut])) --cut;
    kept.resize(cut);
  }
  return kept;
}

void storeSubstring(DataField& f, const std::string& text, int32_t caret) {
  const size_t n = std::min(text.size(), static_cast<size_t>(kSubstringLimit));
  std::memcpy(f.selectorText, text.data(), n);
  f.selectorText[n] = '\0';
  f.selector.caret = std::clamp(caret, 0, static_cast<int32_t>(n));
  f.selector.changed = true;
}

std::string substringOf(const DataField& f) { return std::string(f.selectorText, strnlen(f.selectorText, sizeof f.selectorText)); }

// A number as the Edit Selection box reads it: a real on real fields, an
// integer (its leading digits) otherwise; nothing for an empty or unreadable text.
std::optional<double> readBound(const DataField& f, std::string_view text, const platform::RegionalSettings& regional) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  if (f.type == FT_REAL) {
    double value = 0.0;
    if (!readRealText(text, regional, value) || !std::isfinite(value)) return std::nullopt;
    return value;
  }
  const std::string copy(text);
  char* end = nullptr;
  const long long value = std::strtoll(copy.c_str(), &end, 10);
  if (end == copy.c_str()) return std::nullopt;
  return static_cast<double>(value);
}

bool selectAllOnRow(EngineState& state, int32_t field, DataField& f) {
  switch (f.selector.method) {
    case kRangeSlider:
      recomputeLimits(f, state.data->rowCount);
      setFullRange(f);
      break;
    case kItemSlider:
      f.selector.all = true;
      break;
    case kSamples:
      selectEveryValue(f, true);
      break;
    case kSubstring:
      storeSubstring(f, {}, 0);
      break;
    default:
      return false;
  }
  f.selector.changed = true;
  rerun(state, field);
  return true;
}

bool selectNoneOnRow(EngineState& state, int32_t field, DataField& f) {
  selectEveryValue(f, false);
  f.selector.changed = true;
  if (f.selector.method != kSamples) return false;
  rerun(state, field);
  return true;
}

bool makeSingle(EngineState& state, int32_t field, DataField& f) {
  if (f.selector.method != kSamples || !hasDistinctList(f)) return false;
  f.selector.samplesMode = kSingle;
  const int32_t keep = currentValueOf(state, field, f);
  selectEveryValue(f, false);
  f.distinct[static_cast<size_t>(keep)].flags |= kDistinctSelected;
  f.selector.changed = true;
  rerun(state, field);
  return true;
}

bool itemKey(EngineState& state, int32_t field, DataField& f, int32_t key) {
  if (!hasDistinctList(f)) return false;
  const int32_t last = f.distinctCount - 1;
  const bool wasAll = f.selector.all;
  const int32_t wasCurrent = f.selectorLow.i;
  int32_t current = std::clamp(f.selectorLow.i, 0, last);
  bool all = wasAll;
  switch (key) {
    case kKeyHome:
      all = true;
      break;
    case kKeyEnd:
      all = false;
      current = last;
      break;
    case kKeyLeft:
    case kKeyUp:
      if (all) break;
      if (current == 0)
        all = true;
      else
        --current;
      break;
    case kKeyRight:
    case kKeyDown:
      if (all) {
        all = false;
        current = 0;
      } else {
        current = std::min(current + 1, last);
      }
      break;
    default:
      return false;
  }
  if (all == wasAll && (all || current == wasCurrent)) return false;
  f.selector.all = all;
  if (!all) f.selectorLow.i = current;
  f.selector.changed = true;
  rerun(state, field);
  return true;
}

bool samplesKey(EngineState& state, int32_t field, DataField& f, int32_t key) {
  if (!hasDistinctList(f)) return false;
  const int32_t last = f.distinctCount - 1;
  int32_t current = currentValueOf(state, field, f);
  switch (key) {
    case kKeyHome:
      current = 0;
      break;
    case kKeyEnd:
      current = last;
      break;
    case kKeyLeft:
    case kKeyUp:
      current = std::max(current - 1, 0);
      break;
    case kKeyRight:
    case kKeyDown:
      current = std::min(current + 1, last);
      break;
    default:
      return false;
  }
  if (f.selector.samplesMode == kSingle) selectEveryValue(f, false);
  f.distinct[static_cast<size_t>(current)].flags |= kDistinctSelected;
  setCurrent(state, field, current);
  f.selector.changed = true;
  rerun(state, field);
  return true;
}

bool substringKey(EngineState& state, int32_t field, DataField& f, int32_t key, std::string_view typed) {
  std::string text = substringOf(f);
  int32_t caret = f.selector.caret;
  const int32_t caretBefore = caret;
  const bool changed = editSubstring(text, caret, key, typed);
  if (!changed && caret == caretBefore) return false;
  storeSubstring(f, text, caret);
  if (changed) rerun(state, field);
  return changed;
}

}  // namespace

QueryArrays queryArrays(EngineState& state) {
  return {*state.data, state.model->selectionFlags, state.main->selector};
}

bool setMethod(EngineState& state, int32_t field, int32_t method) {
  DataField* f = rowField(state, field);
  if (!f || method < kMethodNone || method > kSubstring || !methodAllowed(*f, method)) return false;
  const int32_t previous = f->selector.method;
  f->selector.method = method;
  f->selector.changed = true;
  switch (method) {
    case kRangeSlider:
      // Another method may have left an item index in the low bound.
      if (previous != kRangeSlider) {
        recomputeLimits(*f, state.data->rowCount);
        setFullRange(*f);
      }
      break;
    case kItemSlider:
      f->selectorLow.i = 0;
      f->selector.all = true;
      markAllAvailable(*f);
      break;
    case kSamples:
      selectEveryValue(*f, true);
      break;
    case kSubstring:
      setCurrent(state, field, 0);
      f->selector.caret = std::clamp(f->selector.caret, 0, static_cast<int32_t>(strnlen(f->selectorText, sizeof f->selectorText)));
      break;
    default:
      break;
  }
  rerun(state, field);
  if (method == kSamples) {
    QueryArrays q = queryArrays(state);
    countAvailability(q, field);
  }
  return true;
}

bool runMenuCommand(EngineState& state, int32_t command, int32_t field) {
  DataField* f = rowField(state, field);
  if (!f) return false;
  switch (command) {
    case kCommandRange:
      return setMethod(state, field, kRangeSlider);
    case kCommandItem:
      return setMethod(state, field, kItemSlider);
    case kCommandSamples:
      return setMethod(state, field, kSamples);
    case kCommandSubstring:
      return setMethod(state, field, kSubstring);
    case kCommandAll:
      return selectAllOnRow(state, field, *f);
    case kCommandNone:
      return selectNoneOnRow(state, field, *f);
    case kCommandSingle:
      return makeSingle(state, field, *f);
    case kCommandMultiple:
      if (f->selector.method != kSamples) return false;
      f->selector.samplesMode = kMultiple;
      f->selector.changed = true;
      return false;  // no query changed
    default:
      return false;
  }
}

bool setRange(EngineState& state, int32_t field, double low, double high) {
  DataField* f = rowField(state, field);
  if (!f || f->selector.method != kRangeSlider) return false;
  const double oldLow = rangeLow(*f), oldHigh = rangeHigh(*f);
  setRangeLow(*f, low);
  setRangeHigh(*f, high);
  if (rangeLow(*f) > rangeHigh(*f)) setRangeLow(*f, rangeHigh(*f));
  if (rangeLow(*f) == oldLow && rangeHigh(*f) == oldHigh) return false;
  f->selector.changed = true;
  rerun(state, field);
  return true;
}

bool setItem(EngineState& state, int32_t field, int32_t entry) {
  DataField* f = rowField(state, field);
  if (!f || f->selector.method != kItemSlider || !hasDistinctList(*f)) return false;
  const bool all = entry < 0;
  const int32_t current = all ? f->selectorLow.i : std::min(entry, f->distinctCount - 1);
  if (all == f->selector.all && (all || current == f->selectorLow.i)) return false;
  f->selector.all = all;
  f->selectorLow.i = current;
  f->selector.changed = true;
  rerun(state, field);
  return true;
}

bool clickValue(EngineState& state, int32_t field, int32_t entry) {
  DataField* f = rowField(state, field);
  if (!f || f->selector.method != kSamples || !hasDistinctList(*f) || entry < 0 || entry >= f->distinctCount)
    return false;
  DistinctValue& value = f->distinct[static_cast<size_t>(entry)];
  if (f->selector.samplesMode == kSingle) {
    selectEveryValue(*f, false);
    value.flags |= kDistinctSelected;
  } else {
    value.flags ^= kDistinctSelected;
  }
  setCurrent(state, field, entry);
  f->selector.changed = true;
  rerun(state, field);
  return true;
}

void setCurrent(EngineState& state, int32_t field, int32_t value) {
  SelectorRecord& r = state.main->selector;
  if (DataField* old = rowField(state, r.currentRow)) old->selector.changed = true;
  r.currentRow = field;
  r.currentValue = std::max(value, 0);
  if (DataField* now = rowField(state, field)) now->selector.changed = true;
}

bool pressKey(EngineState& state, int32_t field, int32_t virtualKey, std::string_view typed) {
  DataField* f = rowField(state, field);
  if (!f) return false;
  switch (f->selector.method) {
    case kItemSlider:
      return itemKey(state, field, *f, virtualKey);
    case kSamples:
      return samplesKey(state, field, *f, virtualKey);
    case kSubstring:
      return substringKey(state, field, *f, virtualKey, typed);
    default:
      return false;
  }
}

bool applyEditSelection(EngineState& state, int32_t field, std::string_view minText, std::string_view maxText,
                        std::string_view distanceText) {
  DataField* f = rowField(state, field);
  if (!f || f->selector.method != kRangeSlider || rangeOnEntries(*f)) return false;
  const platform::RegionalSettings& regional = state.main->regional;
  const double oldLow = rangeLow(*f), oldHigh = rangeHigh(*f);
  if (const auto low = readBound(*f, minText, regional)) {
    setRangeLow(*f, *low);
    if (rangeHigh(*f) < rangeLow(*f)) setRangeHigh(*f, rangeLow(*f));
  }
  if (const auto high = readBound(*f, maxText, regional)) {
    setRangeHigh(*f, *high);
    if (rangeLow(*f) > rangeHigh(*f)) setRangeLow(*f, rangeHigh(*f));
  }
  if (const auto distance = readBound(*f, distanceText, regional)) {
    // In double: low + distance cannot overflow, and the clamp brings it back.
    setRangeHigh(*f, rangeLow(*f) + *distance);
    if (rangeLow(*f) > rangeHigh(*f)) setRangeLow(*f, rangeHigh(*f));
  }
  if (rangeLow(*f) == oldLow && rangeHigh(*f) == oldHigh) return false;
  f->selector.changed = true;
  rerun(state, field);
  return true;
}

bool advanceItem(EngineState& state, int32_t field) {
  DataField* f = rowField(state, field);
  if (!f || f->selector.method != kItemSlider || !hasDistinctList(*f)) return false;
  if (f->selector.all) {
    f->selector.all = false;
    f->selectorLow.i = 0;
  } else {
    const int32_t next = f->selectorLow.i + 1;
    f->selectorLow.i = next >= f->distinctCount || next < 0 ? 0 : next;
  }
  f->selector.changed = true;
  rerun(state, field);
  return true;
}

bool editSubstring(std::string& text, int32_t& caret, int32_t virtualKey, std::string_view typed) {
  if (text.size() > static_cast<size_t>(kSubstringLimit)) text.resize(static_cast<size_t>(kSubstringLimit));
  const auto length = static_cast<int32_t>(text.size());
  caret = std::clamp(caret, 0, length);
  while (caret > 0 && caret < length && isContinuation(text[static_cast<size_t>(caret)])) --caret;
  switch (virtualKey) {
    case kKeyBack: {
      // The character before the caret goes; at the start there is none.
      if (caret == 0) return false;
      const int32_t from = previousBoundary(text, caret);
      text.erase(static_cast<size_t>(from), static_cast<size_t>(caret - from));
      caret = from;
      return true;
    }
    case kKeyDelete: {
      if (caret >= length) return false;
      const int32_t to = nextBoundary(text, caret);
      text.erase(static_cast<size_t>(caret), static_cast<size_t>(to - caret));
      return true;
    }
    case kKeyLeft:
      caret = previousBoundary(text, caret);
      return false;
    case kKeyRight:
      caret = nextBoundary(text, caret);
      return false;
    case kKeyHome:
      caret = 0;
      return false;
    case kKeyEnd:
      caret = length;
      return false;
    case kKeyEscape:
      caret = 0;
      if (text.empty()) return false;
      text.clear();
      return true;
    case kKeyTab:
    case kKeyReturn:
    case kKeyShift:
    case kKeyControl:
    case kKeyMenu:
    case kKeyUp:
    case kKeyDown:
      return false;
    default: {
      const std::string inserted = printable(typed, static_cast<size_t>(kSubstringLimit - length));
      if (inserted.empty()) return false;
      text.insert(static_cast<size_t>(caret), inserted);
      caret += static_cast<int32_t>(inserted.size());
      return true;
    }
  }
}

}  // namespace vlm::selector
