#pragma once
// The floating menu of the 3D view: which menu a pick name opens, what the
// menu shows (fields, check marks, greying), and the show-and-dispatch path
// that every popup menu of the engine follows on the host thread.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/menus/menu.h"
#include "tools/menus/menu_tables.h"

namespace vlm {
struct EngineState;
}

namespace vlm::tools {

// What a menu was opened for, and so what its commands act on.
struct MenuTarget {
  enum class Kind { Space, Data, Attribute, ColourEntry, TreeNode, TreeTable, TreeQuery };
  Kind kind = Kind::Space;
  int32_t name = -1;      // the pick name the menu was opened for
  int32_t attribute = 0;  // Attribute menus: the attribute
  RuntimeMenu menu = RuntimeMenu::Mapping;
  int32_t sample = -1;    // Data: the object's sample
  int32_t entry = -1;     // ColourEntry: the colour entry under the pointer
  int32_t treeNode = -1;  // the database tree node: 0 tables, 1 queries
  int32_t treeItem = -1;  // TreeTable, TreeQuery: the table or query
};

// The menu a pick name opens: objects the Data menu; legend lines, axes and
// their handles the run-time menu of their attribute (the colour bar the
// Color menu, a colour entry's text the CLR_Entry menu); the database tree's
// nodes DB_Node and its items DB_Table or DB_Query by their kind (21 table,
// 23 query); anything else the Space menu.
MenuTarget floatingMenuTarget(int32_t name, int32_t selectedObjectType, int32_t selectedObjectIndex,
                              int32_t treeItemKind);

// What the menus show that depends on the model, read when it can be read.
struct MenuView {
  std::vector<std::string> fields;
  int32_t attributeField = -1;  // the field bound to the target's attribute
  int32_t sourceKind = 0;       // DataSourceKind of the table
  int32_t effectItem = 0;       // the Sound Effect item of the current effect
  int32_t languageItem = 0;     // the Voice Language item of the current language
};

// The menu of a target with its check marks and greying.
Menu menuFor(const MenuTarget& target, const MenuView& view);

// Reads the field list of the run-time menus again when the table can be read
// without waiting (after a load, after speech starts); otherwise the next menu
// shown reads it. Host thread.
void rebuildMenus(EngineState& state);

// Shows the floating menu for a pick name at the pointer and carries out the
// chosen command within this call. Host thread. Returns the chosen id (0 none).
int32_t showFloatingMenu(EngineState& state, int32_t name);

}  // namespace vlm::tools
