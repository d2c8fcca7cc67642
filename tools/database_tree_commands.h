#pragma once
// The commands of the database tree's popup menus ("DB_Node", "DB_Table",
// "DB_Query"): expand or collapse a node, select a table or query and load it.
#include <cstdint>

namespace vlm {

struct EngineState;

constexpr int32_t kMenuExpand = 61270;
constexpr int32_t kMenuCollapse = 61271;
constexpr int32_t kMenuSelectObject = 61272;

// The menu of a tree element's pick name: "DB_Node" for a node or a scroll
// control, "DB_Table" or "DB_Query" for an item (by the object's kind);
// null for a name outside the tree.
const char* databaseTreeMenu(const EngineState& state, int32_t name);

// Runs a command of those menus for the element `name`. Expand and collapse
// change the node (an item's own node for an item) and mark the legend for
// redrawing; select loads the item's object whole (vlm_LoadDataTable(n, 1)).
// Returns true when something changed or a load was asked for. The caller
// holds the data lock for expand and collapse; select takes no lock.
bool runDatabaseTreeCommand(EngineState& state, int32_t command, int32_t name);

}  // namespace vlm
