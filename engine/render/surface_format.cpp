#include "engine/render/surface_format.h"

namespace vlm::render {

QSurfaceFormat wantedSurfaceFormat(bool stereo) {
  QSurfaceFormat f;
  f.setRenderableType(QSurfaceFormat::OpenGL);
  f.setProfile(QSurfaceFormat::CompatibilityProfile);
  f.setVersion(1, 1);
  f.setRedBufferSize(8);
  f.setGreenBufferSize(8);
  f.setBlueBufferSize(8);
  f.setAlphaBufferSize(8);
  f.setDepthBufferSize(16);
  f.setStencilBufferSize(0);
  f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  f.setStereo(stereo);
  return f;
}

bool formatSatisfies(const QSurfaceFormat& wanted, const QSurfaceFormat& got) {
  if (wanted.stereo() && !got.stereo()) return false;
  if (got.depthBufferSize() < wanted.depthBufferSize()) return false;
  if (wanted.alphaBufferSize() > 0 && got.alphaBufferSize() <= 0) return false;
  if (wanted.swapBehavior() == QSurfaceFormat::DoubleBuffer &&
      got.swapBehavior() == QSurfaceFormat::SingleBuffer)
    return false;
  return true;
}

int colorBits(const QSurfaceFormat& f) {
  const int r = f.redBufferSize(), g = f.greenBufferSize(), b = f.blueBufferSize();
  if (r < 0 || g < 0 || b < 0) return 0;
  return r + g + b;
}

}  // namespace vlm::render
