#pragma once
// Messages from the engine to the host main window (WM_APP based numbers).
//
// Counts travel in full: where a message carries two numbers they are the
// wParam and lParam themselves (pointer-sized), never packed into 16-bit halves.
#include <cstdint>

namespace vlm {

enum HostMessage : uint32_t {
  HM_PROGRESS_BEGIN = 0x8065,       // wParam first value, lParam last value; text: status text
  HM_PROGRESS_STEP = 0x8066,        // wParam current value
  HM_PROGRESS_END = 0x8067,
  HM_HITS = 0x8068,                 // see HitCounts
  HM_BUSY = 0x8069,                 // wParam 1 busy, 0 idle
  HM_SHOW_FLOATING_MENU = 0x806A,   // sent; wParam pick name
  HM_SHOW_SELECTOR_MENU = 0x806C,   // sent
  HM_SHOW_CALCULATOR_MENU = 0x806D, // sent
  HM_SHOW_GRID_MENU = 0x806E,       // sent
  HM_REFRESH = 0x8070,
  HM_RECENT_FILE = 0x8071,          // text: the file name
  HM_LAYOUT = 0x8072,               // wParam 1 toolbar style (lParam 0/1), 2 window placement
};

}  // namespace vlm
