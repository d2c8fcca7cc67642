#include "engine/render/bitmap_font.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include "engine/render/render_context.h"
#include "scene/fonts/glyph_bitmaps.h"

namespace vlm::render {

FontMetricsResult makeBitmapFontLists(GLuint base, float pixelRatio) {
  FontMetricsResult metrics;
  const QFont font = scene::monochromeFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
  const QFontMetrics fm(font);
  if (fm.height() > 0) metrics.charHeight = fm.height();
  if (fm.maxWidth() > 0) metrics.maxCharWidth = fm.maxWidth();
  scene::makeGlyphBitmapLists(base, font, kBitmapGlyphCount, pixelRatio);
  return metrics;
}

}  // namespace vlm::render
