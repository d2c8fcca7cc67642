#pragma once
// The GL objects that live with the rendering context. Created and used on the
// engine thread only; the view record holds it while the window is open.
#include <GL/gl.h>
#include <GL/glu.h>

#include <QOpenGLContext>
#include <QPointer>
#include <QWindow>

#include <memory>
#include <vector>

#include "engine/render/frame_content.h"
#include "engine/render/palette.h"
#include "engine/render/pick_cull.h"
#include "engine/render/text_canvas.h"
#include "scene/shapes/shape_cache.h"
#include "scene/shapes/shape_types.h"

namespace vlm::render {

constexpr int kFontListCount = 256;   // each font base reserves 256 lists
constexpr int kBitmapGlyphCount = 255;  // codes 0..254 get a glyph list

struct RenderContext {
  std::unique_ptr<QOpenGLContext> context;
  QPointer<QWindow> window;
  bool stereo = false;
  GLUquadric* quadric = nullptr;
  scene::ShapeCache shapes;
  GLuint bitmapFontBase = 0;
  int fontHeight = 16, fontMaxWidth = 16;
  float fontPixelRatio = 1.0f;  // the device-pixel ratio the glyph lists were made for
  TextCanvas canvas;
  std::vector<PaletteEntry> palette;
  // The compiled list of all objects and the variant it was compiled with.
  GLuint objectList = 0;
  scene::ShapeVariant objectVariant = scene::SHAPE_SOLID;
  // Set by the pick for its object pass: objects away from the pick window are skipped.
  PickCull pickCull;
  int framesDrawn = 0;  // counts swaps, for tests and the benchmark
};

}  // namespace vlm::render
