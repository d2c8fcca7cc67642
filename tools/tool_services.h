#pragma once
// What the tools ask of the rest of the engine through its exported functions:
// the other tool windows, the data source and the model file. They are found by name in the loaded engine on first use; an empty
// one is a feature this build does not carry, and its command does nothing
// (its menu item is greyed where the menu shows one). Tests set them.
#include <cstdint>
#include <functional>

namespace vlm::tools {

struct ToolServices {
  std::function<void()> openSelector;
  std::function<bool()> isSelectorOn;
  std::function<void()> openCalculator;
  std::function<bool()> isCalculatorOn;
  std::function<void(int32_t sample)> jumpToServer;  // "Go To"
  std::function<void()> openModelDialog;             // the model file's open dialog
};

ToolServices& toolServices();

}  // namespace vlm::tools
