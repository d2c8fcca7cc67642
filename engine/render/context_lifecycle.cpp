#include "engine/render/context_lifecycle.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QVariant>

#include <chrono>

#include "engine/engine_state.h"
#include "engine/render/frame.h"
#include "engine/render/gl_setup.h"
#include "engine/render/render_context.h"
#include "engine/render/surface_format.h"
#include "output/textures.h"
#include "platform/host_bridge.h"
#include "platform/report.h"

namespace vlm::render {
namespace {

QWindow* viewWindowOf(void* hostWindow) {
  auto* host = static_cast<QObject*>(hostWindow);
  if (!host) return nullptr;
  return qobject_cast<QWindow*>(host->property("vlm3DWindow").value<QObject*>());
}

// Finds the 3D window and, while it has no native window yet, gives it the
// wanted format (the drawable's buffers come from the window's own format).
// Also reads the window's device-pixel ratio, so the fonts are made at the
// right size from the start. Runs on the host thread when the host bridge is
// attached.
QWindow* prepareViewWindow(void* hostWindow, bool stereo, std::atomic<float>& pixelRatio) {
  auto work = [hostWindow, stereo, &pixelRatio]() -> intptr_t {
    QWindow* w = viewWindowOf(hostWindow);
    if (w && !w->handle()) {
      w->setSurfaceType(QSurface::OpenGLSurface);
      w->setFormat(wantedSurfaceFormat(stereo));
      w->create();
    }
    if (w) pixelRatio = static_cast<float>(w->devicePixelRatio());
    return reinterpret_cast<intptr_t>(w);
  };
  platform::HostBridge& bridge = platform::HostBridge::instance();
  if (bridge.hostWindow() && !bridge.isHostThread())
    return reinterpret_cast<QWindow*>(bridge.runOnHost(work, std::chrono::milliseconds(10000)));
  return reinterpret_cast<QWindow*>(work());
}

void releaseGl(EngineState& state, RenderContext& rc) {
  frameContent(state).releaseGl(state);
  releaseTextureNames(state);  // object and plane textures die with the context
  scene::clearShapeCache(rc.shapes);
  if (rc.objectList != 0) glDeleteLists(rc.objectList, 1);
  rc.objectList = 0;
  if (rc.bitmapFontBase != 0) glDeleteLists(rc.bitmapFontBase, kFontListCount);
  rc.bitmapFontBase = 0;
  if (rc.quadric) gluDeleteQuadric(rc.quadric);
  rc.quadric = nullptr;
}

}  // namespace

bool openRenderContext(EngineState& state, bool reportFailure) {
  ViewState& v = state.view->view;
  const bool stereo = v.stereo.load() != 0;
  QWindow* window = prepareViewWindow(state.main->hostWindow, stereo, v.devicePixelRatio);
  if (!window) return false;

  auto rc = std::make_shared<RenderContext>();
  rc->window = window;
  rc->stereo = stereo;
  const QSurfaceFormat wanted = wantedSurfaceFormat(stereo);
  rc->context = std::make_unique<QOpenGLContext>();
  rc->context->setFormat(wanted);
  if (!rc->context->create()) {
    if (reportFailure) platform::reportError("Unable to set OpenGL graphics format (1)");
    return false;
  }
  if (!formatSatisfies(wanted, rc->context->format()) ||
      (window->handle() && !formatSatisfies(wanted, window->format()))) {
    if (reportFailure) platform::reportError("Unable to set OpenGL graphics format (2)");
    return false;
  }
  if (!rc->context->makeCurrent(window)) return false;

  const QSurfaceFormat got = rc->context->format();
  v.windowColorDepth = colorBits(got);
  if (v.windowColorDepth < 16 && rc->palette.empty()) {
    IndexedFormat f;
    f.colorBits = v.windowColorDepth;
    f.redBits = got.redBufferSize();
    f.greenBits = got.greenBufferSize();
    f.blueBits = got.blueBufferSize();
    f.redShift = 0;
    f.greenShift = f.redBits;
    f.blueShift = f.redBits + f.greenBits;
    rc->palette = computePalette(f);
  }
  createTextCanvas(rc->canvas, v.colorTextures);
  v.render = rc;
  setUpGlState(state, *rc);
  return true;
}

void closeRenderContext(EngineState& state) {
  ViewState& v = state.view->view;
  std::shared_ptr<RenderContext> rc = v.render;
  if (!rc) return;
  if (rc->context && rc->window && rc->context->makeCurrent(rc->window)) releaseGl(state, *rc);
  deleteTextCanvas(rc->canvas);
  if (rc->context) {
    rc->context->doneCurrent();
    rc->context.reset();
  }
  v.render.reset();
}

}  // namespace vlm::render
