#include "host/view_window.h"

#include <QSurfaceFormat>

#include "engine/vlmapi.h"

namespace vlm::host {

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

void View3DWindow::resizeEvent(QResizeEvent*) {
  if (!engineActive_) return;
  const int rect[4] = {0, 0, width(), height()};
  vlm_ResizeWindow(this, rect);
}

}  // namespace vlm::host
