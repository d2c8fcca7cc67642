#include "engine/engine_state.h"

namespace vlm {
namespace {
std::mutex g_stateMutex;
std::shared_ptr<EngineState> g_state;
}  // namespace

std::shared_ptr<EngineState> currentState() {
  std::lock_guard lock(g_stateMutex);
  return g_state;
}

void setCurrentState(std::shared_ptr<EngineState> state) {
  std::lock_guard lock(g_stateMutex);
  g_state = std::move(state);
}

}  // namespace vlm
