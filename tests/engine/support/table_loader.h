#pragma once
// Fills the engine's data table from columns of cell texts, as a loader would.
#include <string>
#include <vector>

namespace vlm {
struct EngineState;
namespace test {

struct Column {
  std::string name;
  std::vector<std::string> cells;
};

// Clears the table and loads the columns (all of the same length) under the data lock.
void loadTable(EngineState& state, const std::vector<Column>& columns, int sourceKind = 3);

}  // namespace test
}  // namespace vlm
