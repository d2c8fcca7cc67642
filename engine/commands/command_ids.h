#pragma once
// Numbers of the engine commands (1024 + N) and of the host messages.
#include <cstdint>

namespace vlm {

enum EngineCommand : int32_t {
  CMD_UPDATE_VIEW = 1024 + 101,
  CMD_ANIMATE = 1024 + 102,
  CMD_PLAY_SLIDER = 1024 + 103,
  CMD_SELECTOR_EDIT = 1024 + 104,  // applies the Selector window's queued edits
  CMD_CALCULATOR_EDIT = 1024 + 105,  // Calculator changes that found the data lock taken
  CMD_OPEN_WINDOW = 1024 + 110,
  CMD_CLOSE_WINDOW = 1024 + 111,
  CMD_RESIZE = 1024 + 112,
  CMD_SET_STEREO = 1024 + 113,
  CMD_SET_RENDER_QUALITY = 1024 + 120,
  CMD_SET_DEFAULT_COLOR_MODEL = 1024 + 121,
  CMD_GRID_SET_COLOR = 1024 + 122,
  CMD_DO_THIS = 1024 + 130,
  CMD_COPY_IMAGE = 1024 + 190,
  CMD_SAVE_IMAGE = 1024 + 191,
  CMD_PRINT_IMAGE = 1024 + 192,
  CMD_DRAW_SCENE = 1024 + 200,
  CMD_DRAW_ANTIALIASED = 1024 + 203,
  CMD_CREATE_TEXTURES = 1024 + 210,
  CMD_DELETE_TEXTURES = 1024 + 211,
  CMD_LOAD_TEXTURE_FILE = 1024 + 212,
  CMD_UPDATE_MODEL = 1024 + 230,
  CMD_CREATE_DEFAULT_MODEL = 1024 + 231,
  CMD_RESET_POSITION_SCALES = 1024 + 232,
  CMD_BUTTON_DOWN = 1024 + 240,
  CMD_BUTTON_UP = 1024 + 241,
  CMD_DOUBLE_CLICK = 1024 + 242,
  CMD_MOUSE_MOVE = 1024 + 244,
  CMD_MOUSE_WHEEL = 1024 + 245,
  CMD_MOUSE_HOVER = 1024 + 246,
  CMD_MOUSE_LEAVE = 1024 + 247,
  CMD_KEY_DOWN = 1024 + 250,
  CMD_KEY_UP = 1024 + 251,
  // The selection operations run here, under the data lock, so that a load on
  // the data thread never resizes the flags under them.
  CMD_SELECT_OBJECT = 1024 + 270,
  CMD_CLEAR_SELECTION = 1024 + 271,
  CMD_INVERT_SELECTION = 1024 + 272,
  CMD_DELETE_SELECTED = 1024 + 273,
  // Edits of the popup menus and tool windows that found the data lock taken
  // run here once its holder lets go, so the host thread never waits for it.
  CMD_RUN_TOOL_EDITS = 1024 + 290,
};

enum DataCommand : int32_t {
  CMD_QUIT_DATA_THREAD = 1024 + 100,
  CMD_INIT_CONNECTION = 1024 + 140,
  CMD_CLOSE_CONNECTION = 1024 + 141,
  CMD_LOAD = 1024 + 145,
  CMD_EXCEL_START = 1024 + 150,
  CMD_EXCEL_OPEN = 1024 + 151,
  CMD_EXCEL_QUIT = 1024 + 152,
  CMD_JUMP_EXCEL = 1024 + 153,
  CMD_SWITCH_EXCEL = 1024 + 154,
  CMD_CHECK_EXCEL = 1024 + 155,
  CMD_ACCESS_START = 1024 + 160,
  CMD_ACCESS_OPEN = 1024 + 161,
  CMD_ACCESS_QUIT = 1024 + 162,
  CMD_JUMP_ACCESS = 1024 + 163,
  CMD_SWITCH_ACCESS = 1024 + 164,
  CMD_OPEN_FILE = 1024 + 170,
  // Reads the current database object again, only the Selector's selection.
  CMD_LOAD_SELECTION = 1024 + 171,
  CMD_OPEN_MODEL = 1024 + 220,
  CMD_APPLY_MODEL = 1024 + 221,
  CMD_INIT_SPEECH = 1024 + 260,
  CMD_CLOSE_SPEECH = 1024 + 261,
  CMD_SPEECH_LANGUAGE = 1024 + 262,
  CMD_SPEECH_WAIT = 1024 + 263,
  CMD_SPEAK = 1024 + 264,
  CMD_SPEAK_WAIT = 1024 + 265,
  CMD_CONFIRM_DATA_SELECTION = 1024 + 282,
};

// CMD_LOAD's lParam for a load of the object on view whose rows are new to the
// Load Control (its selection only): it asks again when they are too many.
constexpr uintptr_t kLoadNewRows = 2;

// Input commands are never reordered by coalescing.
constexpr bool isInputCommand(int32_t number) {
  return number >= CMD_BUTTON_DOWN && number <= CMD_KEY_UP;
}

}  // namespace vlm
