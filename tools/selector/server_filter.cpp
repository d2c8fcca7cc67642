#include "tools/selector/server_filter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tools/selector/range_bounds.h"
#include "tools/selector/selector_rules.h"

namespace vlm::selector {
namespace {

using platform::db::ConditionKind;
using platform::db::RangeValues;
using platform::db::RowCondition;

// "YYYY-MM-DD hh:mm:ss" of a time-table entry; false for a time without a date.
bool timeText(const TimeEntry& t, std::string& out) {
  if (t.year == kTimePartUnseen || t.month == kTimePartUnseen || t.day == kTimePartUnseen) return false;
  auto part = [](uint16_t v) { return v == kTimePartUnseen ? 0 : static_cast<int>(v); };
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", part(t.year), part(t.month), part(t.day),
                part(t.hour), part(t.minute), part(t.second));
  out = buffer;
  return true;
}

// A date field's bounds are places in its sorted list of values.
bool dateBounds(const DataTable& table, const DataField& f, RowCondition& c) {
  const int32_t values = valueEntryCount(f);
  const int32_t lo = std::max(f.selectorLow.i, 0), hi = std::min(f.selectorHigh.i, values - 1);
  if (!hasDistinctList(f) || lo > hi) return false;
  const auto& entries = table.timeTable.entries;
  auto entry = [&](int32_t i) -> const TimeEntry* {
    const int32_t t = f.distinct[static_cast<size_t>(i)].value;
    return t >= 0 && static_cast<size_t>(t) < entries.size() ? &entries[static_cast<size_t>(t)] : nullptr;
  };
  const TimeEntry *low = entry(lo), *high = entry(hi);
  return low && high && timeText(*low, c.lowText) && timeText(*high, c.highText);
}

// Whether a row of a kind the database cannot run lets every sample pass.
bool passesEverything(const DataField& f) {
  switch (f.selector.method) {
    case kItemSlider:
      return f.selector.all || !hasDistinctList(f);
    case kSamples:
      return !hasDistinctList(f) || std::all_of(f.distinct.begin(), f.distinct.end(), [](const DistinctValue& d) {
               return (d.flags & kDistinctSelected) != 0;
             });
    default:
      return true;
  }
}

}  // namespace

SelectionFilter selectionFilterLocked(const DataTable& table, const platform::db::RowFilter* loaded) {
  SelectionFilter out;
  if (loaded) out.filter = *loaded;
  for (int32_t i = 0; i < table.fieldCount && i < kMaxFields; ++i) {
    const DataField& f = table.fields[static_cast<size_t>(i)];
    RowCondition c;
    c.column = f.name;
    bool said = true, narrows = true;
    switch (f.selector.method) {
      case kRangeSlider:
        if (rangeIsFull(f)) {
          narrows = false;
          break;
        }
        c.includeMissing = f.selector.includeMissing;
        if (f.type == FT_INTEGER) {
          c.values = RangeValues::Integer;
          c.low = f.selectorLow.i;
          c.high = f.selectorHigh.i;
        } else if (f.type == FT_REAL) {
          c.values = RangeValues::Real;
          c.low = f.selectorLow.f;
          c.high = f.selectorHigh.f;
        } else if (f.type == FT_DATETIME) {
          c.values = RangeValues::DateTime;
          said = dateBounds(table, f, c);
        } else {
          said = false;
        }
        break;
      case kSubstring: {
        c.kind = ConditionKind::Substring;
        c.text.assign(f.selectorText, strnlen(f.selectorText, sizeof f.selectorText));
        narrows = !c.text.empty();
        // Only texts hold what a Substring row looks for.
        said = f.type == FT_TEXT || f.type == FT_TEXT2;
        break;
      }
      default:
        narrows = !passesEverything(f);
        said = false;
        break;
    }
    if (!narrows) continue;
    if (said) out.filter.conditions.push_back(std::move(c));
    else out.leftOut.emplace_back(f.name);
  }
  return out;
}

}  // namespace vlm::selector
