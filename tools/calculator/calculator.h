#pragma once
// The Calculator's work on the engine side: its rows changed and calculated
// under the data lock, on whatever thread can have the lock at once, the
// results handed to the window.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/command_queue.h"

namespace vlm {
struct EngineState;
}

namespace vlm::calculator {

// Runs `work` under the data lock: at once when this thread holds the lock
// or can take it without waiting, otherwise on the engine thread as soon as
// the holder lets go (the host thread never waits for a load). Without an
// engine thread it waits for the lock here. True when it ran at once.
bool withLock(EngineState& state, std::function<void(EngineState&)> work);
// CMD_CALCULATOR_EDIT: every queued change.
bool onCalculatorEdit(EngineState& state, const platform::Command& command);

// Under the data lock: every row recalculated, the spoken row's result
// spoken, and the rows shown by an open window.
void calculateLocked(EngineState& state);
// vlm_CalculateNow.
void calculateNow(EngineState& state);
// Under the data lock, after a selection change: recalculates while the
// window is open.
void selectionChangedLocked(EngineState& state);
// Under the data lock, after a load stored its rows and before it selects
// them: the rows fitted to the new table (calculator_rows.h). The selection
// change that follows calculates them.
void fieldsLoadedLocked(EngineState& state);
// Under the data lock, once a load selected its rows: a Calculator shown
// when the program last ended is shown again with the first data.
void tableLoadedLocked(EngineState& state);

// A Calculator menu command on `row` (vlm_UpdateCalculator).
void updateCalculator(EngineState& state, int32_t command, int32_t row);

// How results are spoken: vlm_SpeakText and vlm_SpeakTextWait of the loaded
// engine when it has them. Tests put recorders in their place.
struct Speech {
  std::function<void(const std::string& text)> speak;
  std::function<void(const std::string& text, int32_t timeoutMs)> speakWait;
};
Speech& speech();

}  // namespace vlm::calculator
