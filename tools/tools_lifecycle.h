#pragma once
// The tools' part in the engine's life: their command handler, arranging the
// tool windows, and closing them at teardown.
namespace vlm {

struct EngineState;

// Installs the engine-thread handler of the queued tool edits.
void registerToolHandlers();

namespace tools {

// Opens the Selector, the Calculator and the Grid where they are not shown,
// and moves every open tool window to its stored rectangle without waiting.
void arrangeToolWindows(EngineState& state);
// Teardown, on the host thread: every tool window keeps its rectangle in the
// settings and is destroyed.
void closeTools(EngineState& state);

}  // namespace tools
}  // namespace vlm
