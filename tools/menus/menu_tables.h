#pragma once
// The popup menus: the ten submenus of the menu resource, addressed by
// position, and the menus built at run time with one item per field.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/menus/menu.h"

namespace vlm::tools {

enum class ResourceMenu : int32_t {
  Space = 0,
  Data = 1,
  Selector = 2,
  SelectorSamples = 3,
  SelectorItems = 4,
  ColourEntry = 5,
  DatabaseNode = 6,
  DatabaseTable = 7,
  DatabaseQuery = 8,
  Grid = 9,
};
constexpr int32_t kResourceMenuCount = 10;

enum class RuntimeMenu : int32_t {
  Mapping = 0,      // any attribute but those below
  AxisMapping = 1,  // the mapping menu of the three axes, with their view commands
  Colour = 2,
  Labels = 3,
  Sound = 4,        // texture and the two sound attributes
  Voice = 5,        // speech
  Calculator = 6,
};
constexpr int32_t kRuntimeMenuCount = 7;

Menu resourceMenu(ResourceMenu which);
Menu runtimeMenu(RuntimeMenu which, const std::vector<std::string>& fields);
// The run-time menu of an attribute's legend line or axis.
RuntimeMenu runtimeMenuFor(int32_t attribute);

}  // namespace vlm::tools
