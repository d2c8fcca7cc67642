#pragma once
// The edits of a Selector row: its menu commands, the slider drags, the clicks
// on its values, its keys and the Edit Selection box. Each edit changes the
// field's query, marks the row changed and re-runs the row's test; the caller
// then runs the selection computation once for all the edits it made
// (selection_compute.h). Everything here runs under the data lock.
//
// An edit returns whether it changed anything; one that does not apply to the
// row (a method the field's type does not allow, a field outside the table)
// changes nothing.
#include <cstdint>
#include <string_view>

#include "tools/selector/row_test.h"

namespace vlm {
struct EngineState;
}

namespace vlm::selector {

QueryArrays queryArrays(EngineState& state);

// The Selector menu commands (selector_rules.h). Play is started by the caller.
bool runMenuCommand(EngineState& state, int32_t command, int32_t field);
bool setMethod(EngineState& state, int32_t field, int32_t method);

// Range: both bounds, each clamped to the field's values (low kept at most high).
bool setRange(EngineState& state, int32_t field, double low, double high);
// Item: the entry shown, or "*** ALL ***" for a negative entry.
bool setItem(EngineState& state, int32_t field, int32_t entry);
// Samples: a click on a value line toggles it (Multiple) or makes it the only
// selected value (Single); it also becomes the current value.
bool clickValue(EngineState& state, int32_t field, int32_t entry);
// The current row and value the keys act on (a click on a row makes it current).
void setCurrent(EngineState& state, int32_t field, int32_t value);
// A key on the current row: the virtual key, and for a printable key the
// text it types.
bool pressKey(EngineState& state, int32_t field, int32_t virtualKey, std::string_view typed);
// The Edit Selection box: Min, then Max, then Distance, each when not empty
// and readable as a number of the field's kind.
bool applyEditSelection(EngineState& state, int32_t field, std::string_view minText, std::string_view maxText,
                        std::string_view distanceText);

// Item play: the next value, from the last back to the first (never to
// "*** ALL ***"; from "*** ALL ***" the first). False when the row is no Item row.
bool advanceItem(EngineState& state, int32_t field);

// Virtual keys the rows read besides those of the 3D view.
enum SelectorKey : int32_t {
  kKeyBack = 0x08,
  kKeyTab = 0x09,
  kKeyReturn = 0x0D,
  kKeyShift = 0x10,
  kKeyControl = 0x11,
  kKeyMenu = 0x12,  // Alt
  kKeyEscape = 0x1B,
  kKeyEnd = 0x23,
  kKeyHome = 0x24,
  kKeyLeft = 0x25,
  kKeyUp = 0x26,
  kKeyRight = 0x27,
  kKeyDown = 0x28,
  kKeyDelete = 0x2E,
};

// The Substring editing on a text and its caret (bytes; the caret always
// stands between whole UTF-8 characters). Returns whether the text changed;
// the caret may move either way. Also used by the window to echo typing at once.
bool editSubstring(std::string& text, int32_t& caret, int32_t virtualKey, std::string_view typed);

}  // namespace vlm::selector
