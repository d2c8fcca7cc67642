#pragma once
// What the Selector window shows, copied out of the table under the data
// lock. The window runs on the host thread and never reads the table: the
// thread that changed a row builds the row's view and posts it, so a load
// growing the table never meets a painting window.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vlm {
struct EngineState;
}

namespace vlm::selector {

struct ValueLine {
  std::string text;
  bool selected = false;
  bool available = true;
};

struct RowView {
  int32_t field = 0;
  std::string name;
  uint8_t type = 0;  // FieldType
  int32_t method = 0;
  bool allowed[5] = {true, false, false, false, false};  // methods the menu enables
  int32_t entryCount = 0;                                 // entries of the list, the empty one included
  int32_t valueCount = 0;                                 // distinct values, the empty one not counted
  // Range: bounds and limits as numbers, and the bounds as value texts.
  bool integral = true;
  double least = 0.0, greatest = 0.0, low = 0.0, high = 0.0;
  std::string lowText, highText;
  // Item
  bool all = true;
  int32_t item = 0;
  std::string itemText;
  // Samples
  int32_t samplesMode = 2;
  std::vector<ValueLine> values;
  // Substring
  std::string text;
  int32_t caret = 0;
  // The last window edit of this row that the view includes.
  uint32_t appliedEdit = 0;
};

struct SelectorView {
  uint32_t generation = 0;  // the loads the table has seen (see SelectorRecord)
  bool complete = false;    // every row of the table; otherwise only the rows that changed
  int32_t fieldCount = 0;
  int32_t currentRow = -1;
  int32_t currentValue = 0;
  std::vector<RowView> rows;
};

// Builds the view of one row (under the data lock).
RowView rowView(EngineState& state, int32_t field);

// The rows marked changed (every row when `complete`), clearing their marks.
std::shared_ptr<SelectorView> takeView(EngineState& state, bool complete);

// Builds the view and hands it to the window on the host thread (directly when
// called there). Does nothing while the window is closed.
void publishView(EngineState& state, bool complete);

// Records that the window's edit `sequence` of `field` has been applied, so
// the next view of the row carries it.
void noteAppliedEdit(int32_t field, uint32_t sequence);
void forgetAppliedEdits();

}  // namespace vlm::selector
