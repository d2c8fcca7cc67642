#pragma once
// The road of the window's edits to the engine thread, and the play mode.
//
// The window runs on the host thread and must not wait for the data lock (a
// load may hold it for long), so every edit it makes (and every Selector menu
// command) is queued here and applied by the engine thread under the lock,
// followed by one selection computation for all that were queued. Drags of
// the same row that queue up meanwhile collapse into the last.
#include <cstdint>
#include <string>

#include "platform/command_queue.h"

namespace vlm {
struct EngineState;
}

namespace vlm::selector {

struct Edit {
  enum class Kind : uint8_t {
    Menu,     // a: the command
    Range,    // low, high
    Item,     // a: the entry, negative for "*** ALL ***"
    Value,    // a: the entry clicked on a Samples row
    Current,  // a: the value; makes the row current
    Key,      // a: the virtual key; text: what it types
    EditBox,  // text, text2, text3: Min, Max, Distance
    Refresh,  // no change: the window wants every row
  };
  Kind kind = Kind::Menu;
  int32_t field = -1;
  int32_t method = -1;  // the row's method the edit was made for; -1 any
  int32_t a = 0;
  double low = 0.0, high = 0.0;
  std::string text, text2, text3;
  uint32_t generation = 0;  // the table the window showed; 0 the current one
  uint32_t sequence = 0;    // the window's count of its edits of this row
};

// Queues the edit and asks the engine thread to apply it; without an engine
// thread it is applied at once. Returns 1 when queued or applied.
int queueEdit(EngineState& state, Edit edit);

// Applies one edit under the data lock (no computation); true when the query changed.
bool applyEdit(EngineState& state, const Edit& edit);

// CMD_SELECTOR_EDIT: every queued edit, then one selection computation.
void onSelectorEdit(EngineState& state, const platform::Command& command);

// Play: the play flag set to a new run, HM_BUSY (1), the first step posted.
void startPlay(EngineState& state, int32_t field);
// Any click in the window, and the window closing: the play flag cleared and
// HM_BUSY (0) when something was playing.
void stopPlay(EngineState& state);
// CMD_PLAY_SLIDER (wParam the field, lParam the run): one step of an open
// window's Item row, and the next step 500 ms later while the run goes on.
void onPlaySlider(EngineState& state, const platform::Command& command);

}  // namespace vlm::selector
