// The model file's data-thread commands.
#include "engine/commands/handler_table.h"

namespace vlm {

void registerModelFileHandlers() {}

}  // namespace vlm
