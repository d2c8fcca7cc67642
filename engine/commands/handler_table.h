#pragma once
// The command tables of the two worker threads. Each subsystem registers the
// handlers of its commands; a number without a handler is accepted and ignored.
#include <array>
#include <cstdint>

#include "platform/command_queue.h"

namespace vlm {

struct EngineState;

// Returns false when the command failed (only opening and stereo use it).
using CommandHandler = bool (*)(EngineState&, const platform::Command&);

class HandlerTable {
 public:
  void set(int32_t number, CommandHandler handler);
  CommandHandler find(int32_t number) const;

 private:
  static constexpr int kSlots = 512;
  std::array<CommandHandler, kSlots> handlers_{};
};

HandlerTable& engineHandlers();
HandlerTable& dataHandlers();

// Each subsystem's handler registration.
void registerSourceHandlers();
void registerSceneHandlers();
void registerPickingHandlers();
void registerCalculatorHandlers();
void registerModelFileHandlers();
void registerSelectorHandlers();
void registerSoundHandlers();
void registerToolHandlers();

// Installs every subsystem's handlers (once; later calls do nothing).
void registerAllHandlers();

}  // namespace vlm
