#pragma once
// The 3D view: a native window the engine thread draws into with OpenGL.
// It forwards size changes to the engine and its input to the main window.
#include <QWindow>

#include <functional>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace vlm::host {

enum class MouseAction { Press, Release, DoubleClick, Move };

class View3DWindow : public QWindow {
 public:
  View3DWindow();
  // True once the engine draws into the window.
  void setEngineActive(bool active) {
    engineActive_ = active;
    if (active) resizeEvent(nullptr);
  }
  bool engineActive() const { return engineActive_; }

  // Where the input goes (the main window installs these).
  std::function<void(MouseAction, int x, int y, int flags)> onMouse;
  std::function<void(int delta, int flags, int globalX, int globalY)> onWheel;
  std::function<void(QKeyEvent*, bool down)> onKey;

 protected:
  void exposeEvent(QExposeEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  void mouse(MouseAction action, QMouseEvent* e);
  // Window pixels (Qt's) as device pixels (the engine's viewport and mouse).
  QPoint devicePixels(QPointF windowPixels) const;
  bool engineActive_ = false;
};

// The mouse key flags of an event: left 1, right 2, Shift 4, Ctrl 8, middle
// 0x10; a release adds the flag of the released button.
int mouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, Qt::MouseButton released);

}  // namespace vlm::host
