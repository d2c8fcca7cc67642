#include "host/view_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include "engine/vlmapi.h"

namespace vlm::host {
namespace {

int buttonFlag(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return 0x01;
    case Qt::RightButton: return 0x02;
    case Qt::MiddleButton: return 0x10;
    default: return 0;
  }
}

}  // namespace

int mouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, Qt::MouseButton released) {
  int flags = 0;
  if (buttons & Qt::LeftButton) flags |= 0x01;
  if (buttons & Qt::RightButton) flags |= 0x02;
  if (modifiers & Qt::ShiftModifier) flags |= 0x04;
  if (modifiers & Qt::ControlModifier) flags |= 0x08;
  if (buttons & Qt::MiddleButton) flags |= 0x10;
  return flags | buttonFlag(released);
}

View3DWindow::View3DWindow() {
  setSurfaceType(QSurface::OpenGLSurface);
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setAlphaBufferSize(8);
  format.setDepthBufferSize(16);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  setFormat(format);
}

void View3DWindow::exposeEvent(QExposeEvent*) {
  if (engineActive_ && isExposed()) vlm_DrawScene();
}

QPoint View3DWindow::devicePixels(QPointF windowPixels) const {
  const qreal ratio = devicePixelRatio();
  return QPoint(qRound(windowPixels.x() * ratio), qRound(windowPixels.y() * ratio));
}

void View3DWindow::resizeEvent(QResizeEvent*) {
  if (!engineActive_) return;
  // The engine draws into the whole window: its size in device pixels.
  const QPoint size = devicePixels(QPointF(width(), height()));
  const int rect[4] = {0, 0, size.x(), size.y()};
  vlm_ResizeWindow(this, rect);
}

void View3DWindow::mouse(MouseAction action, QMouseEvent* e) {
  const QPoint p = devicePixels(e->position());
  const Qt::MouseButton released = action == MouseAction::Release ? e->button() : Qt::NoButton;
  if (onMouse) onMouse(action, p.x(), p.y(), mouseKeyFlags(e->buttons(), e->modifiers(), released));
  e->accept();
}

void View3DWindow::mousePressEvent(QMouseEvent* e) {
  // The second press of a double click comes before its double-click event;
  // only the double click goes to the engine, as one press and one double click.
  if (e->flags() & Qt::MouseEventCreatedDoubleClick) {
    e->accept();
    return;
  }
  mouse(MouseAction::Press, e);
}
void View3DWindow::mouseReleaseEvent(QMouseEvent* e) { mouse(MouseAction::Release, e); }
void View3DWindow::mouseDoubleClickEvent(QMouseEvent* e) { mouse(MouseAction::DoubleClick, e); }
void View3DWindow::mouseMoveEvent(QMouseEvent* e) { mouse(MouseAction::Move, e); }

void View3DWindow::wheelEvent(QWheelEvent* e) {
  const QPoint g = e->globalPosition().toPoint();
  if (onWheel) onWheel(e->angleDelta().y(), mouseKeyFlags(e->buttons(), e->modifiers(), Qt::NoButton), g.x(), g.y());
  e->accept();
}

void View3DWindow::keyPressEvent(QKeyEvent* e) {
  if (onKey) onKey(e, true);
}

void View3DWindow::keyReleaseEvent(QKeyEvent* e) {
  if (onKey) onKey(e, false);
}

}  // namespace vlm::host
