#include "host/accelerators.h"

#include <QKeyEvent>

#include "host/command_ids.h"
#include "host/virtual_keys.h"

namespace vlm::host {
namespace {

enum Mods : unsigned { NONE = 0, CTRL = 1, SHIFT = 2, ALT = 4 };

struct Accelerator {
  int virtualKey;
  unsigned mods;
  int command;
};

constexpr Accelerator kTable[] = {
    {'Z', CTRL, ID_STOP},
    {'G', CTRL, ID_LEGEND},
    {'W', CTRL, ID_WATER_LEVEL},
    {0x09, NONE, ID_ROTATE_FIELD},
    {'L', CTRL, ID_LOAD},
    {0x76, CTRL | SHIFT | ALT, ID_LOAD},  // F7
    {'R', CTRL, ID_LOAD_WITH_CONTROL},
    {'A', CTRL, ID_GOTO},
    {'V', CTRL, ID_PASTE},
    {0x2D, SHIFT, ID_PASTE},
    {'C', CTRL, ID_IMAGE_COPY},
    {0x2D, CTRL, ID_IMAGE_COPY},
    {'N', CTRL, ID_NEW_MODEL},
    {'O', CTRL, ID_OPEN_MODEL},
    {'S', CTRL, ID_SAVE_MODEL_AS},
    {'1', CTRL, ID_SCATTER},
    {'2', CTRL, ID_BARS},
    {'3', CTRL, ID_TILES},
    {'1', CTRL | SHIFT | ALT, ID_LOAD_DEFAULT_1},
    {'2', CTRL | SHIFT | ALT, ID_LOAD_DEFAULT_2},
    {'3', CTRL | SHIFT | ALT, ID_LOAD_DEFAULT_3},
    {'I', CTRL, ID_INIT_POSITION},
    {'H', CTRL, ID_HELP},
    {0x70, NONE, ID_HELP},  // F1
    // Delete and Escape are keys of the 3D view: they remove the current
    // attribute's association. Deleting objects (61144) has no key.
};

unsigned modsOf(const QKeyEvent& e) {
  unsigned m = NONE;
  if (e.modifiers() & Qt::ControlModifier) m |= CTRL;
  if (e.modifiers() & Qt::ShiftModifier) m |= SHIFT;
  if (e.modifiers() & Qt::AltModifier) m |= ALT;
  return m;
}

}  // namespace

int acceleratorCommand(const QKeyEvent& e) {
  const int vk = virtualKeyOf(e);
  if (vk == 0 || (e.modifiers() & Qt::KeypadModifier)) return 0;
  const unsigned mods = modsOf(e);
  for (const Accelerator& a : kTable)
    if (a.virtualKey == vk && a.mods == mods) return a.command;
  return 0;
}

}  // namespace vlm::host
