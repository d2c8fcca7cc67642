#pragma once
// A database tree item's menu opens when the left button is released on it,
// and a double click on the item loads it. The menu of the first click's
// release would take the second click, so it waits for the double-click
// interval and is dropped when a double click comes within that interval,
// before or after the menu was asked for.
#include <QElapsedTimer>
#include <QObject>

#include <cstdint>
#include <functional>

namespace vlm::host {

class TreeMenuDelay {
 public:
  TreeMenuDelay();

  void noteRelease(int flags);  // the mouse flags of a release (left 1)
  void noteDoubleClick();

  // Shows the menu of pick name `name` through `show`: at once, or for a
  // tree item after a left release once no double click came. `context`
  // owns the wait.
  void showMenu(QObject* context, uint32_t name, std::function<void()> show);

  static bool isTreeItem(uint32_t name);

 private:
  QElapsedTimer clock_;
  qint64 lastDoubleClick_ = -1;
  bool leftReleased_ = false;
};

}  // namespace vlm::host
