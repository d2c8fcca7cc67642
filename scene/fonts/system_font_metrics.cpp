#include "scene/fonts/system_font_metrics.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include "scene/fonts/code_page.h"

namespace vlm::scene {

const LabelFontMetrics& systemFontMetrics() {
  static const LabelFontMetrics metrics = [] {
    LabelFontMetrics m;
    const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QFontMetrics fm(font);
    m.height = fm.height() > 0 ? fm.height() : 16;
    for (int code = 0; code < 255; ++code) {
      const QChar ch(codePageChar(static_cast<unsigned char>(code)));
      const bool printable = code >= 32 && ch.isPrint();
      m.advances[static_cast<size_t>(code)] = printable ? static_cast<float>(std::max(0, fm.horizontalAdvance(ch))) : 0.0f;
    }
    return m;
  }();
  return metrics;
}

}  // namespace vlm::scene
