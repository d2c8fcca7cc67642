#include <mutex>

#include "engine/commands/bare_context.h"
#include "engine/commands/handler_table.h"

namespace vlm {

void registerAllHandlers() {
  static std::once_flag once;
  std::call_once(once, [] { registerBareContextHandlers(); });
}

}  // namespace vlm
