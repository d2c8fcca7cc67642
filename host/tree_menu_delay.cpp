#include "host/tree_menu_delay.h"

#include <QApplication>
#include <QTimer>

namespace vlm::host {
namespace {

// The pick names of the database tree's items (tables and queries).
constexpr uint32_t kFirstTreeItem = 2000000400u;
constexpr uint32_t kPastTreeItems = 2001000000u;

}  // namespace

TreeMenuDelay::TreeMenuDelay() { clock_.start(); }

void TreeMenuDelay::noteRelease(int flags) { leftReleased_ = (flags & 1) != 0; }

void TreeMenuDelay::noteDoubleClick() { lastDoubleClick_ = clock_.elapsed(); }

bool TreeMenuDelay::isTreeItem(uint32_t name) { return name >= kFirstTreeItem && name < kPastTreeItems; }

void TreeMenuDelay::showMenu(QObject* context, uint32_t name, std::function<void()> show) {
  if (!isTreeItem(name) || !leftReleased_) {
    show();
    return;
  }
  const int interval = QApplication::doubleClickInterval();
  const qint64 asked = clock_.elapsed();
  QTimer::singleShot(interval, context, [this, asked, interval, show = std::move(show)] {
    if (lastDoubleClick_ >= 0 && lastDoubleClick_ >= asked - interval) return;
    show();
  });
}

}  // namespace vlm::host
