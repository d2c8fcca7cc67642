#include "tools/menus/menu_tracker.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>

#include <mutex>

namespace vlm::tools {
namespace {

std::mutex g_mutex;
MenuChooser g_chooser;

void fill(QMenu& qmenu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    switch (item.kind) {
      case MenuItem::Kind::Separator:
        qmenu.addSeparator();
        break;
      case MenuItem::Kind::Submenu: {
        QMenu* child = qmenu.addMenu(QString::fromUtf8(item.text.c_str()));
        child->setEnabled(item.enabled);
        fill(*child, item.items);
        break;
      }
      case MenuItem::Kind::Command: {
        QAction* a = qmenu.addAction(QString::fromUtf8(item.text.c_str()));
        a->setData(item.id);
        a->setEnabled(item.enabled);
        if (item.checked) {
          a->setCheckable(true);
          a->setChecked(true);
        }
        break;
      }
    }
  }
}

int32_t showQtMenu(const Menu& menu, QWidget* owner) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 0;
  QMenu qmenu(owner);
  qmenu.setObjectName(QString::fromUtf8(menu.name.c_str()));
  fill(qmenu, menu.items);
  QAction* chosen = qmenu.exec(QCursor::pos());
  return chosen ? chosen->data().toInt() : 0;
}

}  // namespace

MenuChooser setMenuChooser(MenuChooser chooser) {
  std::lock_guard lock(g_mutex);
  MenuChooser old = std::move(g_chooser);
  g_chooser = std::move(chooser);
  return old;
}

int32_t trackMenu(const Menu& menu, QWidget* owner) {
  MenuChooser chooser;
  {
    std::lock_guard lock(g_mutex);
    chooser = g_chooser;
  }
  const int32_t id = chooser ? chooser(menu) : showQtMenu(menu, owner);
  if (id == 0) return 0;
  const MenuItem* item = findCommand(menu, id);
  return item && item->enabled ? id : 0;
}

}  // namespace vlm::tools
