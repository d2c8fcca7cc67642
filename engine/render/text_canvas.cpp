#include "engine/render/text_canvas.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace vlm::render {
namespace {

QFont makeFont(int weight, bool italic, int height, const QString& family) {
  QFont f;
  if (!family.isEmpty()) f.setFamily(family);
  f.setStyleHint(QFont::SansSerif);  // the Swiss family
  f.setFixedPitch(false);
  f.setPixelSize(std::max(1, height));
  f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
  f.setItalic(italic);
  return f;
}

// Greedy word wrap into lines no wider than `width`; over-long words are split.
QStringList wrap(const QString& text, const QFontMetrics& fm, int width) {
  QStringList lines;
  for (const QString& paragraph : text.split('\n')) {
    QString line;
    for (const QString& word : paragraph.split(' ')) {
      QString candidate = line.isEmpty() ? word : line + ' ' + word;
      if (fm.horizontalAdvance(candidate) <= width) {
        line = candidate;
        continue;
      }
      if (!line.isEmpty()) lines << line;
      line.clear();
      for (QChar c : word) {
        if (!line.isEmpty() && fm.horizontalAdvance(line + c) > width) {
          lines << line;
          line.clear();
        }
        line += c;
      }
    }
    lines << line;
  }
  return lines;
}

}  // namespace

void createTextCanvas(TextCanvas& canvas, bool colourTextures) {
  canvas.exists = true;
  canvas.colour = colourTextures;
}

void deleteTextCanvas(TextCanvas& canvas) {
  canvas.exists = false;
  canvas.fonts.clear();
}

const CanvasFont* canvasFont(TextCanvas& canvas, int weight, bool italic, int height) {
  if (weight == 0) weight = 400;
  for (const CanvasFont& f : canvas.fonts)
    if (f.weight == weight && f.italic == italic && f.height == height) return &f;
  if (static_cast<int>(canvas.fonts.size()) >= kCanvasFontCacheSize) return nullptr;
  CanvasFont entry;
  entry.weight = weight;
  entry.italic = italic;
  entry.height = height;
  entry.font = makeFont(weight, italic, height, {});
  if (QFontInfo(entry.font).family().isEmpty()) entry.font = makeFont(weight, italic, height, "Arial");
  if (QFontInfo(entry.font).family().isEmpty()) return nullptr;
  const QFontMetrics fm(entry.font);
  entry.charHeight = fm.height();
  entry.charWidth = fm.averageCharWidth();
  canvas.fonts.push_back(entry);
  return &canvas.fonts.back();
}

std::vector<uint8_t> renderCanvasText(TextCanvas& canvas, const std::string& text) {
  if (!canvas.exists) return {};
  const CanvasFont* font = canvasFont(canvas, 400, false, 40);
  if (!font) return {};
  QImage image(kCanvasSize, kCanvasSize, canvas.colour ? QImage::Format_RGB888 : QImage::Format_Grayscale8);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.setFont(font->font);
    p.setPen(Qt::black);
    const QFontMetrics fm(font->font);
    int y = 5;
    for (const QString& line : wrap(QString::fromLatin1(text.c_str()), fm, kCanvasSize - 5)) {
      if (y >= kCanvasSize) break;
      p.drawText(5, y + fm.ascent(), line);
      y += fm.height();
    }
  }
  std::vector<uint8_t> out;
  if (canvas.colour) {
    out.resize(size_t{kCanvasSize} * kCanvasSize * 3);
    for (int row = 0; row < kCanvasSize; ++row)
      std::copy_n(image.constScanLine(row), kCanvasSize * 3, out.begin() + size_t(row) * kCanvasSize * 3);
  } else {
    constexpr int kRowBytes = kCanvasSize / 8;
    out.assign(size_t{kCanvasSize} * kRowBytes, 0);
    for (int row = 0; row < kCanvasSize; ++row) {
      const uchar* src = image.constScanLine(row);
      for (int x = 0; x < kCanvasSize; ++x)
        if (src[x] < 128) out[size_t(row) * kRowBytes + x / 8] |= uint8_t(0x80u >> (x % 8));
    }
  }
  return out;
}

}  // namespace vlm::render
