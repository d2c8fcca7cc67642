#include "tools/menus/menu_tables.h"

#include "model/association.h"
#include "tools/menus/menu_ids.h"

namespace vlm::tools {
namespace {

using K = MenuRow::Kind;

constexpr MenuRow cmd(int32_t id, const char* text) { return {K::Command, id, text, {}}; }
constexpr MenuRow sep() { return {K::Separator, 0, "", {}}; }
constexpr MenuRow sub(const char* text, std::span<const MenuRow> rows) { return {K::Submenu, 0, text, rows}; }
constexpr MenuRow fields() { return {K::Fields, 0, "", {}}; }
constexpr MenuRow fieldsSub(const char* text) { return {K::FieldsSubmenu, 0, text, {}}; }

// The menu resource.
constexpr MenuRow kSpace[] = {cmd(CMD_ID_GRID, "Grid ..."), cmd(CMD_ID_SETUP, "Setup ...")};
constexpr MenuRow kData[] = {cmd(CMD_ID_GO_TO, "Go To"), sep(), cmd(CMD_ID_GRID, "Grid ..."),
                             cmd(CMD_ID_SETUP, "Setup ...")};
#define SELECTOR_ROWS                                                                              \
  cmd(CMD_ID_RANGE_SLIDER, "Range Slider"), cmd(CMD_ID_ITEM_SLIDER, "Item Slider"),               \
      cmd(CMD_ID_SAMPLES, "Samples"), cmd(CMD_ID_SUBSTRING, "Substring"), sep(), cmd(CMD_ID_ALL, "All"), \
      cmd(CMD_ID_NONE, "None")
constexpr MenuRow kSelector[] = {SELECTOR_ROWS};
constexpr MenuRow kSelectorSamples[] = {SELECTOR_ROWS, sep(), cmd(CMD_ID_SINGLE, "Single"),
                                        cmd(CMD_ID_MULTIPLE, "Multiple")};
constexpr MenuRow kSelectorItems[] = {SELECTOR_ROWS, sep(), cmd(CMD_ID_PLAY_SLIDER, "Play Slider")};
#undef SELECTOR_ROWS
constexpr MenuRow kColourEntry[] = {cmd(CMD_ID_SET_COLOUR, "Set &Color"), cmd(CMD_ID_SET_VALUE, "Set &Value"), sep(),
                                    cmd(CMD_ID_REMOVE_POINT, "&Remove Point")};
constexpr MenuRow kDatabaseNode[] = {cmd(CMD_ID_EXPAND, "&Expand"), cmd(CMD_ID_COLLAPSE, "&Collapse")};
constexpr MenuRow kDatabaseTable[] = {cmd(CMD_ID_SELECT_TABLE, "&Select Table"), sep(), cmd(CMD_ID_EXPAND, "&Expand"),
                                      cmd(CMD_ID_COLLAPSE, "&Collapse")};
constexpr MenuRow kDatabaseQuery[] = {cmd(CMD_ID_SELECT_TABLE, "&Select Query"), sep(), cmd(CMD_ID_EXPAND, "&Expand"),
                                      cmd(CMD_ID_COLLAPSE, "&Collapse")};
constexpr MenuRow kGrid[] = {cmd(CMD_ID_GRID, "Grid ..."), cmd(CMD_ID_SETUP, "Setup ..."),
                             cmd(CMD_ID_CLOSE_GRID, "Close Grid")};

struct ResourceEntry {
  const char* name;
  std::span<const MenuRow> rows;
};
constexpr ResourceEntry kResource[kResourceMenuCount] = {
    {"Space", kSpace},           {"Data", kData},
    {"Selector", kSelector},     {"SEL_Samples", kSelectorSamples},
    {"SEL_Items", kSelectorItems}, {"CLR_Entry", kColourEntry},
    {"DB_Node", kDatabaseNode},  {"DB_Table", kDatabaseTable},
    {"DB_Query", kDatabaseQuery}, {"Grid", kGrid},
};

// The run-time menus.
#define RESET_AND_ROTATE cmd(CMD_ID_RESET, "&Reset            DEL"), cmd(CMD_ID_ROTATE_FIELD, "&Rotate Field    TAB")
#define MAPPING_ROWS                                                                                   \
  fieldsSub("Map Data"), cmd(CMD_ID_LINEAR, "Linear"), cmd(CMD_ID_LOGN, "Log N"), cmd(CMD_ID_EXP, "Exp"), sep(), \
      cmd(CMD_ID_REVERSE, "Reverse"), cmd(CMD_ID_POSITIVE, "Positive")
constexpr MenuRow kMapping[] = {MAPPING_ROWS, RESET_AND_ROTATE};
constexpr MenuRow kAxisMapping[] = {MAPPING_ROWS,
                                    cmd(CMD_ID_MAKE_HORIZONTAL, "Make Horizontal"),
                                    cmd(CMD_ID_MAKE_VERTICAL, "Make Vertical"),
                                    cmd(CMD_ID_SCALE_IDENTICAL, "Scale Identical"),
                                    RESET_AND_ROTATE};
#undef MAPPING_ROWS

constexpr MenuRow kColourMapping[] = {cmd(CMD_ID_CONTINUOUS, "&Continuous"), cmd(CMD_ID_CATEGORICAL, "C&ategorical")};
constexpr MenuRow kColourRamps[] = {
    cmd(61211, "&Spectrum"),     cmd(61210, "Spectrum &Inverted"), cmd(61212, "&Blue - Red"),
    cmd(61213, "Blue - Green"),  cmd(61214, "Blue - Yellow"),      cmd(61215, "&Red - Blue"),
    cmd(61216, "Red - Green"),   cmd(61217, "Red - Yellow"),       cmd(61218, "&Green - Red"),
    cmd(61219, "Green - Yellow"), cmd(61220, "&Black - White"),    cmd(61221, "Black - Red"),
    cmd(61222, "Black - Green"),
};
constexpr MenuRow kColour[] = {fieldsSub("Map Data"),
                               sub("Color Mapping", kColourMapping),
                               sub("Color Ramps", kColourRamps),
                               cmd(CMD_ID_ADD_POINT, "Add &New Point"),
                               cmd(CMD_ID_RESET, "&Reset"),
                               cmd(CMD_ID_ROTATE_FIELD, "&Rotate Field    TAB")};

constexpr MenuRow kDepths[] = {cmd(61286, "&0"), cmd(61287, "&1"), cmd(61288, "&2"),
                               cmd(61289, "&3"), cmd(61290, "&4"), cmd(61291, "&5")};
constexpr MenuRow kLabels[] = {fields(),
                               sep(),
                               cmd(CMD_ID_LABEL_FONT, "&Font && Size"),
                               cmd(CMD_ID_LABEL_3D, "&3D"),
                               sub("3D &Depth", kDepths),
                               sep(),
                               cmd(CMD_ID_LABEL_COLOUR, "&Color"),
                               cmd(CMD_ID_COLOUR_BY_OBJECT, "&Color by Object"),
                               RESET_AND_ROTATE};

// Effect menu texts: "&Tick" plays the SELECT recording and "Ta&p" the TICK one.
constexpr MenuRow kEffects[] = {cmd(61230, "&Chord"),  cmd(61231, "Clic&X"), cmd(61232, "&Impact"),
                                cmd(61233, "&Blub"),   cmd(61234, "&Tick"),  cmd(61235, "Ta&p")};
constexpr MenuRow kSound[] = {fields(), sep(), sub("Sound Effect", kEffects), RESET_AND_ROTATE};

constexpr MenuRow kLanguages[] = {
    cmd(61240, "&American English"), cmd(61241, "&British English"), cmd(61242, "&Dutch"),
    cmd(61243, "&French"),           cmd(61244, "&German"),          cmd(61245, "&Italian"),
    cmd(61246, "&Japanese"),         cmd(61247, "&Korean"),          cmd(61248, "&Portuguese"),
    cmd(61249, "&Russian"),          cmd(61250, "&Spanish"),
};
constexpr MenuRow kVoice[] = {fields(), sep(), sub("Voice Language", kLanguages), RESET_AND_ROTATE};
#undef RESET_AND_ROTATE

constexpr MenuRow kCalcRemove[] = {cmd(CMD_ID_CALC_REMOVE_THIS, "&This"), cmd(CMD_ID_CALC_REMOVE_VARIABLE, "&Variable"),
                                   cmd(CMD_ID_CALC_REMOVE_ALL, "&All")};
constexpr MenuRow kCalcMethod[] = {cmd(CMD_ID_CALC_COUNT, "&Count"), cmd(CMD_ID_CALC_PERCENT, "&Percent"),
                                   cmd(CMD_ID_CALC_MIN, "&Min"),     cmd(CMD_ID_CALC_MAX, "Ma&x"),
                                   cmd(CMD_ID_CALC_SUM, "&Sum"),     cmd(CMD_ID_CALC_AVERAGE, "&Average")};
constexpr MenuRow kCalculator[] = {cmd(CMD_ID_CALC_DEFAULT, "&Default"),
                                   sub("&Remove", kCalcRemove),
                                   sep(),
                                   sub("Method", kCalcMethod),
                                   fieldsSub("Variable"),
                                   sep(),
                                   cmd(CMD_ID_CALC_SPEAK, "&Speak")};

struct RuntimeEntry {
  const char* name;
  std::span<const MenuRow> rows;
};
constexpr RuntimeEntry kRuntime[kRuntimeMenuCount] = {
    {"Mapping", kMapping}, {"Mapping", kAxisMapping}, {"Color", kColour},         {"Labels", kLabels},
    {"Sound", kSound},     {"Voice", kVoice},         {"Calculator", kCalculator},
};

}  // namespace

Menu resourceMenu(ResourceMenu which) {
  const ResourceEntry& e = kResource[static_cast<int32_t>(which)];
  return buildMenu(e.name, e.rows, {});
}

Menu runtimeMenu(RuntimeMenu which, const std::vector<std::string>& fieldNames) {
  const RuntimeEntry& e = kRuntime[static_cast<int32_t>(which)];
  return buildMenu(e.name, e.rows, fieldNames);
}

RuntimeMenu runtimeMenuFor(int32_t attribute) {
  switch (attribute) {
    case ATTRIB_COLOR: return RuntimeMenu::Colour;
    case ATTRIB_LABEL: return RuntimeMenu::Labels;
    case ATTRIB_TEXTURE:
    case ATTRIB_SOUND_FREQ:
    case ATTRIB_SOUND_VOLUME: return RuntimeMenu::Sound;
    case ATTRIB_SPEECH: return RuntimeMenu::Voice;
    default: return isAxisAttribute(attribute) ? RuntimeMenu::AxisMapping : RuntimeMenu::Mapping;
  }
}

}  // namespace vlm::tools
