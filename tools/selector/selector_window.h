#pragma once
// The Selector's tool window, on the host thread: created on first use,
// owned by the host window, hidden rather than destroyed. It shows the rows
// the engine hands it (selector_view.h) and turns mouse and keys into edits
// (selector_edits.h); it never reads the table.
#include <cstdint>
#include <memory>

class QWidget;

namespace vlm {
struct EngineState;
}

namespace vlm::selector {

struct RowView;
struct SelectorView;

// vlm_OpenSelector: creates the window when needed, places it at the stored
// rectangle (at least 200 x 100, its top-left inside the desktop), shows it
// with every row and sets the open flag. False when it cannot be created.
bool openWindow(EngineState& state);
// vlm_CloseSelector: clears the open flag, stores the rectangle, hides the
// window and the Edit Selection box, stops a play run.
void closeWindow(EngineState& state);
// At teardown: the rectangle stored while shown, the window destroyed.
void destroyWindow(EngineState& state);

// Takes the rows of a view (host thread).
void showView(std::shared_ptr<SelectorView> view);

// The row as the window shows it, null when there is none.
const RowView* shownRow(int32_t field);

// The window itself, for tests and screenshots (null before the first open).
QWidget* windowWidget();

}  // namespace vlm::selector
