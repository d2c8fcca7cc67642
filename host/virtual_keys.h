#pragma once
// Qt key events as the virtual key codes the engine's key commands take.
class QKeyEvent;

namespace vlm::host {

// The virtual key of the event, or 0 when it has none.
int virtualKeyOf(const QKeyEvent& e);

}  // namespace vlm::host
