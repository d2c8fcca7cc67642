#include "host/virtual_keys.h"

#include <QKeyEvent>

namespace vlm::host {
namespace {

// The digits with Shift held on the common layouts, back to their key.
int unshiftedDigit(int key) {
  switch (key) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: case Qt::Key_QuoteDbl: return '2';
    case Qt::Key_NumberSign: case Qt::Key_section: return '3';
    default: return 0;
  }
}

}  // namespace

int virtualKeyOf(const QKeyEvent& e) {
  const int key = e.key();
  const bool keypad = (e.modifiers() & Qt::KeypadModifier) != 0;
  if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + (key - Qt::Key_0);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key;  // '0'..'9'
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;  // 'A'..'Z'
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
  if (const int digit = unshiftedDigit(key)) return digit;
  switch (key) {
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return: case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Backspace: return 0x08;
    default: return 0;
  }
}

}  // namespace vlm::host
