#include "tools/menus/menu_commands.h"

#include <algorithm>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/host_link.h"
#include "engine/worker_thread.h"
#include "model/association_lookup.h"
#include "model/association_ops.h"
#include "model/color_dialogs.h"
#include "model/color_entries.h"
#include "model/color_lookup.h"
#include "model/color_ramps.h"
#include "model/colorref.h"
#include "model/space_settings_table.h"
#include "platform/message_box.h"
#include "sound/sound_menu_commands.h"
#include "tools/database_tree_commands.h"
#include "tools/grid/grid_edits.h"
#include "tools/grid/grid_window.h"
#include "tools/host_widget.h"
#include "tools/menus/menu_ids.h"
#include "tools/model_edit.h"
#include "tools/setup/setup_window.h"
#include "tools/tool_services.h"
#include "tools/tools_state.h"

namespace vlm::tools {
namespace {

void rebuild(EngineState& s) { postEngine(s, CMD_UPDATE_MODEL, 0); }
void redraw(EngineState& s) { postEngine(s, CMD_DRAW_SCENE); }

// --- the mapping menus ---

void associateFieldItem(EngineState& state, const MenuTarget& t, int32_t field) {
  // A menu shown while a load held the table lists the fields it had before;
  // the item binds only the field it showed.
  const std::vector<std::string>& shown = toolsOf(state).menuFields;
  std::string name = field >= 0 && static_cast<size_t>(field) < shown.size() ? shown[static_cast<size_t>(field)] : std::string();
  editModel(state, [a = t.attribute, menu = t.menu, field, name = std::move(name)](EngineState& s) {
    if (field < 0 || field >= s.data->fieldCount) return;  // an item of an older field list
    if (s.data->fields[static_cast<size_t>(field)].name != name) return;
    ModelContext ctx = modelContext(s);
    const Association* saved = attributeToPassSaved(ctx.associations, a);
    const int32_t options = saved ? saved->options : toolsOf(s).pendingOptions[static_cast<size_t>(menu)];
    associateFieldLocked(ctx, field, 0, a, -1, options);
    rebuild(s);
  });
}

void mappingOption(EngineState& state, const MenuTarget& t, int32_t id) {
  editModel(state, [a = t.attribute, menu = t.menu, id](EngineState& s) {
    ModelContext ctx = modelContext(s);
    const Association* saved = attributeToPassSaved(ctx.associations, a);
    if (!saved) {
      // No association yet: the options wait for the next one this menu makes.
      uint8_t& pending = toolsOf(s).pendingOptions[static_cast<size_t>(menu)];
      pending = optionsAfterCommand(pending != 0 ? pending : static_cast<uint8_t>(ctx.defaultOptions), id);
      return;
    }
    const int32_t field = saved->field;
    const int32_t categorical = isCategorical(*saved) ? 1 : 2;  // bit 0 is the flag kept
    const uint8_t options = optionsAfterCommand(saved->options, id);
    associateFieldLocked(ctx, field, categorical, a, -1, options);
    rebuild(s);
  });
}

void resetAttribute(EngineState& state, int32_t attribute) {
  editModel(state, [attribute](EngineState& s) {
    ModelContext ctx = modelContext(s);
    const int32_t index = attributeToAssociation(ctx.associations, attribute);
    if (index >= 0) deleteAssociationLocked(ctx, index);
    if (attribute == ATTRIB_COLOR) {
      applyNamedRamp(ctx, 0, -1, 0, -1);
      markUnsaved(ctx);
    }
    rebuild(s);
  });
}

void rotateAttribute(EngineState& state, int32_t attribute) {
  editModel(state, [attribute](EngineState& s) {
    ModelContext ctx = modelContext(s);
    rotateFieldLocked(ctx, attribute);
    rebuild(s);
  });
}

// --- the colour commands ---

struct ColourField {
  int32_t field = -1;
  int32_t type = 0;
};

ColourField colourFieldOf(const ModelContext& ctx) {
  ColourField c;
  const Association* saved = attributeToPassSaved(ctx.associations, ATTRIB_COLOR);
  if (saved && saved->field >= 0) {
    c.field = saved->field;
    c.type = saved->fieldType;
  }
  return c;
}

void setRampType(EngineState& state, int32_t type) {
  editModel(state, [type](EngineState& s) {
    ModelContext ctx = modelContext(s);
    ctx.colour.rampType = type;
    ctx.savedColour.rampType = type;
    markUnsaved(ctx);
    rebuild(s);
  });
}

void applyRamp(EngineState& state, int32_t ramp) {
  editModel(state, [ramp](EngineState& s) {
    ModelContext ctx = modelContext(s);
    const ColourField c = colourFieldOf(ctx);
    if (applyNamedRamp(ctx, ramp, c.field, c.type, -1)) markUnsaved(ctx);
    rebuild(s);
  });
}

void addPoint(EngineState& state) {
  const std::optional<std::string> text = askEntryValue(hostWidget(state), "");
  if (!text || text->empty()) return;
  editModel(state, [text = *text](EngineState& s) {
    ModelContext ctx = modelContext(s);
    const ColourField c = colourFieldOf(ctx);
    if (c.field < 0) return;
    // The new point takes the colour the ramp shows at its value, so the ramp
    // looks the same until the point is given a colour of its own.
    ColorEntry parsed;
    if (!parseEntryValue(ctx, c.field, c.type, text.c_str(), parsed)) return;
    const ColorModel& m = ctx.colour;
    const float v = entryValue(parsed, c.type);
    const float t = m.valueMax > m.valueMin ? std::clamp((v - m.valueMin) / (m.valueMax - m.valueMin), 0.0f, 1.0f) : 0.0f;
    float rgb[3] = {1.0f, 1.0f, 1.0f};
    colourOfValue(m, t, rgb);
    if (!addColourEntry(ctx, c.field, c.type, text.c_str(), rgb[0], rgb[1], rgb[2])) return;
    sortColourEntries(ctx.colour);
    copyColourToSaved(ctx);
    markUnsaved(ctx);
    rebuild(s);
  });
}

void setEntryColour(EngineState& state, int32_t entry) {
  std::optional<uint32_t> current;
  tryWithLock(state, [&](EngineState& s) {
    ModelContext ctx = modelContext(s);
    if (!canSetEntryColour(ctx, entry)) return;
    const ColorEntry& e = ctx.colour.entries[static_cast<size_t>(entry)];
    current = rgbToColorref(e.red, e.green, e.blue);
  });
  if (!current) return;  // no colour field, or no such entry
  const std::optional<uint32_t> chosen = chooseEntryColour(hostWidget(state), *current);
  if (!chosen) {
    redraw(state);
    return;
  }
  editModel(state, [entry, chosen](EngineState& s) {
    ModelContext ctx = modelContext(s);
    if (applyEntryColour(ctx, entry, chosen)) rebuild(s);
  });
}

void setEntryValue(EngineState& state, int32_t entry) {
  std::optional<std::string> current;
  tryWithLock(state, [&](EngineState& s) {
    ModelContext ctx = modelContext(s);
    if (canSetEntryValue(ctx, entry)) current = ctx.colour.entries[static_cast<size_t>(entry)].valueText;
  });
  if (!current) return;  // only entries between the first and the last move
  const std::optional<std::string> text = askEntryValue(hostWidget(state), *current);
  if (!text) return;
  editModel(state, [entry, text = *text](EngineState& s) {
    ModelContext ctx = modelContext(s);
    if (applyEntryValue(ctx, entry, text.c_str())) rebuild(s);
  });
}

void removePoint(EngineState& state, int32_t entry) {
  editModel(state, [entry](EngineState& s) {
    ModelContext ctx = modelContext(s);
    if (removeColourEntry(ctx, entry)) rebuild(s);
  });
}

// --- the label commands: each rebuilds the label font and the model ---

void labelEdit(EngineState& state, std::function<RowEffects(SpaceSettings&)> change) {
  editModel(state, [change = std::move(change)](EngineState& s) {
    RowEffects e = change(s.view->space);
    e.rebuildLabelFont = true;
    e.rebuildModel = true;
    applyRowEffects(s, e);
    refreshGridLater(s);  // the Grid shows the label rows too
  });
}

void labelFont(EngineState& state) {
  platform::FontChoice current;
  tryWithLock(state, [&](EngineState& s) { current = labelFontChoice(s.view->space); });
  const std::optional<platform::FontChoice> chosen = platform::chooseFont(hostWidget(state), current);
  if (!chosen) return;
  labelEdit(state, [font = *chosen](SpaceSettings& space) { return setLabelFont(space, font); });
}

void labelColour(EngineState& state) {
  uint32_t current = 0;
  tryWithLock(state, [&](EngineState& s) { current = s.view->space.rows[kRowLabelColor].colorref; });
  const std::optional<uint32_t> chosen = platform::chooseColour(hostWidget(state), current);
  if (!chosen) return;
  labelEdit(state, [c = *chosen](SpaceSettings& space) { return setColourRow(space, kRowLabelColor, c); });
}

// --- sound and voice: the sound subsystem's commands, which act only while
// the attribute has a field (read under the data lock) ---

void soundEffect(EngineState& state, const MenuTarget& t, int32_t id) {
  editModel(state, [a = t.attribute, id](EngineState& s) { runSoundMenuCommand(s, a, id); });
}

void voiceLanguage(EngineState& state, int32_t id) {
  editModel(state, [id](EngineState& s) { runVoiceMenuCommand(s, id); });
}

// --- the floating menu's own commands ---

void setLegend(EngineState& state, bool on, bool all) {
  ViewState& v = state.view->view;
  v.legendOn = on;
  state.model->scene.legend.showAllAttributes = all;
  v.cacheValid[CACHE_LEGEND] = false;
  redraw(state);
  postRefresh(state);
}

void cycleLegend(EngineState& state) {
  const bool on = state.view->view.legendOn;
  const bool all = state.model->scene.legend.showAllAttributes;
  if (!on)
    setLegend(state, true, false);
  else if (!all)
    setLegend(state, true, true);
  else
    setLegend(state, false, false);
}

void toggleWaterLevel(EngineState& state) {
  ViewState& v = state.view->view;
  const bool on = v.waterLevelState.load() == 0;
  v.waterLevelState = on ? 1 : 0;
  if (on) {
    editModel(state, [](EngineState& s) {
      s.view->space.rows[kRowAxes].value = 1;
      rebuild(s);
      refreshGridLater(s);
    });
  }
  postRefresh(state);
  redraw(state);
}

void deleteObjects(EngineState& state, int32_t sample) {
  if (state.model->selectedCount.load() == 0) {
    if (sample < 0) return;
    postEngine(state, CMD_SELECT_OBJECT, static_cast<uintptr_t>(static_cast<uint32_t>(sample)));
    postEngine(state, CMD_DELETE_SELECTED);
    postRefresh(state);
    return;
  }
  if (state.main->settings.asking) {
    platform::MessageBoxRequest box;
    box.caption = "Just to be sure...";
    box.text = "Do you want to delete the selected objects?\n\nYou can't revert this action.";
    box.icon = platform::BoxIcon::Question;
    box.buttons = platform::BoxButtons::YesNo;
    box.defaultButton = platform::BOX_NO;
    if (platform::showMessageBox(box) != platform::BOX_YES) return;
  }
  postEngine(state, CMD_DELETE_SELECTED);
  state.main->input.selectedObjectType = 0;
  postRefresh(state);
}

// The database tree's commands act on the element the menu was opened for.
// Loading a table or query takes no lock; expanding and collapsing change
// the tree under it.
static_assert(CMD_ID_EXPAND == kMenuExpand && CMD_ID_COLLAPSE == kMenuCollapse && CMD_ID_SELECT_TABLE == kMenuSelectObject);
void treeCommand(EngineState& state, int32_t id, int32_t name) {
  if (id == CMD_ID_SELECT_TABLE) {
    runDatabaseTreeCommand(state, id, name);
    return;
  }
  editModel(state, [id, name](EngineState& s) {
    if (!runDatabaseTreeCommand(s, id, name)) return;
    s.view->view.cacheValid[CACHE_DATABASE_TREE] = false;
    redraw(s);
  });
}

bool runFloatingCommand(EngineState& state, const MenuTarget& t, int32_t id) {
  const ToolServices& services = toolServices();
  switch (id) {
    case CMD_ID_LABELS_CYCLE: cycleLegend(state); return true;
    case CMD_ID_LABELS_ALL: setLegend(state, true, true); return true;
    case CMD_ID_LABELS_ON: setLegend(state, true, false); return true;
    case CMD_ID_LABELS_OFF: setLegend(state, false, false); return true;
    case CMD_ID_WATER_LEVEL: toggleWaterLevel(state); return true;
    case CMD_ID_DESELECT_ALL:
      state.main->input.selectionState = 0;
      postEngine(state, CMD_CLEAR_SELECTION);
      return true;
    case CMD_ID_INVERT_SELECTION: postEngine(state, CMD_INVERT_SELECTION); return true;
    case CMD_ID_OPEN_SELECTOR:
      if (services.openSelector) services.openSelector();
      return true;
    case CMD_ID_GO_TO:
      if (services.jumpToServer && t.sample >= 0) services.jumpToServer(t.sample);
      return true;
    case CMD_ID_DELETE: deleteObjects(state, t.sample); return true;
    case CMD_ID_SETUP: openSetup(state); return true;
    case CMD_ID_GRID: openGrid(state); return true;
    case CMD_ID_CLOSE_GRID: closeGrid(state); return true;
    case CMD_ID_EXPAND:
    case CMD_ID_COLLAPSE:
    case CMD_ID_SELECT_TABLE: treeCommand(state, id, t.name); return true;
    default: return false;
  }
}

bool runColourCommand(EngineState& state, const MenuTarget& t, int32_t id) {
  switch (id) {
    case CMD_ID_CONTINUOUS: setRampType(state, kRampContinuous); return true;
    case CMD_ID_CATEGORICAL: setRampType(state, kRampCategorical); return true;
    case CMD_ID_ADD_POINT: addPoint(state); return true;
    case CMD_ID_SET_COLOUR: setEntryColour(state, t.entry); return true;
    case CMD_ID_SET_VALUE: setEntryValue(state, t.entry); return true;
    case CMD_ID_REMOVE_POINT: removePoint(state, t.entry); return true;
    default: break;
  }
  if (id >= CMD_ID_RAMP_FIRST && id <= CMD_ID_RAMP_LAST) {
    applyRamp(state, id - CMD_ID_RAMP_FIRST);
    return true;
  }
  return false;
}

bool runLabelCommand(EngineState& state, int32_t id) {
  switch (id) {
    case CMD_ID_LABEL_FONT: labelFont(state); return true;
    case CMD_ID_LABEL_3D:
      labelEdit(state, [](SpaceSettings& space) { return toggleSwitchRow(space, kRowLabel3D); });
      return true;
    case CMD_ID_LABEL_COLOUR: labelColour(state); return true;
    case CMD_ID_COLOUR_BY_OBJECT:
      labelEdit(state, [](SpaceSettings& space) {
        space.rows[kRowLabelColorByObject].value = 1;
        return RowEffects{};
      });
      return true;
    default: break;
  }
  if (id >= CMD_ID_DEPTH_FIRST && id <= CMD_ID_DEPTH_LAST) {
    labelEdit(state, [depth = id - CMD_ID_DEPTH_FIRST](SpaceSettings& space) {
      return setSliderRow(space, kRowLabel3DDepth, depth);
    });
    return true;
  }
  return false;
}

bool runMappingCommand(EngineState& state, const MenuTarget& t, int32_t id) {
  if (isFieldItem(id)) {
    associateFieldItem(state, t, id - kFieldItemFirst);
    return true;
  }
  switch (id) {
    case CMD_ID_LINEAR:
    case CMD_ID_LOGN:
    case CMD_ID_EXP:
    case CMD_ID_REVERSE:
    case CMD_ID_POSITIVE: mappingOption(state, t, id); return true;
    case CMD_ID_MAKE_HORIZONTAL: postEngine(state, CMD_DO_THIS, 0, 1); return true;
    case CMD_ID_MAKE_VERTICAL: postEngine(state, CMD_DO_THIS, 0, 2); return true;
    case CMD_ID_SCALE_IDENTICAL: postEngine(state, CMD_DO_THIS, 0, 3); return true;
    case CMD_ID_RESET: resetAttribute(state, t.attribute); return true;
    case CMD_ID_ROTATE_FIELD: rotateAttribute(state, t.attribute); return true;
    default: break;
  }
  if (id >= CMD_ID_EFFECT_FIRST && id <= CMD_ID_EFFECT_LAST) {
    soundEffect(state, t, id);
    return true;
  }
  if (id >= CMD_ID_LANGUAGE_FIRST && id <= CMD_ID_LANGUAGE_LAST) {
    voiceLanguage(state, id);
    return true;
  }
  return false;
}

}  // namespace

uint8_t optionsAfterCommand(uint8_t options, int32_t id) {
  constexpr uint8_t kTransforms = MAP_LINEAR | MAP_LOGN | MAP_EXP;
  switch (id) {
    case CMD_ID_LINEAR: return static_cast<uint8_t>((options & ~kTransforms) | MAP_LINEAR);
    case CMD_ID_LOGN: return static_cast<uint8_t>((options & ~kTransforms) | MAP_LOGN);
    case CMD_ID_EXP: return static_cast<uint8_t>((options & ~kTransforms) | MAP_EXP);
    case CMD_ID_REVERSE: return static_cast<uint8_t>(options ^ MAP_INVERSE);
    case CMD_ID_POSITIVE: return static_cast<uint8_t>(options ^ MAP_POSITIVE);
    default: return options;
  }
}

void runMenuCommand(EngineState& state, const MenuTarget& t, int32_t id) {
  if (t.attribute > ATTRIB_NO && runMappingCommand(state, t, id)) return;
  if (runColourCommand(state, t, id)) return;
  if (runLabelCommand(state, id)) return;
  runFloatingCommand(state, t, id);
}

}  // namespace vlm::tools
