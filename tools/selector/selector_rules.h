#pragma once
// What the Selector offers on a field: its methods and menu commands, which
// methods a field's type allows, and where a sample's value stands in the
// field's sorted distinct-value list.
#include <cstdint>

#include "data/data_table.h"
#include "tools/menus/menu_ids.h"
#include "tools/menus/selector_menu_rules.h"

namespace vlm::selector {

enum Method : int32_t {
  kMethodNone = 0,
  kRangeSlider = 1,
  kItemSlider = 2,
  kSamples = 3,
  kSubstring = 4,
};

enum SamplesMode : int32_t {
  kSingle = 1,
  kMultiple = 2,
};

// Command ids of the Selector menus (the popup menus' own ids).
enum MenuCommand : int32_t {
  kCommandRange = tools::CMD_ID_RANGE_SLIDER,
  kCommandItem = tools::CMD_ID_ITEM_SLIDER,
  kCommandSamples = tools::CMD_ID_SAMPLES,
  kCommandSubstring = tools::CMD_ID_SUBSTRING,
  kCommandAll = tools::CMD_ID_ALL,
  kCommandNone = tools::CMD_ID_NONE,
  kCommandSingle = tools::CMD_ID_SINGLE,
  kCommandMultiple = tools::CMD_ID_MULTIPLE,
  kCommandPlay = tools::CMD_ID_PLAY_SLIDER,
};

// The menu command that switches a row to `method` (0 for none).
int32_t methodCommand(int32_t method);

// A Samples row restored from a model file on a field with more values
// becomes an Item Slider.
constexpr int32_t kSamplesRestoreLimit = 20;
// The longest Substring text, in bytes.
constexpr int32_t kSubstringLimit = 1023;
constexpr const char* kAllText = "*** ALL ***";

// Whether the field has a distinct-value list to index (booleans and sizes
// never do, nor a field whose list could not be allocated).
bool hasDistinctList(const DataField& field);
// Entries of the list with a value (the empty-value entry not counted).
int32_t valueEntryCount(const DataField& field);
// Index of the empty-value entry, -1 when every sample has a value.
int32_t emptyEntry(const DataField& field);

// The entry of a sample's value; the empty-value entry for a sample without
// one. Only for fields with a distinct-value list.
inline int32_t entryOf(const DataField& field, const Cell& cell) {
  if ((cell.flags & kCellPresent) && cell.engineWord >= 0 && cell.engineWord < field.distinctCount)
    return cell.engineWord;
  return field.distinctCount > 0 && (field.distinct.back().flags & kDistinctEmpty) ? field.distinctCount - 1 : -1;
}

// The method's menu item is enabled for the field: the field type's rules of
// the Selector menus (tools/menus/selector_menu_rules.h), counting the values
// without the empty one; Item and Samples also need a distinct-value list, and
// so does a date range, which runs over the sorted list. Method 0 is always
// allowed.
bool methodAllowed(const DataField& field, int32_t method);

// The row a freshly loaded field gets: a Range Slider on numbers, dates and
// sizes; Samples on a text with up to 20 values, a Substring on a longer one;
// none otherwise.
int32_t defaultMethod(const DataField& field);

// Range bounds are plain numbers on integer, real and size fields and entry
// indexes of the sorted list on date/time and text fields.
bool rangeOnEntries(const DataField& field);

}  // namespace vlm::selector
