#include "host/window_settings.h"

#include <cstdint>

#include "engine/vlmapi.h"

namespace vlm::host {
namespace {

int readInt(const char* name, int fallback) {
  return static_cast<int>(static_cast<int32_t>(vlm_ReadHostDword(name, static_cast<uint32_t>(fallback))));
}

void writeInt(const char* name, int value, int fallback = 0) {
  vlm_WriteHostDword(name, static_cast<uint32_t>(value), static_cast<uint32_t>(fallback));
}

}  // namespace

WindowPlacement readPlacement(int desktopWidth, int desktopHeight) {
  WindowPlacement p;
  p.x = readInt("WinPosX", 0);
  p.y = readInt("WinPosY", 0);
  p.width = readInt("WinSizeX", desktopWidth);
  p.height = readInt("WinSizeY", desktopHeight);
  p.maximised = readInt("WinMaximized", 0) != 0;
  return p;
}

void writePlacement(const WindowPlacement& p, bool minimised) {
  if (p.maximised || minimised) {
    writeInt("WinMaximized", 1);
    return;
  }
  writeInt("WinMaximized", 0);
  writeInt("WinPosX", p.x < 0 ? 0 : p.x);
  writeInt("WinPosY", p.y < 0 ? 0 : p.y);
  writeInt("WinSizeX", p.width < 25 ? 800 : p.width);
  writeInt("WinSizeY", p.height < 25 ? 600 : p.height);
}

int readToolbarStyle() { return readInt("ToolbarFull", 0) != 0 ? 1 : 0; }

void writeToolbarStyle(int style) { writeInt("ToolbarFull", style, 1); }

}  // namespace vlm::host
