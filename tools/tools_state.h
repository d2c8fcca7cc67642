#pragma once
// What the tools keep per engine: the tool windows (host thread), the field
// list of the run-time menus and their pending options, and the edits waiting
// for the data lock.
#include <QPointer>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "tools/menus/menu_tables.h"

namespace vlm {

namespace tools {
class ToolWindow;
class GridWindow;
class SetupWindow;
class HelpWindow;
}  // namespace tools

struct ToolsState {
  // Host thread.
  QPointer<tools::GridWindow> grid;
  QPointer<tools::SetupWindow> setup;
  QPointer<tools::HelpWindow> help;
  std::vector<QPointer<tools::ToolWindow>> windows;  // every tool window made so far
  // The help viewer's and the Setup window's rectangles (not kept between runs).
  ToolWindowState helpPlace{{0, 0, 0, 0}, 0};
  ToolWindowState setupPlace{{0, 0, 0, 0}, 0};
  // The field names the run-time menus list: read again whenever the table can
  // be read without waiting, so they follow every load; between loads they stay.
  std::vector<std::string> menuFields;

  // Guarded by the data lock: the options a mapping menu stores while its
  // attribute has no field, for the next association made from that menu
  // (0: none, the default options apply).
  std::array<uint8_t, tools::kRuntimeMenuCount> pendingOptions{};

  // Any thread.
  std::mutex editMutex;
  std::deque<std::function<void(EngineState&)>> edits;
};

// The tools' record of `state`, made on first use.
ToolsState& toolsOf(EngineState& state);

}  // namespace vlm
