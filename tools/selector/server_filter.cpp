#include "tools/selector/server_filter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

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

// A date field's bounds are places in its sorted list of values; an open
// end stays empty.
bool dateBounds(const DataTable& table, const DataField& f, bool lowOpen, bool highOpen, RowCondition& c) {
  const int32_t values = valueEntryCount(f);
  const int32_t lo = std::max(f.selectorLow.i, 0), hi = std::min(f.selectorHigh.i, values - 1);
  if (!hasDistinctList(f) || lo > hi) return false;
  const auto& entries = table.timeTable.entries;
  auto text = [&](int32_t i, std::string& out) {
    const int32_t t = f.distinct[static_cast<size_t>(i)].value;
    return t >= 0 && static_cast<size_t>(t) < entries.size() && timeText(entries[static_cast<size_t>(t)], out);
  };
  return (lowOpen || text(lo, c.lowText)) && (highOpen || text(hi, c.highText));
}

// A Range row's bounds. The loaded rows may be a sample: a bound left at
// the least or greatest value they hold takes in what lies beyond it in the
// table. False for a range the database cannot compare (texts, sizes).
bool rangeBounds(const DataTable& table, const DataField& f, RowCondition& c) {
  const RangeLimits limits = rangeLimits(f);
  const bool lowOpen = rangeLow(f) <= limits.least, highOpen = rangeHigh(f) >= limits.greatest;
  constexpr double open = std::numeric_limits<double>::infinity();
  c.includeMissing = f.selector.includeMissing;
  if (f.type == FT_INTEGER || f.type == FT_REAL) {
    c.values = f.type == FT_INTEGER ? RangeValues::Integer : RangeValues::Real;
    c.low = lowOpen ? -open : rangeLow(f);
    c.high = highOpen ? open : rangeHigh(f);
    return true;
  }
  if (f.type != FT_DATETIME) return false;
  c.values = RangeValues::DateTime;
  return dateBounds(table, f, lowOpen, highOpen, c);
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
        said = rangeBounds(table, f, c);
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
