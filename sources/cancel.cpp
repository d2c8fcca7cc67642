#include "sources/cancel.h"

#include <chrono>
#include <thread>

#include "engine/camera/navigation.h"
#include "engine/engine_state.h"

namespace vlm {

void cancelAction(EngineState& state) {
  MainRecord& m = *state.main;
  m.abortFlag = 1;
  m.selector.playing = 0;  // a playing Item row stops at its next step
  if (m.input.animationOn.load()) stopAnimation(state);
  m.dataLock.waitFree();
  m.abortFlag = 1;
  // A loader between two locked steps gets the time to see the flag.
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  m.dataLock.waitFree();
  m.abortFlag = 1;
}

}  // namespace vlm
