#include "tools/database_tree_commands.h"

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/worker_thread.h"
#include "scene/overlays/database_tree.h"

namespace vlm {
namespace {

constexpr int32_t kTreeEnd = 2000000400;  // nodes and scroll controls lie below
constexpr int32_t kItemsEnd = 2001000000;

// The node (0 tables, 1 queries) an element belongs to; -1 for none.
int32_t nodeOf(const EngineState& state, int32_t name) {
  if (name >= scene::kTreeNodeName && name < scene::kTreeScrollName) return (name - scene::kTreeNodeName) / 10 < 2 ? (name - scene::kTreeNodeName) / 10 : -1;
  if (name >= kTreeEnd && name < kItemsEnd) {
    const auto item = static_cast<size_t>(name - kTreeEnd);
    const auto& objects = state.data->accessObjects;
    if (item >= objects.size()) return -1;
    return objects[item].kind == 23 ? 1 : 0;
  }
  return -1;
}

}  // namespace

const char* databaseTreeMenu(const EngineState& state, int32_t name) {
  if (name >= scene::kTreeNodeName && name < kTreeEnd) return "DB_Node";
  if (name >= kTreeEnd && name < kItemsEnd) return nodeOf(state, name) == 1 ? "DB_Query" : "DB_Table";
  return nullptr;
}

bool runDatabaseTreeCommand(EngineState& state, int32_t command, int32_t name) {
  if (command == kMenuSelectObject) {
    if (name < kTreeEnd || name >= kItemsEnd) return false;
    return postData(state, CMD_LOAD, static_cast<uintptr_t>(name - kTreeEnd), 1);
  }
  if (command != kMenuExpand && command != kMenuCollapse) return false;
  const int32_t node = nodeOf(state, name);
  if (node < 0) return false;
  DatabaseTreeState& tree = state.model->scene.tree;
  bool& expanded = tree.expanded[static_cast<size_t>(node)];
  const bool want = command == kMenuExpand;
  if (expanded == want) return false;
  expanded = want;
  tree.scroll = 0;
  state.view->view.cacheValid[CACHE_LEGEND] = false;
  return true;
}

}  // namespace vlm
