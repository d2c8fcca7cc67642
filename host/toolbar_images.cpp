#include "host/toolbar_images.h"

#include <QPainter>
#include <QPixmap>

namespace vlm::host {
namespace {

struct Glyph {
  const char* letter;
  QRgb colour;
};

Glyph glyphOf(int index) {
  switch (index) {
    case 0: return {"O", 0xFFD8A000};
    case 1: return {"S", 0xFF2060C0};
    case 2: return {"X", 0xFFC02020};
    case 3: return {"A", 0xFF902020};
    case 4: return {"L", 0xFF208040};
    case 5: return {"E", 0xFF107030};
    case 6: return {"L", 0xFF107030};
    case 7: return {"?", 0xFF40A040};
    case 8: return {"\xCE\xA3", 0xFF6040A0};
    case 9: return {"#", 0xFF606060};
    case 10: return {"T", 0xFFA0A0A0};
    case 11: return {"T", 0xFF4080C0};
    case 12: return {"T", 0xFF2050A0};
    case 13: return {"~", 0xFF2080D0};
    case 14: return {"\xE2\x8C\x82", 0xFF805020};
    case 15: return {"\xC2\xB7", 0xFF3070B0};
    case 16: return {"|", 0xFF3070B0};
    case 17: return {"\xE2\x96\xA6", 0xFF3070B0};
    default: return {"", 0xFF808080};
  }
}

}  // namespace

QIcon toolbarImage(int index) {
  QPixmap pixmap(18, 18);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const Glyph g = glyphOf(index);
  p.setBrush(QColor::fromRgba(g.colour));
  p.setPen(QColor(40, 40, 40));
  p.drawRoundedRect(QRectF(1.5, 1.5, 15, 15), 3, 3);
  QFont font = p.font();
  font.setPixelSize(12);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, 18, 18), Qt::AlignCenter, QString::fromUtf8(g.letter));
  return QIcon(pixmap);
}

}  // namespace vlm::host
