#pragma once
// Where the engine core and the data sources reach the tools (Selector,
// Calculator) without depending on them. The tools install their functions
// once, with the command handlers; an empty function means "no tool there".
#include <functional>

namespace vlm {

struct EngineState;

struct ToolHooks {
  // A load has stored its rows and analysed their distinct values; runs under
  // the data lock on the loading thread. Without it every sample is selected.
  std::function<void(EngineState&)> tableLoaded;
  // A selection computation ended; runs under the data lock on whatever
  // thread computed, so it may only post (the Calculator recalculates on the
  // host thread).
  std::function<void(EngineState&)> selectionChanged;
};

ToolHooks& toolHooks();

}  // namespace vlm
