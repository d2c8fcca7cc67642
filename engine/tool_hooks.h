#pragma once
// Where the engine core and the data sources reach the tools (Selector,
// Calculator) without depending on them. The tools install their functions
// once, with the command handlers; an empty function means "no tool there".
#include <functional>

namespace vlm {

struct EngineState;

struct ToolHooks {
  // A load has stored its rows and analysed their distinct values, before
  // tableLoaded: the Calculator fits its rows to the new fields, so that the
  // selection change the load makes calculates them once, on the new table.
  // Under the data lock on the loading thread.
  std::function<void(EngineState&)> fieldsLoaded;
  // A load has stored its rows and analysed their distinct values; runs under
  // the data lock on the loading thread. Without it every sample is selected,
  // which is a selection change like any other.
  std::function<void(EngineState&)> tableLoaded;
  // The selection flags changed (a Selector step, a click, a clear, an
  // inversion, a deletion); runs under the data lock on whatever thread made
  // the change, so it may only compute and post (the Calculator recalculates
  // and hands its rows to its window).
  std::function<void(EngineState&)> selectionChanged;
  // After tableLoaded, once the new samples are selected (the Calculator
  // shows its window again with the first data); under the data lock likewise.
  std::function<void(EngineState&)> selectionLoaded;
};

ToolHooks& toolHooks();

}  // namespace vlm
