#include "scene/fonts/system_font_metrics.h"

#include <QFontDatabase>

#include "scene/fonts/glyph_bitmaps.h"

namespace vlm::scene {

const LabelFontMetrics& systemFontMetrics() {
  // The overlay glyph lists cover codes 0..254.
  static const LabelFontMetrics metrics = glyphMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont), 255);
  return metrics;
}

}  // namespace vlm::scene
