#pragma once
// The engine with both threads on a stand-in host, a pasted table and the
// Selector window: helpers to wait for the engine and to drive the window.
#include <QImage>
#include <QPoint>
#include <QString>

#include <functional>
#include <string>

#include "sources/support/source_fixture.h"
#include "tools/selector/selector_list.h"

namespace vlm::test {

class SelectorTest : public SourceTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the engine with its window and pastes `table` (tab-separated, a header line first).
  void startWith(const std::string& table);
  // Processes host work and events until `done` holds (at most `ms`).
  bool waitFor(const std::function<bool()>& done, int ms = 10000);
  // The selected count once the engine has applied what was queued.
  int32_t settledSelected();
  // Reads the table under the data lock.
  void read(const std::function<void(const DataTable&)>& look);
  int32_t method(int field);

  // The window's list (after vlm_OpenSelector).
  selector::SelectorList* list();
  // The first list item of a field.
  int itemOf(int field);
  // The y in the viewport of the middle of a row's slider track (Range and Item rows).
  int trackY(int field);
  void press(const QPoint& at, Qt::MouseButton button = Qt::LeftButton);
  void move(const QPoint& at);
  void release(const QPoint& at);
  void doubleClick(const QPoint& at);
  QImage grab();
  QString saveShot(const QImage& image, const QString& name);
};

}  // namespace vlm::test
