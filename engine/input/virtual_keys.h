#pragma once
// Virtual key codes of the key commands (the host translates its key events).
namespace vlm {

enum VirtualKey : int {
  VK_KEY_SHIFT = 0x10,
  VK_KEY_CONTROL = 0x11,
  VK_KEY_ESCAPE = 0x1B,
  VK_KEY_PRIOR = 0x21,  // Page Up
  VK_KEY_NEXT = 0x22,   // Page Down
  VK_KEY_END = 0x23,
  VK_KEY_HOME = 0x24,
  VK_KEY_LEFT = 0x25,
  VK_KEY_UP = 0x26,
  VK_KEY_RIGHT = 0x27,
  VK_KEY_DOWN = 0x28,
  VK_KEY_DELETE = 0x2E,
  VK_KEY_NUMPAD1 = 0x61,
  VK_KEY_NUMPAD2 = 0x62,
  VK_KEY_NUMPAD3 = 0x63,  // Page Down on the keypad
  VK_KEY_NUMPAD4 = 0x64,
  VK_KEY_NUMPAD6 = 0x66,
  VK_KEY_NUMPAD8 = 0x68,
  VK_KEY_NUMPAD9 = 0x69,
};

}  // namespace vlm
