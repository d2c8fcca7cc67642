#include "tools/menus/floating_menu.h"

#include <string_view>

#include "engine/input/pick_names.h"
#include "engine/engine_state.h"
#include "model/association_lookup.h"
#include "sound/sound_menu_commands.h"
#include "tools/database_tree_commands.h"
#include "tools/host_widget.h"
#include "tools/menus/menu_commands.h"
#include "tools/menus/menu_ids.h"
#include "tools/menus/menu_tracker.h"
#include "tools/model_edit.h"
#include "tools/tool_services.h"
#include "tools/tools_state.h"

namespace vlm::tools {
namespace {

using namespace pick;

constexpr int32_t kTreeItemKindQuery = 23;

// The database tree names the menu of its items by their object's kind.
MenuTarget::Kind treeMenuKind(const char* menu, MenuTarget::Kind otherwise) {
  if (!menu) return otherwise;
  const std::string_view m(menu);
  if (m == "DB_Query") return MenuTarget::Kind::TreeQuery;
  if (m == "DB_Table") return MenuTarget::Kind::TreeTable;
  if (m == "DB_Node") return MenuTarget::Kind::TreeNode;
  return otherwise;
}

// Under the data lock.
void readMenuFields(EngineState& state) {
  const DataTable& table = *state.data;
  std::vector<std::string>& fields = toolsOf(state).menuFields;
  fields.clear();
  for (int32_t i = 0; i < table.fieldCount; ++i) fields.emplace_back(table.fields[static_cast<size_t>(i)].name);
}

}  // namespace

void rebuildMenus(EngineState& state) {
  tryWithLock(state, [](EngineState& s) { readMenuFields(s); });
}

MenuTarget floatingMenuTarget(int32_t name, int32_t selectedObjectType, int32_t selectedObjectIndex,
                              int32_t treeItemKind) {
  MenuTarget t;
  t.name = name;
  if (isSample(name)) {
    t.kind = MenuTarget::Kind::Data;
    t.sample = name;
    return t;
  }
  if (inRange(name, kColourScaleFirst, kColourScaleLast)) {
    t.kind = MenuTarget::Kind::Attribute;
    t.attribute = ATTRIB_COLOR;
    t.menu = runtimeMenuFor(ATTRIB_COLOR);
    return t;
  }
  if (inRange(name, kColourStopFirst, kColourStopLast)) {
    t.kind = MenuTarget::Kind::ColourEntry;
    t.attribute = ATTRIB_COLOR;
    t.entry = name - kColourStopFirst;
    return t;
  }
  if (inRange(name, kWaterLevel, 2000000299)) {
    const int32_t a = objectToAttribute(name, selectedObjectType, selectedObjectIndex);
    if (a > ATTRIB_NO && a < kAttributeCount) {
      t.kind = MenuTarget::Kind::Attribute;
      t.attribute = a;
      t.menu = runtimeMenuFor(a);
    }
    return t;  // the water level and names without an attribute: Space
  }
  if (inRange(name, kTreeFirst, kTreeLast)) {
    t.kind = MenuTarget::Kind::TreeNode;
    t.treeNode = (name - kTreeFirst) / 10;
    return t;
  }
  if (name >= kTableFirst && name < 2001000000) {
    t.treeItem = name - kTableFirst;
    const bool query = treeItemKind == kTreeItemKindQuery;
    t.kind = query ? MenuTarget::Kind::TreeQuery : MenuTarget::Kind::TreeTable;
    t.treeNode = query ? 1 : 0;
    return t;
  }
  return t;
}

Menu menuFor(const MenuTarget& t, const MenuView& view) {
  Menu menu;
  switch (t.kind) {
    case MenuTarget::Kind::Space: return resourceMenu(ResourceMenu::Space);
    case MenuTarget::Kind::ColourEntry: return resourceMenu(ResourceMenu::ColourEntry);
    case MenuTarget::Kind::TreeNode: return resourceMenu(ResourceMenu::DatabaseNode);
    case MenuTarget::Kind::TreeTable: return resourceMenu(ResourceMenu::DatabaseTable);
    case MenuTarget::Kind::TreeQuery: return resourceMenu(ResourceMenu::DatabaseQuery);
    case MenuTarget::Kind::Data:
      menu = resourceMenu(ResourceMenu::Data);
      setEnabled(menu, CMD_ID_GO_TO, view.sourceKind != DSK_CLIPBOARD && toolServices().jumpToServer != nullptr);
      return menu;
    case MenuTarget::Kind::Attribute:
      menu = runtimeMenu(t.menu, view.fields);
      if (view.attributeField >= 0) setChecked(menu, kFieldItemFirst + view.attributeField, true);
      if (t.menu == RuntimeMenu::Sound) setChecked(menu, view.effectItem, true);
      if (t.menu == RuntimeMenu::Voice) setChecked(menu, view.languageItem, true);
      return menu;
  }
  return menu;
}

int32_t showFloatingMenu(EngineState& state, int32_t name) {
  ToolsState& tools = toolsOf(state);
  const InputState& in = state.main->input;
  MenuView view;
  MenuTarget target = floatingMenuTarget(name, in.selectedObjectType, in.selectedObjectIndex, 0);
  const bool read = tryWithLock(state, [&](EngineState& s) {
    const DataTable& table = *s.data;
    readMenuFields(s);
    view.sourceKind = table.sourceKind;
    if (target.treeItem >= 0) target.kind = treeMenuKind(databaseTreeMenu(s, name), target.kind);
    if (target.kind == MenuTarget::Kind::Attribute)
      view.attributeField = attributeToField(s.model->associations, target.attribute);
  });
  if (!read) {
    // A load holds the table: the fields of the last look, the published source.
    std::lock_guard lock(state.main->source.mutex);
    view.sourceKind = state.main->source.description.kind;
  }
  view.fields = tools.menuFields;
  if (state.main->sound) {
    view.effectItem = checkedEffectCommand(state);
    view.languageItem = checkedLanguageCommand(state);
  }
  const int32_t id = trackMenu(menuFor(target, view), hostWidget(state));
  if (id != 0) runMenuCommand(state, target, id);
  return id;
}

}  // namespace vlm::tools
