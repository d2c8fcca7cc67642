#pragma once
// Where the engine core and the data sources tell the Calculator of changes
// without depending on it. The Calculator installs its functions once, with
// its command handler; an empty function means "no Calculator there". Both
// run under the data lock on the thread that made the change.
#include <functional>

namespace vlm {

struct EngineState;

struct CalculatorLink {
  // The selection flags changed (a click, a clear, an inversion, a deletion).
  std::function<void(EngineState&)> selectionChanged;
  // A load stored its rows and selected every sample.
  std::function<void(EngineState&)> tableLoaded;
};

CalculatorLink& calculatorLink();

}  // namespace vlm
