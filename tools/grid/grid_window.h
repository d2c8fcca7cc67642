#pragma once
// The Grid: the property editor of the space settings, a tool window listing
// the shown rows of the 73 settings, each drawn with its control and edited
// in place (switches, sliders with click and drag, colours, the label font and
// the plane images).
#include <QListWidget>
#include <QStyledItemDelegate>

#include <cstdint>

#include "model/space_settings.h"
#include "tools/tool_window.h"

namespace vlm::tools {

// Pixel layout of one row; the drawing and the clicks use the same one.
struct GridRowLayout {
  QRect name, control;
  QRect minText, maxText, valueText;  // sliders
  int trackStart = 0, trackEnd = 0, trackY = 0;
};
GridRowLayout layOutGridRow(const QRect& row, const SpaceSetting& setting, const QFontMetrics& metrics);

class GridWindow : public ToolWindow {
 public:
  GridWindow(EngineState& state, QWidget* owner);

  // Reads the rows again (when the settings can be read at once, else a
  // moment later) and rebuilds the list, keeping its scroll position.
  void refill();
  const SpaceSettings& rows() const { return rows_; }
  QListWidget* list() const { return list_; }
  // The list item of a row, or null when the row is not shown.
  QListWidgetItem* itemOfRow(int32_t row) const;

  // What a click does, by the row's type (also used by tests).
  void pressRow(int32_t row, int x, bool rightButton);
  void dragTo(int x);
  void release();

 protected:
  void closedByUser() override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void requestMenu(int32_t row);
  void setSlider(int32_t row, int x);
  void editRow(std::function<struct RowEffects(SpaceSettings&)> change);
  void chooseBitmap(int32_t row);

  QListWidget* list_ = nullptr;
  SpaceSettings rows_;
  int32_t dragRow_ = -1;
  bool refillQueued_ = false;
};

// vlm_OpenGrid, vlm_CloseGrid, vlm_IsGridOn. Host thread.
bool openGrid(EngineState& state);
void closeGrid(EngineState& state);
bool isGridOn(EngineState& state);
// Refills an open Grid on the host thread, from any thread (a model file set
// the rows, a menu changed the label settings).
void refreshGridLater(EngineState& state);

}  // namespace vlm::tools
