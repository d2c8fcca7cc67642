#pragma once
// The commands of the floating menus and the run-time mapping menus. Each runs
// on the host thread within the call that showed its menu: dialogs first, then
// the change to the model as an edit (tools/model_edit.h), then a rebuild.
#include <cstdint>

#include "tools/menus/floating_menu.h"

namespace vlm {
struct EngineState;
}

namespace vlm::tools {

void runMenuCommand(EngineState& state, const MenuTarget& target, int32_t id);

// Mapping options after a mapping menu's option command (Linear, Log N, Exp,
// Reverse, Positive); other ids leave them as they are.
uint8_t optionsAfterCommand(uint8_t options, int32_t id);

}  // namespace vlm::tools
