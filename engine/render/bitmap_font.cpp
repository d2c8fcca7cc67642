#include "engine/render/bitmap_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <vector>

#include "engine/render/render_context.h"

namespace vlm::render {

char16_t codePageCharacter(unsigned char code) {
  // 0x80..0x9F of Windows-1252; the rest is Latin-1.
  static constexpr char16_t k80[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  if (code >= 0x80 && code <= 0x9F) return k80[code - 0x80];
  return code;
}

FontMetricsResult makeBitmapFontLists(GLuint base) {
  FontMetricsResult metrics;
  const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  const QFontMetrics fm(font);
  if (fm.height() > 0) metrics.charHeight = fm.height();
  if (fm.maxWidth() > 0) metrics.maxCharWidth = fm.maxWidth();
  const int height = metrics.charHeight;
  const int descent = fm.descent();
  std::vector<GLubyte> bits;
  for (int code = 0; code < kBitmapGlyphCount; ++code) {
    const QChar ch(codePageCharacter(static_cast<unsigned char>(code)));
    const bool printable = code >= 32 && ch.isPrint();
    const int advance = printable ? fm.horizontalAdvance(ch) : 0;
    const int width = advance > 0 ? advance : 0;
    const int rowBytes = ((width + 7) / 8 + 3) / 4 * 4;  // unpack alignment 4
    bits.assign(size_t(rowBytes) * height, 0);
    if (width > 0) {
      QImage glyph(width, height, QImage::Format_Grayscale8);
      glyph.fill(0);
      {
        QPainter p(&glyph);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(0, fm.ascent(), QString(ch));
      }
      for (int y = 0; y < height; ++y) {
        const uchar* src = glyph.constScanLine(height - 1 - y);  // glBitmap rows go bottom up
        for (int x = 0; x < width; ++x)
          if (src[x] >= 128) bits[size_t(y) * rowBytes + x / 8] |= GLubyte(0x80u >> (x % 8));
      }
    }
    glNewList(base + code, GL_COMPILE);
    if (width > 0) {
      glBitmap(width, height, 0.0f, float(descent), float(advance), 0.0f, bits.data());
    } else {
      // An empty glyph: a blank 1 x 1 bitmap only advances (Mesa refuses to keep an empty one).
      static const GLubyte blank[4] = {0, 0, 0, 0};
      glBitmap(1, 1, 0.0f, 0.0f, float(advance), 0.0f, blank);
    }
    glEndList();
  }
  return metrics;
}

}  // namespace vlm::render
