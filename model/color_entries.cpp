#include "model/color_entries.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

#include "data/text_pool.h"
#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/field_range.h"
#include "model/number_text.h"
#include "model/value_text.h"

namespace vlm {
namespace {

bool timeNotEarlier(const TimeEntry& a, const TimeEntry& b) {
  const uint16_t x[] = {a.year, a.month, a.day, a.hour, a.minute, a.second, a.millisecond};
  const uint16_t y[] = {b.year, b.month, b.day, b.hour, b.minute, b.second, b.millisecond};
  for (int i = 0; i < 7; ++i) {
    if (x[i] != y[i]) return x[i] > y[i];
  }
  return true;
}

// Number of categories that stand for a value; the empty value sorts after them.
int32_t presentCategoryCount(const DataField& f) {
  int32_t count = 0;
  const int32_t n = std::min<int32_t>(f.distinctCount, static_cast<int32_t>(f.distinct.size()));
  for (int32_t i = 0; i < n; ++i) {
    if ((f.distinct[static_cast<size_t>(i)].flags & kDistinctEmpty) == 0) ++count;
  }
  return count;
}

// The category a value text names. Text fields compare the pool texts; a
// number field mapped by category compares its values' texts.
bool findTextCategory(const ModelContext& ctx, const DataField& f, const char* text, int32_t& out) {
  if (std::strcmp(text, kEmptyValueText) == 0) {
    out = presentCategoryCount(f);
    return true;
  }
  const bool pooled = f.type == FT_TEXT || f.type == FT_TEXT2;
  const int32_t n = std::min<int32_t>(f.distinctCount, static_cast<int32_t>(f.distinct.size()));
  for (int32_t i = 0; i < n; ++i) {
    const DistinctValue& d = f.distinct[static_cast<size_t>(i)];
    if (d.flags & kDistinctEmpty) continue;
    bool same = false;
    if (pooled) {
      const auto poolEntry = poolText(ctx.table.textPool, d.value);
      same = poolEntry && *poolEntry == text;
    } else {
      same = categoryText(ctx.table, f, i, ctx.regional) == text;
    }
    if (same) {
      out = i;
      return true;
    }
  }
  if (pooled) return false;
  // A number between the categories (an entry made while the field was mapped
  // by value) stands for the first category not below it, as dates do.
  float wanted = 0.0f;
  if (!parseRealText(text, ctx.regional.decimalSeparator, wanted)) return false;
  for (int32_t i = 0; i < n; ++i) {
    const DistinctValue& d = f.distinct[static_cast<size_t>(i)];
    if (d.flags & kDistinctEmpty) continue;
    const float value = f.type == FT_REAL ? d.fvalue : static_cast<float>(d.value);
    if (value >= wanted) {
      out = i;
      return true;
    }
  }
  return false;
}

bool findTimeCategory(const ModelContext& ctx, const DataField& f, const char* text, int32_t& out) {
  const DataTable& table = ctx.table;
  const int32_t n = std::min<int32_t>(f.distinctCount, static_cast<int32_t>(f.distinct.size()));
  TimeEntry wanted;
  if (ctx.hooks != nullptr && ctx.hooks->parseTime && ctx.hooks->parseTime(text, wanted)) {
    for (int32_t i = 0; i < n; ++i) {
      const DistinctValue& d = f.distinct[static_cast<size_t>(i)];
      if (d.flags & kDistinctEmpty) continue;
      if (d.value < 0 || static_cast<size_t>(d.value) >= table.timeTable.entries.size()) continue;
      if (timeNotEarlier(table.timeTable.entries[static_cast<size_t>(d.value)], wanted)) {
        out = i;
        return true;
      }
    }
    return false;
  }
  if (std::strcmp(text, kEmptyValueText) == 0) {
    out = presentCategoryCount(f);
    return true;
  }
  for (int32_t i = 0; i < n; ++i) {
    if ((f.distinct[static_cast<size_t>(i)].flags & kDistinctEmpty) == 0 &&
        categoryText(table, f, i, ctx.regional) == text) {
      out = i;
      return true;
    }
  }
  return false;
}

void widenRange(ColorModel& m, float v) {
  if (v < m.valueMin) m.valueMin = v;
  if (v > m.valueMax) m.valueMax = v;
}

float positionIn(float v, float low, float high) {
  // A zero-width range places everything at 0; a NaN would break the sort.
  return high > low ? (v - low) / (high - low) : 0.0f;
}

bool sameColour(const ColorEntry& a, const ColorEntry& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

int32_t colourAssociationField(const ModelContext& ctx) {
  return attributeToField(ctx.associations, ATTRIB_COLOR);
}

}  // namespace

int32_t colourEntryType(const ModelContext& ctx, int32_t field, int32_t fieldType) {
  if (isCategoryType(fieldType) || field < 0) return fieldType;
  const int32_t a = attributeToAssociation(ctx.associations, ATTRIB_COLOR);
  if (a < 0) return fieldType;
  const Association& colour = ctx.associations.saved[static_cast<size_t>(a)];
  const DataField* f = associationField(ctx.table, field);
  if (colour.field != field || !isCategorical(colour) || f == nullptr || !hasCategoryList(*f)) return fieldType;
  return FT_TEXT;
}

bool parseEntryValue(const ModelContext& ctx, int32_t field, int32_t fieldType, const char* text,
                     ColorEntry& out) {
  if (text == nullptr) return false;
  fieldType = colourEntryType(ctx, field, fieldType);
  const char decimal = ctx.regional.decimalSeparator;
  const DataField* f = associationField(ctx.table, field);
  switch (fieldType) {
    case FT_REAL: {
      float v = 0.0f;
      if (!parseRealText(text, decimal, v)) return false;
      out.value.f = v;
      return true;
    }
    case FT_TEXT:
    case FT_TEXT2: {
      int32_t index = 0;
      if (f == nullptr || !findTextCategory(ctx, *f, text, index)) return false;
      out.value.i = index;
      return true;
    }
    case FT_DATETIME: {
      int32_t index = 0;
      if (f == nullptr || !findTimeCategory(ctx, *f, text, index)) return false;
      out.value.i = index;
      return true;
    }
    case FT_BOOLEAN:
    case FT_FLAG:
      // The entry texts of two-valued fields are "TRUE" and "FALSE".
      if (strcasecmp(text, "TRUE") == 0) {
        out.value.i = 1;
        return true;
      }
      if (strcasecmp(text, "FALSE") == 0) {
        out.value.i = 0;
        return true;
      }
      [[fallthrough]];
    default: {
      int32_t v = 0;
      if (!parseIntegerText(text, decimal, v)) return false;
      out.value.i = v;
      return true;
    }
  }
}

bool addColourEntry(ModelContext& ctx, int32_t field, int32_t fieldType, const char* text,
                    float red, float green, float blue) {
  ColorModel& m = ctx.colour;
  if (m.entries.size() >= static_cast<size_t>(kMaxColorEntries)) return false;
  fieldType = colourEntryType(ctx, field, fieldType);
  ColorEntry e;
  if (!parseEntryValue(ctx, field, fieldType, text, e)) return false;
  const float v = entryValue(e, fieldType);
  widenRange(m, v);
  e.position = positionIn(v, m.valueMin, m.valueMax);
  e.red = red;
  e.green = green;
  e.blue = blue;
  e.valueText = text;
  m.entries.push_back(std::move(e));
  return true;
}

std::string colourEntryValueText(const ModelContext& ctx, const ColorEntry& entry, int32_t field,
                                 int32_t fieldType) {
  switch (colourEntryType(ctx, field, fieldType)) {
    case FT_REAL: return realValueText(entry.value.f, true, ctx.regional);
    case FT_TEXT:
    case FT_TEXT2:
    case FT_DATETIME: {
      const DataField* f = associationField(ctx.table, field);
      if (f == nullptr) return kEmptyValueText;
      return categoryText(ctx.table, *f, entry.value.i, ctx.regional);
    }
    case FT_BOOLEAN:
    case FT_FLAG: return booleanText(entry.value.i != 0);
    default: return integerValueText(entry.value.i, true, ctx.regional);
  }
}

void sortColourEntries(ColorModel& model) {
  // Insertion sort: at most 33 entries, stable, and it allocates nothing.
  std::vector<ColorEntry>& e = model.entries;
  for (size_t i = 1; i < e.size(); ++i) {
    for (size_t j = i; j > 0 && e[j].position < e[j - 1].position; --j) std::swap(e[j], e[j - 1]);
  }
}

void copyColourToSaved(ModelContext& ctx) { ctx.savedColour = ctx.colour; }

void fitColourEntries(ModelContext& ctx, int32_t field, int32_t fieldType) {
  fieldType = colourEntryType(ctx, field, fieldType);
  ColorModel& m = ctx.colour;
  const ValueRange range = colourFieldRange(associationField(ctx.table, field), fieldType);
  m.valueMin = range.low;
  m.valueMax = range.high;
  for (ColorEntry& e : m.entries) {
    const float v = entryValue(e, fieldType);
    const float low = v < range.low ? v : range.low;
    const float high = v > range.high ? v : range.high;
    widenRange(m, v);
    e.position = positionIn(v, low, high);
  }
  sortColourEntries(m);
  bool removed = true;
  while (removed && m.entries.size() > 2) {
    removed = false;
    for (size_t i = 0; i + 1 < m.entries.size(); ++i) {
      if (m.entries[i].position == m.entries[i + 1].position &&
          sameColour(m.entries[i], m.entries[i + 1])) {
        m.entries.erase(m.entries.begin() + static_cast<std::ptrdiff_t>(i + 1));
        copyColourToSaved(ctx);
        markUnsaved(ctx);
        removed = true;
        break;
      }
    }
  }
}

void rebuildColourForField(ModelContext& ctx, int32_t field, int32_t fieldType) {
  fieldType = colourEntryType(ctx, field, fieldType);
  ColorModel& w = ctx.colour;
  const ColorModel& s = ctx.savedColour;
  w.rampType = s.rampType;
  const ValueRange range = colourFieldRange(associationField(ctx.table, field), fieldType);
  w.valueMin = range.low;
  w.valueMax = range.high;
  // Slots are reused so that their texts keep their storage from rebuild to rebuild.
  const size_t wanted = std::min(s.entries.size(), static_cast<size_t>(kMaxColorEntries));
  if (w.entries.size() < wanted) w.entries.resize(wanted);
  size_t n = 0;
  for (size_t i = 0; i < wanted; ++i) {
    const ColorEntry& from = s.entries[i];
    ColorEntry& slot = w.entries[n];
    if (!parseEntryValue(ctx, field, fieldType, from.valueText.c_str(), slot)) continue;
    const float v = entryValue(slot, fieldType);
    widenRange(w, v);
    slot.position = positionIn(v, w.valueMin, w.valueMax);
    slot.red = from.red;
    slot.green = from.green;
    slot.blue = from.blue;
    slot.valueText = from.valueText;
    ++n;
  }
  w.entries.resize(n);
  if (n < 2 && s.entries.size() >= 2) {
    // The field's values no longer include the texts that named the ramp's
    // ends (new data with other categories): without two entries nothing
    // would be coloured. The ramp's end colours span the field instead; the
    // saved entries stay as they are, for data that has their values again.
    w.entries.resize(2);
    for (size_t k = 0; k < 2; ++k) {
      ColorEntry& e = w.entries[k];
      const ColorEntry& from = k == 0 ? s.entries.front() : s.entries.back();
      const float v = k == 0 ? w.valueMin : w.valueMax;
      if (fieldType == FT_REAL)
        e.value.f = v;
      else
        e.value.i = truncToInt32(v);
      e.position = static_cast<float>(k);
      e.red = from.red;
      e.green = from.green;
      e.blue = from.blue;
      e.valueText = colourEntryValueText(ctx, e, field, fieldType);
    }
  }
  fitColourEntries(ctx, field, fieldType);
}

bool canSetEntryColour(const ModelContext& ctx, int32_t index) {
  return colourAssociationField(ctx) >= 0 && index >= 0 &&
         static_cast<size_t>(index) < ctx.colour.entries.size();
}

bool applyEntryColour(ModelContext& ctx, int32_t index, std::optional<uint32_t> colorref) {
  if (!canSetEntryColour(ctx, index)) return false;
  if (!colorref) {
    if (ctx.hooks != nullptr && ctx.hooks->redraw) ctx.hooks->redraw();
    return false;
  }
  const float r = static_cast<float>(*colorref & 0xFF) / 255.0f;
  const float g = static_cast<float>((*colorref >> 8) & 0xFF) / 255.0f;
  const float b = static_cast<float>((*colorref >> 16) & 0xFF) / 255.0f;
  for (ColorModel* m : {&ctx.colour, &ctx.savedColour}) {
    if (static_cast<size_t>(index) >= m->entries.size()) continue;
    ColorEntry& e = m->entries[static_cast<size_t>(index)];
    e.red = r;
    e.green = g;
    e.blue = b;
  }
  markUnsaved(ctx);
  if (ctx.hooks != nullptr && ctx.hooks->updateModel) ctx.hooks->updateModel();
  return true;
}

bool canSetEntryValue(const ModelContext& ctx, int32_t index) {
  return colourAssociationField(ctx) >= 0 && index > 0 &&
         static_cast<size_t>(index) + 1 < ctx.colour.entries.size();
}

bool applyEntryValue(ModelContext& ctx, int32_t index, const char* text) {
  if (!canSetEntryValue(ctx, index) || text == nullptr || text[0] == '\0') return false;
  const int32_t a = attributeToAssociation(ctx.associations, ATTRIB_COLOR);
  const Association& colour = ctx.associations.saved[a];
  ColorEntry parsed;
  if (!parseEntryValue(ctx, colour.field, colour.fieldType, text, parsed)) return false;
  ColorModel& m = ctx.colour;
  const float v = entryValue(parsed, colourEntryType(ctx, colour.field, colour.fieldType));
  const float position = positionIn(v, m.valueMin, m.valueMax);
  if (!(position >= 0.0f && position <= 1.0f)) return false;
  ColorEntry& e = m.entries[static_cast<size_t>(index)];
  e.value = parsed.value;
  e.valueText = text;
  e.position = position;
  sortColourEntries(m);
  copyColourToSaved(ctx);
  markUnsaved(ctx);
  if (ctx.hooks != nullptr && ctx.hooks->updateModel) ctx.hooks->updateModel();
  return true;
}

bool removeColourEntry(ModelContext& ctx, int32_t index) {
  ColorModel& m = ctx.colour;
  if (index < 0 || static_cast<size_t>(index) >= m.entries.size() || m.entries.size() <= 2) {
    return false;
  }
  m.entries.erase(m.entries.begin() + index);
  copyColourToSaved(ctx);
  markUnsaved(ctx);
  return true;
}

bool dragColourScaleLocked(ModelContext& ctx, float scale) {
  const int32_t a = attributeToAssociation(ctx.associations, ATTRIB_COLOR);
  if (a < 0 || !std::isfinite(scale)) return false;
  setAssociationScaleLocked(ctx, a, std::clamp(scale, 0.0f, 100.0f));
  return true;
}

bool dragColourStopLocked(ModelContext& ctx, int32_t index, float position) {
  if (!canSetEntryValue(ctx, index) || !std::isfinite(position)) return false;
  const int32_t a = attributeToAssociation(ctx.associations, ATTRIB_COLOR);
  const Association& colour = ctx.associations.saved[static_cast<size_t>(a)];
  ColorModel& m = ctx.colour;
  const size_t i = static_cast<size_t>(index);
  const float p = std::clamp(position, m.entries[i - 1].position, m.entries[i + 1].position);
  // Between the neighbours' values too: an entry's position and value can
  // differ slightly until the next fit (a ramp truncates whole numbers).
  const float lo = entryValue(m.entries[i - 1], colour.fieldType), hi = entryValue(m.entries[i + 1], colour.fieldType);
  const float v = std::clamp(m.valueMin + (m.valueMax - m.valueMin) * p, std::min(lo, hi), std::max(lo, hi));
  ColorEntry& e = m.entries[i];
  if (colour.fieldType == FT_REAL) {
    e.value.f = v;
  } else {
    e.value.i = static_cast<int32_t>(std::lround(v));
  }
  e.valueText = colourEntryValueText(ctx, e, colour.field, colour.fieldType);
  // A whole number or a category snaps the entry to its own place on the bar.
  e.position = std::clamp(positionIn(entryValue(e, colour.fieldType), m.valueMin, m.valueMax),
                          m.entries[i - 1].position, m.entries[i + 1].position);
  sortColourEntries(m);
  copyColourToSaved(ctx);
  markUnsaved(ctx);
  return true;
}

}  // namespace vlm
