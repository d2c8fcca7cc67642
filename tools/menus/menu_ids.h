#pragma once
// Command ids of the popup menus. Field items are kFieldItemFirst + field index.
#include <cstdint>

namespace vlm::tools {

enum MenuCommand : int32_t {
  // the space and data menus, and commands the floating menu carries out for the host
  CMD_ID_LABELS_CYCLE = 61020,
  CMD_ID_LABELS_ALL = 61021,
  CMD_ID_LABELS_ON = 61022,
  CMD_ID_LABELS_OFF = 61023,
  CMD_ID_WATER_LEVEL = 61040,
  CMD_ID_MAKE_HORIZONTAL = 61050,
  CMD_ID_MAKE_VERTICAL = 61051,
  CMD_ID_SCALE_IDENTICAL = 61055,
  CMD_ID_DESELECT_ALL = 61065,
  CMD_ID_INVERT_SELECTION = 61066,
  CMD_ID_OPEN_SELECTOR = 61070,
  // the Selector menus
  CMD_ID_RANGE_SLIDER = 61071,
  CMD_ID_ITEM_SLIDER = 61072,
  CMD_ID_SAMPLES = 61073,
  CMD_ID_SUBSTRING = 61074,
  CMD_ID_ALL = 61075,
  CMD_ID_NONE = 61076,
  CMD_ID_SINGLE = 61078,
  CMD_ID_MULTIPLE = 61079,
  CMD_ID_PLAY_SLIDER = 61081,
  // mapping
  CMD_ID_RESET = 61091,
  CMD_ID_ROTATE_FIELD = 61092,
  CMD_ID_LINEAR = 61093,
  CMD_ID_LOGN = 61094,
  CMD_ID_EXP = 61095,
  CMD_ID_REVERSE = 61096,
  CMD_ID_POSITIVE = 61097,
  CMD_ID_GO_TO = 61130,
  CMD_ID_DELETE = 61144,
  CMD_ID_SETUP = 61170,
  CMD_ID_GRID = 61171,
  // colour
  CMD_ID_ADD_POINT = 61200,
  CMD_ID_SET_COLOUR = 61201,
  CMD_ID_SET_VALUE = 61202,
  CMD_ID_REMOVE_POINT = 61203,
  CMD_ID_CONTINUOUS = 61205,
  CMD_ID_CATEGORICAL = 61206,
  CMD_ID_RAMP_FIRST = 61210,  // + named ramp index 0..12
  CMD_ID_RAMP_LAST = 61222,
  // sound and voice
  CMD_ID_EFFECT_FIRST = 61230,  // + effect 0..5
  CMD_ID_EFFECT_LAST = 61235,
  CMD_ID_LANGUAGE_FIRST = 61240,  // + language 0..10
  CMD_ID_LANGUAGE_LAST = 61250,
  // the database tree
  CMD_ID_EXPAND = 61270,
  CMD_ID_COLLAPSE = 61271,
  CMD_ID_SELECT_TABLE = 61272,
  // labels
  CMD_ID_LABEL_FONT = 61281,
  CMD_ID_LABEL_3D = 61284,
  CMD_ID_DEPTH_FIRST = 61286,  // + depth 0..5
  CMD_ID_DEPTH_LAST = 61291,
  CMD_ID_LABEL_COLOUR = 61292,
  CMD_ID_COLOUR_BY_OBJECT = 61293,
  // the Calculator menu
  CMD_ID_CALC_DEFAULT = 61321,
  CMD_ID_CALC_SPEAK = 61325,
  CMD_ID_CALC_REMOVE_ALL = 61330,
  CMD_ID_CALC_REMOVE_THIS = 61331,
  CMD_ID_CALC_REMOVE_VARIABLE = 61332,
  CMD_ID_CALC_COUNT = 61340,
  CMD_ID_CALC_PERCENT = 61341,
  CMD_ID_CALC_MIN = 61342,
  CMD_ID_CALC_MAX = 61343,
  CMD_ID_CALC_SUM = 61344,
  CMD_ID_CALC_AVERAGE = 61345,
  // the Grid menu's own item
  CMD_ID_CLOSE_GRID = 40125,
};

constexpr int32_t kFieldItemFirst = 61350;
// Field items reach at most this far (2048 fields).
constexpr int32_t kFieldItemLast = kFieldItemFirst + 2047;

constexpr bool isFieldItem(int32_t id) { return id >= kFieldItemFirst && id <= kFieldItemLast; }

}  // namespace vlm::tools
