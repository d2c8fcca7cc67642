#pragma once
// The accelerator table of the main window: keys that run a command before the
// key reaches the 3D view.
class QKeyEvent;

namespace vlm::host {

// The command id of the key, or 0.
int acceleratorCommand(const QKeyEvent& e);

}  // namespace vlm::host
