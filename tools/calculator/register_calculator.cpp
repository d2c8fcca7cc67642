// The Calculator's engine command and the links the engine core calls.
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/speech_hooks.h"
#include "engine/tool_hooks.h"
#include "tools/calculator/calculator.h"
#include "tools/calculator/calculator_rows.h"

namespace vlm {

void registerCalculatorHandlers() {
  engineHandlers().set(CMD_CALCULATOR_EDIT, &calculator::onCalculatorEdit);
  toolHooks().selectionChanged = &calculator::selectionChangedLocked;
  toolHooks().fieldsLoaded = &calculator::fieldsLoadedLocked;
  toolHooks().selectionLoaded = &calculator::tableLoadedLocked;
  // Speech that cannot start speaks no row.
  speechHooks().startFailed = [](EngineState& state) {
    calculator::withLock(state, [](EngineState& s) {
      calculator::clearSpoken(s.main->calculator);
      if (s.main->calculator.open.load()) calculator::calculateLocked(s);
    });
  };
}

}  // namespace vlm
