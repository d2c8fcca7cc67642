#include "tools/selector/selector_rules.h"

namespace vlm::selector {

bool hasDistinctList(const DataField& field) {
  return field.distinctCount > 0 && field.distinct.size() == static_cast<size_t>(field.distinctCount);
}

int32_t valueEntryCount(const DataField& field) {
  if (!hasDistinctList(field)) return 0;
  return emptyEntry(field) >= 0 ? field.distinctCount - 1 : field.distinctCount;
}

int32_t emptyEntry(const DataField& field) {
  if (!hasDistinctList(field)) return -1;
  return (field.distinct.back().flags & kDistinctEmpty) ? field.distinctCount - 1 : -1;
}

int32_t methodCommand(int32_t method) {
  switch (method) {
    case kRangeSlider: return kCommandRange;
    case kItemSlider: return kCommandItem;
    case kSamples: return kCommandSamples;
    case kSubstring: return kCommandSubstring;
    default: return 0;
  }
}

bool methodAllowed(const DataField& field, int32_t method) {
  if (method == kMethodNone) return true;
  const int32_t command = methodCommand(method);
  if (command == 0 || !tools::selectorMethodAllowed(command, field.type, valueEntryCount(field))) return false;
  const bool needsList = method == kItemSlider || method == kSamples || (method == kRangeSlider && field.type == FT_DATETIME);
  return !needsList || hasDistinctList(field);
}

int32_t defaultMethod(const DataField& field) {
  switch (field.type) {
    case FT_INTEGER:
    case FT_REAL:
    case FT_SIZE:
      return kRangeSlider;
    case FT_DATETIME:
      return hasDistinctList(field) ? kRangeSlider : kMethodNone;
    case FT_TEXT:
    case FT_TEXT2:
      if (hasDistinctList(field) && valueEntryCount(field) <= kSamplesRestoreLimit) return kSamples;
      return kSubstring;
    default:
      return kMethodNone;
  }
}

bool rangeOnEntries(const DataField& field) {
  return field.type == FT_DATETIME || field.type == FT_TEXT || field.type == FT_TEXT2;
}

}  // namespace vlm::selector
