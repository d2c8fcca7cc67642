#include "output/view_capture.h"

#include <GL/gl.h>

#include <QStatusBar>
#include <QToolBar>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <new>

#include "engine/engine_state.h"
#include "engine/render/frame.h"
#include "engine/render/render_context.h"
#include "platform/host_bridge.h"

#ifndef GL_BGR
#define GL_BGR 0x80E0
#endif

namespace vlm {
namespace {

// The part of `bar` that covers `view`, both in global coordinates.
template <class Bar>
QRect coverOf(QWidget* host, const QRect& view) {
  Bar* bar = host->findChild<Bar*>(QString(), Qt::FindDirectChildrenOnly);
  if (!bar || !bar->isVisible()) return {};
  const QRect global(bar->mapToGlobal(QPoint(0, 0)), bar->size());
  return global.intersected(view);
}

}  // namespace

CaptureRegion captureRegion(int32_t viewWidth, int32_t viewHeight, int32_t topCover, int32_t bottomCover) {
  CaptureRegion r;
  r.x = 0;
  r.y = std::max(bottomCover, 0);
  r.width = std::max(viewWidth, 0);
  r.height = std::max(viewHeight - std::max(topCover, 0) - std::max(bottomCover, 0), 0);
  if (r.width == 0 || r.height == 0) r.width = r.height = 0;
  return r;
}

BarCover barCover(EngineState& state) {
  BarCover cover;
  void* hostWindow = state.main->hostWindow;
  auto work = [hostWindow, &cover]() -> intptr_t {
    auto* host = qobject_cast<QWidget*>(static_cast<QObject*>(hostWindow));
    if (!host) return 0;
    auto* view = qobject_cast<QWindow*>(host->property("vlm3DWindow").value<QObject*>());
    if (!view) return 0;
    const QRect viewRect(view->mapToGlobal(QPoint(0, 0)), view->size());
    cover.top = coverOf<QToolBar>(host, viewRect).height();
    cover.bottom = coverOf<QStatusBar>(host, viewRect).height();
    return 1;
  };
  platform::HostBridge& bridge = platform::HostBridge::instance();
  if (bridge.isHostThread() || !bridge.hostWindow()) work();
  else bridge.runOnHost(work, std::chrono::milliseconds(5000));
  return cover;
}

CaptureStatus prepareCapture(EngineState& state, CapturedPixels& out) {
  std::shared_ptr<render::RenderContext> rc = state.view->view.render;
  if (!rc || !rc->context) return CaptureStatus::NoView;
  const ViewState& v = state.view->view;
  const BarCover cover = barCover(state);
  const CaptureRegion region = captureRegion(v.viewportWidth, v.viewportHeight, cover.top, cover.bottom);
  if (region.width == 0) return CaptureStatus::NoView;
  out.width = region.width;
  out.height = region.height;
  out.y = region.y;
  out.stride = (static_cast<size_t>(region.width) * 3 + 3) / 4 * 4;
  try {
    out.bytes.assign(out.stride * static_cast<size_t>(region.height), 0);
  } catch (const std::bad_alloc&) {
    return CaptureStatus::OutOfMemory;
  }
  return CaptureStatus::Ok;
}

void readCapture(EngineState& state, codecs::ChannelOrder order, CapturedPixels& out) {
  std::shared_ptr<render::RenderContext> rc = state.view->view.render;
  if (!rc || !rc->context || out.bytes.empty()) return;
  out.order = order;
  // A fresh frame, read from the back buffer once it is complete: a dialog
  // that was over the view has left nothing in it, and the front buffer of a
  // window is not readable everywhere (it reads black under Mesa on X).
  render::drawFrame(state, [&out, order] {
    glPushAttrib(GL_PIXEL_MODE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelTransferi(GL_MAP_COLOR, GL_FALSE);  // the one-bit text maps would turn every colour to black
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, out.y, out.width, out.height, order == codecs::ChannelOrder::BGR ? GL_BGR : GL_RGB,
                 GL_UNSIGNED_BYTE, out.bytes.data());
    glPopClientAttrib();
    glPopAttrib();
  });
}

CaptureStatus captureView(EngineState& state, codecs::ChannelOrder order, CapturedPixels& out) {
  const CaptureStatus status = prepareCapture(state, out);
  if (status == CaptureStatus::Ok) readCapture(state, order, out);
  return status;
}

QImage toQImage(const CapturedPixels& p) {
  QImage image(p.width, p.height, QImage::Format_RGB888);
  if (image.isNull()) return image;
  for (int32_t y = 0; y < p.height; ++y) {
    const uint8_t* src = p.bytes.data() + static_cast<size_t>(y) * p.stride;
    uint8_t* dst = image.scanLine(p.height - 1 - y);
    for (int32_t x = 0; x < p.width; ++x) {
      const uint8_t* s = src + static_cast<size_t>(x) * 3;
      uint8_t* d = dst + static_cast<size_t>(x) * 3;
      if (p.order == codecs::ChannelOrder::BGR) d[0] = s[2], d[1] = s[1], d[2] = s[0];
      else d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
  }
  return image;
}

}  // namespace vlm
