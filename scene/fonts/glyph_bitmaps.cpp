#include "scene/fonts/glyph_bitmaps.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

#include "scene/fonts/code_page.h"

namespace vlm::scene {
namespace {

bool printable(int code, QChar ch) { return code >= 32 && ch.isPrint(); }

// The box a glyph is rendered into, in font pixels from its origin on the
// baseline (y down): at least the advance and the line, wider and taller where
// the glyph's ink reaches beyond them.
struct GlyphBox {
  int left = 0, right = 0, top = 0, bottom = 0;
};

GlyphBox boxOf(const QFontMetrics& fm, QChar ch, int advance) {
  const QRect ink = fm.boundingRect(ch);
  GlyphBox b;
  b.left = std::min(0, ink.left());
  b.right = std::max(advance, ink.right() + 1);
  b.top = std::min(-fm.ascent(), ink.top());
  b.bottom = std::max(fm.descent(), ink.bottom() + 1);
  return b;
}

}  // namespace

QFont monochromeFont(const QFont& font) {
  QFont f(font);
  f.setStyleStrategy(static_cast<QFont::StyleStrategy>(QFont::NoAntialias | QFont::PreferQuality));
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

LabelFontMetrics glyphMetrics(const QFont& font, int count) {
  LabelFontMetrics m;
  const QFontMetrics fm(monochromeFont(font));
  m.height = fm.height() > 0 ? fm.height() : 16;
  m.ascent = fm.ascent() > 0 ? fm.ascent() : m.height * 3 / 4;
  for (int code = 0; code < count && code < kLabelFontLists; ++code) {
    const QChar ch(codePageChar(static_cast<unsigned char>(code)));
    m.advances[static_cast<size_t>(code)] =
        printable(code, ch) ? static_cast<float>(std::max(0, fm.horizontalAdvance(ch))) : 0.0f;
  }
  return m;
}

LabelFontMetrics makeGlyphBitmapLists(GLuint base, const QFont& font, int count, float pixelRatio) {
  const QFont mono = monochromeFont(font);
  const QFontMetrics fm(mono);
  const float ratio = pixelRatio > 0.0f ? pixelRatio : 1.0f;
  LabelFontMetrics metrics = glyphMetrics(font, count);
  std::vector<GLubyte> bits;
  for (int code = 0; code < count && code < kLabelFontLists; ++code) {
    const QChar ch(codePageChar(static_cast<unsigned char>(code)));
    const float advance = metrics.advances[static_cast<size_t>(code)];
    const float move = advance * ratio;
    glNewList(base + static_cast<GLuint>(code), GL_COMPILE);
    if (advance > 0.0f) {
      const GlyphBox box = boxOf(fm, ch, static_cast<int>(advance));
      const int width = static_cast<int>(std::ceil(static_cast<float>(box.right - box.left) * ratio));
      const int height = static_cast<int>(std::ceil(static_cast<float>(box.bottom - box.top) * ratio));
      QImage glyph(width, height, QImage::Format_Grayscale8);
      glyph.fill(0);
      {
        QPainter p(&glyph);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.scale(ratio, ratio);
        p.setFont(mono);
        p.setPen(Qt::white);
        p.drawText(QPointF(-box.left, -box.top), QString(ch));
      }
      const int rowBytes = ((width + 7) / 8 + 3) / 4 * 4;  // unpack alignment 4
      bits.assign(static_cast<size_t>(rowBytes) * static_cast<size_t>(height), 0);
      for (int y = 0; y < height; ++y) {
        const uchar* src = glyph.constScanLine(height - 1 - y);  // glBitmap rows go bottom up
        for (int x = 0; x < width; ++x)
          if (src[x] >= 128) bits[static_cast<size_t>(y * rowBytes + x / 8)] |= static_cast<GLubyte>(0x80u >> (x % 8));
      }
      const float xorig = static_cast<float>(-box.left) * ratio;
      const float yorig = static_cast<float>(box.bottom) * ratio;
      glBitmap(width, height, xorig, yorig, move, 0.0f, bits.data());
    } else {
      // An empty glyph: a blank 1 x 1 bitmap only (Mesa refuses to keep an empty one).
      static const GLubyte blank[4] = {0, 0, 0, 0};
      glBitmap(1, 1, 0.0f, 0.0f, 0.0f, 0.0f, blank);
    }
    glEndList();
  }
  return metrics;
}

}  // namespace vlm::scene
