#pragma once
// The host's main window as the owner of the engine's windows, menus and dialogs.
#include <QObject>
#include <QWidget>

#include "engine/engine_state.h"

namespace vlm::tools {

inline QWidget* hostWidget(const EngineState& state) {
  return qobject_cast<QWidget*>(static_cast<QObject*>(state.main->hostWindow));
}

}  // namespace vlm::tools
