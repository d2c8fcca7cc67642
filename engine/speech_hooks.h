#pragma once
// What other parts of the engine do when speech changes state: the Calculator
// drops its spoken row when speech cannot start, the menus rebuild the voice
// menu once it has started. Installed once at start, like the interaction
// hooks; an empty function does nothing. Both run on the host thread.
#include <functional>

namespace vlm {

struct EngineState;

struct SpeechHooks {
  std::function<void(EngineState&)> started;
  std::function<void(EngineState&)> startFailed;
};

SpeechHooks& speechHooks();

}  // namespace vlm
