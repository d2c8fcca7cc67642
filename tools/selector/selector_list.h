#pragma once
// The list of the Selector window: one item per field, and one further item
// per value of a Samples row after the first, drawn by our own painter; mouse
// and keys become edits of the rows. Host thread only.
#include <QAbstractScrollArea>
#include <QColor>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/selector/selector_edits.h"
#include "tools/selector/selector_view.h"
#include "tools/selector/slider_geometry.h"

namespace vlm::selector {

struct ListItem {
  int32_t field = 0;
  int32_t value = 0;  // the value shown on this line of a Samples row (0 on the first line)
  int top = 0;
  int height = 0;
};

class SelectorList : public QAbstractScrollArea {
 public:
  // `send` queues an edit; `askMenu` asks the host for the menu of an item
  // (item data, item index); `editBox` opens the Edit Selection box of a row.
  struct Actions {
    std::function<void(Edit)> send;
    std::function<void(uint32_t itemData, int32_t itemIndex)> askMenu;
    std::function<void(int32_t field, const QPoint& globalPos)> editBox;
    std::function<void()> anyClick;
    // A bound as the row shows it while it is dragged; empty keeps the last text.
    std::function<std::string(const RowView& row, double bound)> boundText;
  };
  SelectorList(QWidget* parent, Actions actions);

  void setBrushes(const QColor& selected, const QColor& unavailable);
  // Takes a view: every row when it is complete or of another table, else the rows it holds.
  void takeView(const SelectorView& view);
  const RowView* row(int32_t field) const;
  const std::vector<ListItem>& items() const { return items_; }
  int32_t currentRow() const { return currentRow_; }
  // The item at a viewport y, -1 for none.
  int itemAt(int y) const;
  // Pixel positions of the thumbs of a Range row, for tests and hit-testing.
  int lowPixel(int32_t field) const;
  int highPixel(int32_t field) const;
  int itemPixelOf(int32_t field) const;
  int itemTop(int index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void layoutItems();
  void paintItem(QPainter& p, const ListItem& item, int index, int y);
  void paintRange(QPainter& p, const RowView& row, int y);
  void paintItemSlider(QPainter& p, const RowView& row, int y);
  void paintValue(QPainter& p, const RowView& row, int32_t value, int y, int height);
  void paintSubstring(QPainter& p, const RowView& row, int y, int height);
  int rowHeight(const RowView& row) const;
  Track track() const;
  RowView* editableRow(int32_t field);
  void send(Edit edit, RowView& row);
  void makeCurrent(int32_t field, int32_t value);
  void pressOn(const ListItem& item, int index, QMouseEvent* event);
  void dragTo(int x);
  void echoRange(RowView& row, Bounds bounds);

  Actions actions_;
  QColor selected_, unavailable_;
  uint32_t generation_ = 0;
  bool haveView_ = false;
  std::vector<RowView> rows_;        // by field
  std::vector<uint32_t> sentEdit_;   // by field: the last edit sent
  uint32_t nextSequence_ = 0;
  std::vector<ListItem> items_;
  int contentHeight_ = 0;
  int32_t currentRow_ = -1;
  int32_t currentValue_ = 0;
  // A drag in progress.
  int32_t dragField_ = -1;
  bool itemDrag_ = false;
  RangeDrag drag_;
};

}  // namespace vlm::selector
