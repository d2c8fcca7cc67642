#pragma once
// The position and key flags packed into a mouse command.
#include <cstdint>

#include "platform/command_queue.h"

namespace vlm {

struct MouseEvent {
  int32_t flags = 0;
  int16_t x = 0, y = 0;
};

inline MouseEvent mouseEventOf(const platform::Command& c) {
  MouseEvent e;
  e.flags = static_cast<int32_t>(c.wParam);
  e.x = static_cast<int16_t>(c.lParam & 0xFFFF);
  e.y = static_cast<int16_t>((c.lParam >> 16) & 0xFFFF);
  return e;
}

inline uintptr_t packMousePosition(int x, int y) {
  return (static_cast<uintptr_t>(static_cast<uint16_t>(y)) << 16) | static_cast<uint16_t>(x);
}

}  // namespace vlm
