#include "tools/selector/selector_edits.h"

#include <chrono>
#include <deque>
#include <mutex>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/worker_thread.h"
#include "tools/selector/row_edits.h"
#include "tools/selector/selection_compute.h"
#include "tools/selector/selector_rules.h"
#include "tools/selector/selector_view.h"

namespace vlm::selector {
namespace {

constexpr auto kPlayStep = std::chrono::milliseconds(500);

struct Mailbox {
  std::mutex mutex;
  std::deque<Edit> edits;
  bool posted = false;  // a CMD_SELECTOR_EDIT is on its way
  int32_t playRuns = 0;
};

Mailbox& mailbox() {
  static Mailbox box;
  return box;
}

std::deque<Edit> takeEdits() {
  Mailbox& box = mailbox();
  std::lock_guard lock(box.mutex);
  std::deque<Edit> edits;
  edits.swap(box.edits);
  box.posted = false;
  return edits;
}

bool stale(const EngineState& state, const Edit& edit) {
  if (edit.generation != 0 && edit.generation != state.main->selector.tableGeneration.load()) return true;
  if (edit.field < 0 || edit.field >= state.data->fieldCount || edit.field >= kMaxFields) return true;
  return edit.method >= 0 && edit.method != state.data->fields[static_cast<size_t>(edit.field)].selector.method;
}

// Applies the edits and computes once; runs under the data lock.
void applyAll(EngineState& state, const std::deque<Edit>& edits) {
  bool changed = false;
  bool complete = false;
  for (const Edit& edit : edits) {
    if (edit.kind == Edit::Kind::Refresh) {
      complete = true;
      continue;
    }
    if (edit.field >= 0 && edit.field < state.data->fieldCount && edit.field < kMaxFields) {
      // The row is drawn again even when its query stays (or the edit came
      // too late to apply): the window echoed the edit and waits for the row
      // as it is.
      if (edit.sequence != 0) noteAppliedEdit(edit.field, edit.sequence);
      state.data->fields[static_cast<size_t>(edit.field)].selector.changed = true;
    }
    if (!stale(state, edit)) changed = applyEdit(state, edit) || changed;
  }
  if (changed)
    computeSelectionLocked(state, complete);
  else
    publishView(state, complete);
}

}  // namespace

int queueEdit(EngineState& state, Edit edit) {
  Mailbox& box = mailbox();
  bool post = false;
  {
    std::lock_guard lock(box.mutex);
    // A drag queues faster than rows are computed: only its last position counts.
    if (!box.edits.empty() && edit.kind == Edit::Kind::Range && box.edits.back().kind == Edit::Kind::Range &&
        box.edits.back().field == edit.field && box.edits.back().generation == edit.generation)
      box.edits.back() = std::move(edit);
    else
      box.edits.push_back(std::move(edit));
    post = !box.posted;
    box.posted = true;
  }
  if (!post) return 1;
  if (postEngine(state, CMD_SELECTOR_EDIT)) return 1;
  // No engine thread: apply here, as that thread would.
  std::deque<Edit> edits = takeEdits();
  platform::DataLockGuard guard(state.main->dataLock);
  applyAll(state, edits);
  return 1;
}

bool applyEdit(EngineState& state, const Edit& edit) {
  switch (edit.kind) {
    case Edit::Kind::Menu:
      if (edit.a == kCommandPlay) {
        startPlay(state, edit.field);
        return false;
      }
      return runMenuCommand(state, edit.a, edit.field);
    case Edit::Kind::Range:
      return setRange(state, edit.field, edit.low, edit.high);
    case Edit::Kind::Item:
      return setItem(state, edit.field, edit.a);
    case Edit::Kind::Value:
      return clickValue(state, edit.field, edit.a);
    case Edit::Kind::Current:
      setCurrent(state, edit.field, edit.a);
      return false;
    case Edit::Kind::Key:
      return pressKey(state, edit.field, edit.a, edit.text);
    case Edit::Kind::EditBox:
      return applyEditSelection(state, edit.field, edit.text, edit.text2, edit.text3);
    case Edit::Kind::Refresh:
      return false;
  }
  return false;
}

void onSelectorEdit(EngineState& state, const platform::Command&) {
  std::deque<Edit> edits = takeEdits();
  if (edits.empty()) return;
  platform::DataLockGuard guard(state.main->dataLock);
  applyAll(state, edits);
}

void startPlay(EngineState& state, int32_t field) {
  int32_t run = 0;
  {
    Mailbox& box = mailbox();
    std::lock_guard lock(box.mutex);
    run = ++box.playRuns;
    if (run <= 0) run = box.playRuns = 1;
  }
  state.main->selector.playing = run;
  postBusy(state, true);
  postEngine(state, CMD_PLAY_SLIDER, static_cast<uintptr_t>(static_cast<uint32_t>(field)),
             static_cast<uintptr_t>(run));
}

void stopPlay(EngineState& state) {
  if (state.main->selector.playing.exchange(0) != 0) postBusy(state, false);
}

void onPlaySlider(EngineState& state, const platform::Command& command) {
  const auto field = static_cast<int32_t>(static_cast<uint32_t>(command.wParam));
  const auto run = static_cast<int32_t>(command.lParam);
  SelectorRecord& r = state.main->selector;
  // A step of a run that was stopped or replaced does nothing.
  if (run == 0 || r.playing.load() != run) return;
  bool played = false;
  int32_t row = field;
  {
    platform::DataLockGuard guard(state.main->dataLock);
    // A number that names no field (the host's menu command passes its own
    // id) plays the current row.
    if (row < 0 || row >= state.data->fieldCount) row = r.currentRow;
    if (r.open.load() != 0 && advanceItem(state, row)) {
      played = true;
      computeSelectionLocked(state);
    }
  }
  if (!played) {
    // Nothing left to play (window closed, row changed): the run ends.
    int32_t expected = run;
    if (r.playing.compare_exchange_strong(expected, 0)) postBusy(state, false);
    return;
  }
  if (r.playing.load() == run)
    postEngineAfter(state, kPlayStep, CMD_PLAY_SLIDER, static_cast<uintptr_t>(static_cast<uint32_t>(row)),
                    command.lParam);
}

}  // namespace vlm::selector
