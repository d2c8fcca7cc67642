#include "tools/tool_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPointer>
#include <QScreen>

#include <algorithm>

#include "engine/engine_state.h"
#include "tools/help/help_topics.h"
#include "tools/tools_state.h"

namespace vlm::tools {

WindowRect clampToolRect(WindowRect r, const WindowRect& fallback, const QRect& desk) {
  if (r.width <= 0 && r.height <= 0) r = fallback;
  r.width = std::clamp(r.width, kToolMinWidth, std::max(kToolMinWidth, desk.width()));
  r.height = std::clamp(r.height, kToolMinHeight, std::max(kToolMinHeight, desk.height()));
  r.x = std::clamp(r.x, desk.left(), std::max(desk.left(), desk.left() + desk.width() - r.width));
  r.y = std::clamp(r.y, desk.top(), std::max(desk.top(), desk.top() + desk.height() - r.height));
  return r;
}

WindowRect storedToolRect(const QRect& g) {
  return {std::max(0, g.x()), std::max(0, g.y()), std::max(kToolMinWidth, g.width()),
          std::max(kToolMinHeight, g.height())};
}

QRect desktopRect() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

ToolWindow::ToolWindow(EngineState& state, ToolWindowState& place, WindowRect fallback, const QString& caption,
                       int32_t helpTopic, QWidget* owner)
    : QWidget(owner, Qt::Tool), state_(state), place_(place), fallback_(fallback), helpTopic_(helpTopic) {
  setWindowTitle(caption);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setMinimumSize(kToolMinWidth, kToolMinHeight);
  toolsOf(state).windows.emplace_back(this);
}

void ToolWindow::openWindow() {
  const WindowRect r = clampToolRect(place_.rect, fallback_, desktopRect());
  place_.rect = r;
  setGeometry(r.x, r.y, r.width, r.height);
  show();
  raise();
  open_ = true;
  place_.shown = 1;
}

void ToolWindow::storeGeometry() {
  if (open_ && isVisible()) place_.rect = storedToolRect(geometry());
}

void ToolWindow::closeWindow() {
  storeGeometry();
  open_ = false;
  place_.shown = 0;
  hide();
}

void ToolWindow::placeFromSettings() {
  QPointer<ToolWindow> self(this);
  const WindowRect r = clampToolRect(place_.rect, fallback_, desktopRect());
  QMetaObject::invokeMethod(
      this,
      [self, r] {
        if (self) self->setGeometry(r.x, r.y, r.width, r.height);
      },
      Qt::QueuedConnection);
}

void ToolWindow::closedByUser() { closeWindow(); }

void ToolWindow::closeEvent(QCloseEvent* e) {
  e->ignore();  // hidden, never destroyed
  if (open_) closedByUser();
}

void ToolWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    showHelp(state_, helpTopic_);
    e->accept();
    return;
  }
  QWidget::keyPressEvent(e);
}

}  // namespace vlm::tools
