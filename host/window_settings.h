#pragma once
// The main window's placement and toolbar style in the settings store.
namespace vlm::host {

struct WindowPlacement {
  int x = 0, y = 0, width = 0, height = 0;
  bool maximised = false;
};

// WinPosX, WinPosY (0), WinSizeX, WinSizeY (the desktop) and WinMaximized (0).
WindowPlacement readPlacement(int desktopWidth, int desktopHeight);
// Maximised or minimised: only WinMaximized = 1. Otherwise WinMaximized = 0
// and the rectangle, a width or height below 25 replaced by 800 or 600 and a
// negative x or y by 0.
void writePlacement(const WindowPlacement& p, bool minimised);

int readToolbarStyle();  // ToolbarFull: 0 small, 1 full
void writeToolbarStyle(int style);

}  // namespace vlm::host
