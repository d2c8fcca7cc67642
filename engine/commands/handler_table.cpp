#include "engine/commands/handler_table.h"

namespace vlm {

void HandlerTable::set(int32_t number, CommandHandler handler) {
  const int32_t slot = number - platform::kCommandBase;
  if (slot >= 0 && slot < kSlots) handlers_[static_cast<size_t>(slot)] = handler;
}

CommandHandler HandlerTable::find(int32_t number) const {
  const int32_t slot = number - platform::kCommandBase;
  if (slot < 0 || slot >= kSlots) return nullptr;
  return handlers_[static_cast<size_t>(slot)];
}

HandlerTable& engineHandlers() {
  static HandlerTable table;
  return table;
}

HandlerTable& dataHandlers() {
  static HandlerTable table;
  return table;
}

}  // namespace vlm
