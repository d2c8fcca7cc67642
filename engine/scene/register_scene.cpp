#include "engine/commands/handler_table.h"

namespace vlm {

// Installs the command handlers of this subsystem.
void registerSceneHandlers() {}

}  // namespace vlm
