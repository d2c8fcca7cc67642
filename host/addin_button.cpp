#include "host/addin_button.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QTimer>

namespace vlm::host {
namespace {

constexpr QRgb kFace = 0xFFC0C0C0;    // the control face
constexpr QRgb kShadow = 0xFF808080;  // its shadow
constexpr QRgb kLight = 0xFFDFDFDF;   // its light edge

}  // namespace

QImage addinButtonFace() {
  QImage face(16, 16, QImage::Format_RGB32);
  face.fill(kFace);
  QPainter p(&face);
  // A floor lattice in perspective.
  p.setPen(QColor::fromRgb(kShadow));
  p.drawLine(1, 14, 14, 14);
  p.drawLine(3, 11, 12, 11);
  p.drawLine(1, 14, 4, 8);
  p.drawLine(14, 14, 11, 8);
  p.drawLine(7, 14, 7, 8);
  // Three objects of different heights, each with a light edge on top.
  struct Bar {
    int x, top;
    QRgb colour;
  };
  for (const Bar& bar : {Bar{2, 7, 0xFFD02020}, Bar{6, 3, 0xFF2060D0}, Bar{10, 5, 0xFF20A040}}) {
    p.fillRect(bar.x, bar.top, 3, 13 - bar.top, QColor::fromRgb(bar.colour));
    p.setPen(QColor::fromRgb(kLight));
    p.drawLine(bar.x, bar.top, bar.x + 2, bar.top);
  }
  return face;
}

QImage withSystemColours(const QImage& face, const QPalette& palette) {
  QImage mapped = face.convertToFormat(QImage::Format_RGB32);
  const QRgb button = palette.color(QPalette::Active, QPalette::Button).rgb();
  const QRgb dark = palette.color(QPalette::Active, QPalette::Dark).rgb();
  const QRgb light = palette.color(QPalette::Active, QPalette::Midlight).rgb();
  for (int y = 0; y < mapped.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(mapped.scanLine(y));
    for (int x = 0; x < mapped.width(); ++x) {
      if (line[x] == kFace)
        line[x] = button;
      else if (line[x] == kShadow)
        line[x] = dark;
      else if (line[x] == kLight)
        line[x] = light;
    }
  }
  return mapped;
}

bool putButtonImageOnClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  const QImage image = withSystemColours(addinButtonFace(), QApplication::palette());
  clipboard->setImage(image);
  return !clipboard->image().isNull();
}

int offerClipboardUntilTaken() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  // A clipboard the system keeps (or one a clipboard manager already took)
  // needs nobody to wait.
  if (!clipboard->ownsClipboard()) return 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [clipboard] {
    if (!clipboard->ownsClipboard()) QCoreApplication::quit();
  });
  poll.start(200);
  return QCoreApplication::exec();
}

}  // namespace vlm::host
