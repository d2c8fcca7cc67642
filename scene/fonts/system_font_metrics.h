#pragma once
// Advances of the system's variable-width font, whose bitmap glyph lists the
// overlays draw with (codes 0..254), so that texts can be measured and laid out.
#include "scene/fonts/label_fonts.h"

namespace vlm::scene {

// Computed once; safe from any thread.
const LabelFontMetrics& systemFontMetrics();

}  // namespace vlm::scene
