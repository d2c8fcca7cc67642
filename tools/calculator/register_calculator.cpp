// The Calculator's engine command and the links the engine core calls.
#include "engine/calculator_link.h"
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "tools/calculator/calculator.h"

namespace vlm {

void registerCalculatorHandlers() {
  engineHandlers().set(CMD_CALCULATOR_EDIT, &calculator::onCalculatorEdit);
  calculatorLink().selectionChanged = &calculator::selectionChangedLocked;
  calculatorLink().tableLoaded = &calculator::tableLoadedLocked;
}

}  // namespace vlm
