#pragma once
// The Calculator's tool window, on the host thread: created on first use,
// owned by the host window, hidden rather than destroyed. It shows the rows
// the calculation hands it and asks the host for the Calculator menu when a
// row is clicked; it never reads the table.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QFontMetrics;
class QWidget;

namespace vlm {
struct EngineState;
}

namespace vlm::calculator {

// The rows as the window shows them.
struct CalculatorView {
  struct Row {
    std::string label;
    std::string result;
    int32_t function = 0;
    int32_t field = -1;
    bool spoken = false;
  };
  std::vector<Row> rows;
  std::shared_ptr<const std::vector<std::string>> fieldNames;  // for the menu's field list
  // Calculations are numbered in the order they were made: results reach the
  // window through more than one queue, and an older one never replaces a newer.
  uint64_t sequence = 0;
};

// vlm_OpenCalculator: creates the window when needed (" Calculator"), places
// it at the stored rectangle (at least 200 x 100, inside the desktop), shows
// it, sets the open flag and calculates. False when it cannot be created.
bool openWindow(EngineState& state);
// vlm_CloseCalculator: clears the open flag, stores the rectangle, hides the
// window, tells the host and redraws the scene.
void closeWindow(EngineState& state);
// At teardown: the rectangle stored while shown, the window destroyed.
void destroyWindow(EngineState& state);

// Hands the rows to the window (any thread; the window takes them on the host thread).
void showResults(EngineState& state, std::shared_ptr<const CalculatorView> view);
// The rows the window shows (host thread), null before the first.
std::shared_ptr<const CalculatorView> shownView();
QWidget* windowWidget();

// The text shortened to `width` pixels: cut character by character, the last
// visible character replaced by ".".
std::string fitText(const QFontMetrics& metrics, const std::string& text, int width);
// The width of the label column: 3/5 of the client width.
int labelColumnWidth(int clientWidth);

}  // namespace vlm::calculator
